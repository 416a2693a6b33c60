// Path helpers over POSIX calls.
#include "platform/paths.h"

#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

std::string native_path(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

static size_t last_separator(std::string_view path) { return path.find_last_of("/\\"); }

std::string last_path_component(std::string_view path) {
    const size_t at = last_separator(path);
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string directory_part(std::string_view path) {
    const size_t at = last_separator(path);
    if (at == std::string_view::npos) return {};
    return std::string(at == 0 ? path.substr(0, 1) : path.substr(0, at));
}

std::string join_path(std::string_view dir, std::string_view name) {
    if (dir.empty()) return std::string(name);
    std::string result(dir);
    if (result.back() != '/') result += '/';
    result += name;
    return result;
}

std::string absolute_path(std::string_view path) {
    if (!path.empty() && path[0] == '/') return std::string(path);
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return std::string(path);
    return join_path(cwd, path);
}

std::string temporary_folder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? std::string(folder) : std::string("/tmp");
}

std::string executable_directory() {
    char target[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0) return {};
    return directory_part(std::string_view(target, static_cast<size_t>(length)));
}
