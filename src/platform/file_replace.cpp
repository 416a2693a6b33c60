// Temporary file, flush, fsync, rename: the target is either the old file or the complete new one.
#include "platform/file_replace.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"

static std::string reason(const std::string& what, int error) { return what + ": " + std::strerror(error); }

std::string replace_file(const std::string& target, const std::string& temp_name,
                         const std::function<bool(FILE*)>& write) {
    std::string real_target = target;
    char resolved[PATH_MAX];
    if (realpath(target.c_str(), resolved)) real_target = resolved;
    struct stat existing {};
    const bool exists = stat(real_target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return reason("cannot write " + target, EISDIR);

    const std::string temp = join_path(directory_part(real_target), temp_name);
    FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out) return reason("cannot create " + temp, errno);
    errno = 0;
    bool ok = write(out);
    int error = errno;
    if (ok && std::fflush(out) != 0) ok = false, error = errno;
    if (ok && fsync(fileno(out)) != 0) ok = false, error = errno;
    if (ok && exists) fchmod(fileno(out), existing.st_mode & 07777);
    if (std::fclose(out) != 0 && ok) ok = false, error = errno;
    if (!ok) {
        std::remove(temp.c_str());
        return reason("writing " + temp + " failed", error ? error : EIO);
    }
    if (std::rename(temp.c_str(), real_target.c_str()) != 0) {
        error = errno;
        std::remove(temp.c_str());
        return reason("cannot replace " + target, error);
    }
    return {};
}
