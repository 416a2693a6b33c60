// A program fed through a pipe to its standard input (ffmpeg taking raw video frames), run from
// an argument vector without a shell; the caller learns its exit status when the pipe closes.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

class PipedProgram {
public:
    PipedProgram() = default;
    ~PipedProgram();  // an unfinished program is stopped
    PipedProgram(const PipedProgram&) = delete;
    PipedProgram& operator=(const PipedProgram&) = delete;

    // Starts argv[0] (looked up in PATH) with its standard output and error going to
    // `error_file` (discarded when empty). False, with the reason, when it cannot be started.
    bool start(const std::vector<std::string>& argv, const std::string& error_file, std::string& error);
    // Writes all of it; false when the program no longer reads (it has ended or failed).
    bool write(const void* data, size_t size);
    // Closes the pipe and waits: the exit code, 127 when the program could not be run, -1 when it
    // did not exit normally.
    int finish();
    // Stops the program at once and waits for it.
    void stop();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int input_ = -1;
};
