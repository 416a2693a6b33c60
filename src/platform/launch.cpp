// Fire-and-forget launches by double fork: the grandchild runs the command in a session of its
// own and is adopted by init, and the child is reaped at once, so no zombie is left.
#include "platform/launch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/paths.h"

static std::function<void(const std::string&)> launch_recorder;

void set_launch_recorder(std::function<void(const std::string&)> recorder) { launch_recorder = std::move(recorder); }

static std::string shell_quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A first word that names a file beside the program runs that file, as a script when it is
// not executable.
static std::string resolve_command(const std::string& command, const std::string& dir) {
    const size_t end = command.find_first_of(" \t");
    const std::string first = command.substr(0, end);
    if (first.empty() || first.find('/') != std::string::npos) return command;
    const std::string path = join_path(dir, first);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return command;
    const std::string rest = end == std::string::npos ? std::string() : command.substr(end);
    const std::string runner = access(path.c_str(), X_OK) == 0 ? "" : "/bin/sh ";
    return runner + shell_quote(path) + rest;
}

void launch_detached(const std::string& command) {
    if (launch_recorder) {
        launch_recorder(command);
        return;
    }
    const std::string dir = program_directory();
    const std::string resolved = resolve_command(command, dir);
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        if (fork() != 0) _exit(0);
        setsid();
        if (chdir(dir.c_str()) != 0) _exit(127);
        const int null_input = open("/dev/null", O_RDONLY);
        if (null_input >= 0) dup2(null_input, STDIN_FILENO);
        close_range(STDERR_FILENO + 1, ~0U, 0);
        execl("/bin/sh", "sh", "-c", resolved.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}
