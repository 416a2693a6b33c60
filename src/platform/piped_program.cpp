// fork and exec with a pipe to the child's standard input.
#include "platform/piped_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int PIPE_BUFFER_BYTES = 1 << 20;  // the most an unprivileged process may ask for

int wait_for(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

PipedProgram::~PipedProgram() { stop(); }

bool PipedProgram::start(const std::vector<std::string>& argv, const std::string& error_file, std::string& error) {
    if (argv.empty() || running()) {
        error = "nothing to run";
        return false;
    }
    // A program that ends early must fail the write, not end this one.
    signal(SIGPIPE, SIG_IGN);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const char* output = error_file.empty() ? "/dev/null" : error_file.c_str();
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        dup2(fds[0], STDIN_FILENO);
        const int out = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        signal(SIGPIPE, SIG_DFL);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[0]);
    // A large pipe lets this side draw the next frame while the program takes in the last one.
    fcntl(fds[1], F_SETPIPE_SZ, PIPE_BUFFER_BYTES);
    pid_ = pid;
    input_ = fds[1];
    return true;
}

bool PipedProgram::write(const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0 && input_ >= 0) {
        const ssize_t n = ::write(input_, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return size == 0;
}

int PipedProgram::finish() {
    if (input_ >= 0) close(input_);
    input_ = -1;
    if (pid_ <= 0) return -1;
    const int code = wait_for(pid_);
    pid_ = -1;
    return code;
}

void PipedProgram::stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    finish();
}
