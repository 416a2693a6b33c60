// Paths on this system: the relative paths the program uses are written with "/", and the last
// component of a path is found after either separator, so names from Windows show the same.
#pragma once

#include <string>
#include <string_view>

// A relative path written with backslashes ("gplot\order.gnu") in this system's form.
std::string native_path(std::string_view path);

// The text after the last "/" or "\", whichever comes last; the whole text when there is neither.
std::string last_path_component(std::string_view path);

// The text before the last separator; empty when there is none.
std::string directory_part(std::string_view path);

// dir and name joined with "/"; name alone when dir is empty.
std::string join_path(std::string_view dir, std::string_view name);

// The path made absolute against the current working directory (no symlinks resolved).
std::string absolute_path(std::string_view path);

// The user's temporary folder: $TMPDIR when it is set, else /tmp.
std::string temporary_folder();

// The directory that holds the running executable.
std::string executable_directory();

// Makes the program's working folder the working directory: the directory part of argv0, or, when
// argv0 has none (started through PATH), the executable's directory; when installed, the user's
// data folder, created when missing (see program_folders.h). False on failure.
bool enter_program_directory(const char* argv0);

// The working folder entered by enter_program_directory, else the one located from the executable.
const std::string& program_directory();
