// Temporary file, flush, fsync, then rename over the target, or a copy in place where a rename
// would lose something of the target (its links, its owner): the target is either the old file
// or the complete new one, and what is not a regular file is never replaced.
#include "platform/file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "platform/regular_file.h"

namespace {

// Numbered names tried after temp_name itself before giving up.
constexpr int MOST_TEMP_NAMES = 100;

std::string system_reason(int error) { return std::strerror(error); }

ReplaceFailure at_target(std::string reason) { return {std::move(reason), false}; }
ReplaceFailure at_temporary(std::string reason) { return {std::move(reason), true}; }

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

// A new file in `dir`: temp_name, else temp_name1, temp_name2..., so that a file of that name (a
// copy kept after an earlier failure, or a file of the user's) is never overwritten, and a link
// planted under that name is never followed.
int create_temporary(const std::string& dir, const std::string& temp_name, mode_t mode, std::string& path,
                     int& error) {
    for (int n = 0; n < MOST_TEMP_NAMES; ++n) {
        path = join_path(dir, n == 0 ? temp_name : temp_name + std::to_string(n));
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        error = errno;
        if (error != EEXIST) return -1;
    }
    return -1;
}

bool folder_refuses_new_files(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// Writes the whole stream and makes it durable; 0 or the error.
int write_complete(FILE* out, const std::function<bool(FILE*)>& write) {
    errno = 0;
    if (!write(out)) return errno ? errno : EIO;
    if (std::fflush(out) != 0 || fsync(fileno(out)) != 0) return errno ? errno : EIO;
    return 0;
}

void sync_folder(const std::string& path) {
    const std::string folder = directory_part(path);
    Descriptor dir{open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) fsync(dir.fd);
}

// 0 when the disk has room for `size` bytes of the target, checked before its first byte changes
// (the temporary copy may lie on another disk); else the error.
int room_for(int target_fd, off_t size) {
    if (size > 0 && fallocate(target_fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && (errno == ENOSPC || errno == EDQUOT)) {
        return errno;
    }
    return 0;
}

// Copies the complete temporary file over the target's content; 0 or the error.
int copy_content(int from, int to, off_t size) {
    if (lseek(to, 0, SEEK_SET) != 0) return errno;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return errno;
            done += put;
        }
    }
    if (ftruncate(to, size) != 0 || fsync(to) != 0) return errno;
    return 0;
}

ReplaceFailure copy_in_place(const std::string& temp, int target_fd, const std::string& target) {
    Descriptor from{open(temp.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (from.fd < 0 || fstat(from.fd, &info) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        return at_temporary("cannot read " + temp + ": " + system_reason(error));
    }
    if (const int error = room_for(target_fd, info.st_size)) {
        unlink(temp.c_str());
        return at_target(system_reason(error));
    }
    if (const int error = copy_content(from.fd, target_fd, info.st_size)) {
        // The target is damaged now; the temporary file is the user's complete copy.
        return at_target("writing " + target + " failed: " + system_reason(error) + "\n The complete file is kept as " +
                         temp);
    }
    unlink(temp.c_str());
    return {};
}

}  // namespace

ReplaceFailure replace_file(const std::string& target, const std::string& temp_name,
                            const std::function<bool(FILE*)>& write) {
    std::string real_target = target;
    char resolved[PATH_MAX];
    if (realpath(target.c_str(), resolved)) real_target = resolved;

    struct stat existing {};
    const bool exists = stat(real_target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return at_target(system_reason(errno));
    Descriptor target_file;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return at_target(system_reason(EISDIR));
        if (!S_ISREG(existing.st_mode)) return at_target(NOT_A_REGULAR_FILE);
        // Asked of the file itself, so the answer is the one a write in place would get.
        target_file.fd = open(real_target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (target_file.fd < 0) return at_target(system_reason(errno));
        if (fstat(target_file.fd, &existing) != 0 || !S_ISREG(existing.st_mode)) return at_target(NOT_A_REGULAR_FILE);
    }

    // A rename would give the other names of a hard-linked target the old content.
    bool in_place = exists && existing.st_nlink > 1;
    std::string temp;
    int error = 0;
    Descriptor temp_file{create_temporary(directory_part(real_target), temp_name, exists ? 0600 : 0666, temp, error)};
    if (temp_file.fd < 0 && exists && folder_refuses_new_files(error)) {
        std::string fallback;
        int fallback_error = 0;
        temp_file.fd = create_temporary(temporary_folder(), temp_name, 0600, fallback, fallback_error);
        if (temp_file.fd >= 0) temp = fallback, in_place = true;
    }
    if (temp_file.fd < 0) return at_temporary("cannot create " + temp + ": " + system_reason(error));

    FILE* out = fdopen(temp_file.fd, "wb");
    if (!out) {
        error = errno;
        unlink(temp.c_str());
        return at_temporary("cannot create " + temp + ": " + system_reason(error));
    }
    temp_file.fd = -1;  // the stream owns it now
    error = write_complete(out, write);
    if (!error && exists && !in_place) {
        // The renamed file must be the target's own: owner and group first (which clears set-id
        // bits), then the mode. An owner the user cannot give it means a copy in place instead.
        if (fchown(fileno(out), existing.st_uid, existing.st_gid) != 0) {
            in_place = true;
        } else {
            fchmod(fileno(out), existing.st_mode & 07777);
        }
    }
    if (std::fclose(out) != 0 && !error) error = errno ? errno : EIO;
    if (error) {
        unlink(temp.c_str());
        return at_temporary("writing " + temp + " failed: " + system_reason(error));
    }

    if (in_place) return copy_in_place(temp, target_file.fd, target);
    if (std::rename(temp.c_str(), real_target.c_str()) != 0) {
        error = errno;
        unlink(temp.c_str());
        return at_target("cannot replace " + target + ": " + system_reason(error));
    }
    sync_folder(real_target);
    return {};
}
