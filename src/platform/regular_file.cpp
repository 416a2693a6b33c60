// The file is looked at before it is opened, so that opening a device has no effect, and again
// once open, in case it was replaced in between; O_NONBLOCK keeps a FIFO from blocking the open.
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

const char* const NOT_A_REGULAR_FILE = "not a regular file";

FILE* open_regular_file(const std::string& path, std::string& reason) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = NOT_A_REGULAR_FILE;
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        reason = NOT_A_REGULAR_FILE;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        reason = std::strerror(errno);
        close(fd);
    }
    return file;
}

bool read_bounded(FILE* file, size_t most_bytes, std::string& text, std::string& reason) {
    text.clear();
    char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (text.size() + got > most_bytes) {
            reason = "larger than " + std::to_string(most_bytes) + " bytes, more than such a file holds";
            return false;
        }
        text.append(chunk, got);
    }
    if (std::ferror(file)) {
        reason = std::strerror(errno ? errno : EIO);
        return false;
    }
    return true;
}

FileRead read_regular_file(const std::string& path, size_t most_bytes, std::string& text, std::string& reason) {
    FILE* file = open_regular_file(path, reason);
    if (!file) return reason == NOT_A_REGULAR_FILE ? FileRead::refused : FileRead::cannot_open;
    const bool ok = read_bounded(file, most_bytes, text, reason);
    std::fclose(file);
    return ok ? FileRead::done : FileRead::refused;
}
