// Where the program finds the files it ships with and where it writes: everything beside the
// executable when it runs from its build folder (portable), the user's XDG folders when installed.
#pragma once

#include <string>

struct ProgramFolders {
    bool installed = false;
    std::string runtime;  // scripts, images/, help/, rules/, codecs.dat, samples/: only read
    std::string work;     // the working directory: gplot/, the default video
    std::string config;   // zemo.ini and the list of recent captures
};

// The folders of a program started from program_dir (argv[0]'s directory, or the executable's)
// whose executable lies in executable_dir. Portable when program_dir holds images/ and help/ and
// may be written; installed when it holds them read-only, or when executable_dir/../share/zemo
// does; portable in program_dir when neither holds them. Creates nothing.
ProgramFolders locate_program_folders(const std::string& program_dir, const std::string& executable_dir);

// $variable when it holds an absolute path, else $HOME/home_relative (the XDG base folders).
std::string xdg_folder(const char* variable, const char* home_relative);

// Creates path and any missing parents (new folders private to the user). False on failure.
bool make_folders(const std::string& path);

// The folders entered by enter_program_directory, else those located from the executable.
const ProgramFolders& program_folders();

// A file shipped with the program ("images/font.tga"): its path in the run-time folder (relative to
// the working directory when portable).
std::string runtime_path(const std::string& relative);
