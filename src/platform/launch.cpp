// Launches by fork and exec with no shell in between. Fire-and-forget launches fork twice: the
// grandchild runs the program in a session of its own and is adopted by init, and the child is
// reaped at once, so no zombie is left. Watched launches fork once and leave the reaping, and
// with it the exit status, to the caller.
#include "platform/launch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/paths.h"
#include "platform/program_folders.h"

namespace {

std::function<void(const LaunchRequest&)> launch_recorder;

// Everything the new process needs, prepared before the fork so that the child only calls
// what is safe between fork and exec.
struct PreparedLaunch {
    std::vector<std::string> words;
    std::vector<char*> argv;
    std::string folder;
    bool search_path = false;
};

// A command word that names a file beside the program runs that file (as the Windows launcher
// finds programs beside the executable) from the run-time folder, as a script when it is not executable.
std::vector<std::string> resolve_program(const std::vector<std::string>& argv) {
    const std::string& program = argv[0];
    if (program.empty() || program.find('/') != std::string::npos) return argv;
    const std::string path = join_path(program_folders().runtime, program);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return argv;
    std::vector<std::string> resolved;
    if (access(path.c_str(), X_OK) != 0) resolved.push_back("/bin/sh");
    resolved.push_back(path);
    resolved.insert(resolved.end(), argv.begin() + 1, argv.end());
    return resolved;
}

PreparedLaunch prepare(const std::vector<std::string>& argv, const std::string& folder) {
    PreparedLaunch launch;
    launch.words = resolve_program(argv);
    for (std::string& word : launch.words) launch.argv.push_back(word.data());
    launch.argv.push_back(nullptr);
    launch.folder = folder;
    launch.search_path = launch.words[0].find('/') == std::string::npos;
    return launch;
}

// In the forked child: standard input from /dev/null, no descriptor of the program's own
// inherited, then the program itself. Only returns by exiting.
[[noreturn]] void exec_prepared(const PreparedLaunch& launch) {
    if (chdir(launch.folder.c_str()) != 0) _exit(127);
    const int null_input = open("/dev/null", O_RDONLY);
    if (null_input >= 0 && null_input != STDIN_FILENO) {
        dup2(null_input, STDIN_FILENO);
        close(null_input);
    }
    close_range(STDERR_FILENO + 1, ~0U, 0);
    if (launch.search_path) {
        execvp(launch.argv[0], launch.argv.data());
    } else {
        execv(launch.argv[0], launch.argv.data());
    }
    _exit(127);
}

int wait_for(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

std::string folder_or_program_directory(const std::string& folder) {
    return folder.empty() ? program_directory() : folder;
}

}  // namespace

void set_launch_recorder(std::function<void(const LaunchRequest&)> recorder) { launch_recorder = std::move(recorder); }

void launch_detached(const std::vector<std::string>& argv, const std::string& folder) {
    if (argv.empty()) return;
    const std::string where = folder_or_program_directory(folder);
    if (launch_recorder) {
        launch_recorder(LaunchRequest{argv, where});
        return;
    }
    const PreparedLaunch launch = prepare(argv, where);
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        if (fork() != 0) _exit(0);
        setsid();
        exec_prepared(launch);
    }
    wait_for(child);
}

pid_t launch_watched(const std::vector<std::string>& argv, const std::string& folder) {
    if (argv.empty()) return -1;
    const std::string where = folder_or_program_directory(folder);
    if (launch_recorder) {
        launch_recorder(LaunchRequest{argv, where});
        return -1;
    }
    const PreparedLaunch launch = prepare(argv, where);
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        setsid();
        exec_prepared(launch);
    }
    return child;
}

int run_and_wait(const std::vector<std::string>& argv, const std::string& folder) {
    if (argv.empty()) return -1;
    const PreparedLaunch launch = prepare(argv, folder_or_program_directory(folder));
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) exec_prepared(launch);
    const int status = wait_for(child);
    if (status < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
