// Opening files for reading that are what a reader can handle: regular files, never a FIFO or a
// device, which could block the program or feed it without end.
#pragma once

#include <cstdio>
#include <string>

// The reason given for a path that names a FIFO, a device, a socket or a folder.
extern const char* const NOT_A_REGULAR_FILE;

// Opens `path` for reading in binary mode. When it cannot be opened, or is not a regular file,
// returns nullptr and sets `reason` ("not a regular file", or the system's reason).
FILE* open_regular_file(const std::string& path, std::string& reason);

// Reads the rest of `file` into `text`, refusing more than `most_bytes`; false with the reason
// otherwise. The file is not closed.
bool read_bounded(FILE* file, size_t most_bytes, std::string& text, std::string& reason);

enum class FileRead {
    done,
    cannot_open,  // missing, or not to be read by this user
    refused,      // not a regular file, larger than allowed, or a read failed
};
// Both: the whole regular file at `path`, the reason set unless done.
FileRead read_regular_file(const std::string& path, size_t most_bytes, std::string& text, std::string& reason);
