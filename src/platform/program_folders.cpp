// The program's folders: found from its own location and the XDG environment, never written
// under the install prefix.
#include "platform/program_folders.h"

#include <errno.h>
#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"

namespace {

ProgramFolders entered;
bool has_entered = false;

bool is_folder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool holds_runtime_files(const std::string& dir) {
    return is_folder(join_path(dir, "images")) && is_folder(join_path(dir, "help"));
}

std::string resolved(const std::string& path) {
    char real[PATH_MAX];
    return realpath(path.c_str(), real) ? std::string(real) : path;
}

std::string home_folder() {
    const char* home = getenv("HOME");
    if (home && *home) return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? std::string(user->pw_dir) : temporary_folder();
}

ProgramFolders portable(const std::string& dir) { return {false, dir, dir, dir}; }

ProgramFolders installed(const std::string& runtime) {
    return {true, runtime, join_path(xdg_folder("XDG_DATA_HOME", ".local/share"), "zemo"),
            join_path(xdg_folder("XDG_CONFIG_HOME", ".config"), "zemo")};
}

}  // namespace

ProgramFolders locate_program_folders(const std::string& program_dir, const std::string& executable_dir) {
    if (holds_runtime_files(program_dir)) {
        return access(program_dir.c_str(), W_OK) == 0 ? portable(program_dir) : installed(program_dir);
    }
    const std::string shared = resolved(join_path(executable_dir, "../share/zemo"));
    if (!executable_dir.empty() && holds_runtime_files(shared)) return installed(shared);
    return portable(program_dir);
}

std::string xdg_folder(const char* variable, const char* home_relative) {
    const char* value = getenv(variable);
    // The XDG rules ignore a relative value.
    if (value && value[0] == '/') return value;
    return join_path(home_folder(), home_relative);
}

bool make_folders(const std::string& path) {
    if (path.empty() || is_folder(path)) return !path.empty();
    const std::string parent = directory_part(path);
    if (!parent.empty() && parent != path && !make_folders(parent)) return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

bool enter_program_directory(const char* argv0) {
    const std::string executable_dir = executable_directory();
    std::string dir = argv0 ? directory_part(argv0) : std::string();
    if (dir.empty()) dir = executable_dir;
    if (dir.empty() || !is_folder(dir)) return false;
    ProgramFolders folders = locate_program_folders(absolute_path(dir), executable_dir);
    if (folders.installed && !make_folders(folders.work)) return false;
    if (chdir(folders.work.c_str()) != 0) return false;
    // The absolute form of what was entered, without "." or "..".
    char cwd[PATH_MAX];
    if (!folders.installed && getcwd(cwd, sizeof cwd)) folders = portable(cwd);
    entered = folders;
    has_entered = true;
    return true;
}

const ProgramFolders& program_folders() {
    if (!has_entered) {
        const std::string dir = executable_directory();
        entered = locate_program_folders(dir, dir);
        has_entered = true;
    }
    return entered;
}

const std::string& program_directory() { return program_folders().work; }

// Run from the build folder, the working directory is the run-time folder, and paths stay relative
// as they always were.
std::string runtime_path(const std::string& relative) {
    const ProgramFolders& folders = program_folders();
    return folders.installed ? join_path(folders.runtime, native_path(relative)) : native_path(relative);
}
