// Starting external programs and scripts from an argument vector, never through a shell, so
// every file name reaches the program as one argument whatever characters it holds.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// One launch as the recorder sees it: the argument vector and the folder it runs in.
struct LaunchRequest {
    std::vector<std::string> argv;
    std::string folder;
    bool operator==(const LaunchRequest&) const = default;
};

// Runs argv[0] with the arguments argv[1..] in `folder` (the program's folder when empty) and
// returns at once, leaving no zombie. When argv[0] has no "/" and names a file in the program's
// folder, that file is run, through /bin/sh when it is not executable; otherwise argv[0] is
// looked up in PATH. An empty vector launches nothing. The result of the launch is not looked at.
void launch_detached(const std::vector<std::string>& argv, const std::string& folder = {});

// Runs argv as launch_detached does, as a child of this process that the caller watches: returns
// its process id at once, and the caller collects its exit status (waitpid, or a child watch of
// the main loop) so that no zombie is left. The program runs in a session of its own. Returns -1
// when no process could be made, or when a recorder took the launch. An exit status of 127 means
// the program could not be run.
pid_t launch_watched(const std::vector<std::string>& argv, const std::string& folder = {});

// Runs argv as launch_detached does, but waits for it and is never recorded. Returns the
// program's exit code (127 when it could not be run, as the shell says), or -1 when no process
// could be made or the program did not exit normally.
int run_and_wait(const std::vector<std::string>& argv, const std::string& folder = {});

// While a recorder is set, launches go to it instead of starting anything (for tests); the
// folder it receives is the one the program would run in.
void set_launch_recorder(std::function<void(const LaunchRequest& launch)> recorder);
