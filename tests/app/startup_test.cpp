// The desktop program's start-up, run for real: it enters its own directory, runs the start-up
// script, opens the capture named on the command line and quits cleanly on SIGINT or SIGTERM.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/test_support.h"

namespace {

struct Started {
    pid_t pid;
    std::string out_path;
    std::string err_path;
};

// Starts build/zemo with the given argv[0] and argument, from the working directory `cwd`.
Started start_zemo(const TempDir& logs, const std::string& argv0, const std::string& argument, const std::string& cwd) {
    Started started{0, logs.path("out"), logs.path("err")};
    started.pid = fork();
    if (started.pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(126);
        dup2(open(started.out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
        dup2(open(started.err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        const std::string program = build_path("zemo");
        if (argument.empty()) {
            execl(program.c_str(), argv0.c_str(), static_cast<char*>(nullptr));
        } else {
            execl(program.c_str(), argv0.c_str(), argument.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    return started;
}

// Waits up to ten seconds; the exit code, or -1 when it did not exit by itself.
int wait_exit(pid_t pid) {
    for (int i = 0; i < 400; ++i) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

bool still_running(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

struct StartupTest : ::testing::Test {
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (the test suite runs under Xvfb)";
    }
    TempDir logs;
};

}  // namespace

TEST_F(StartupTest, OpensARelativeCaptureAndQuitsOnSigterm) {
    std::filesystem::remove_all(build_path("gplot"));
    // Started from the build folder's parent with paths relative to it.
    const std::filesystem::path build = build_path("");
    const std::string parent = build.parent_path().parent_path().string();
    const std::string relative_build = build.parent_path().filename().string();
    const Started zemo = start_zemo(logs, relative_build + "/zemo", relative_build + "/samples/evart.idf", parent);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(still_running(zemo.pid)) << read_file(zemo.err_path);
    kill(zemo.pid, SIGTERM);
    EXPECT_EQ(wait_exit(zemo.pid), 0);
    EXPECT_EQ(read_file(zemo.err_path).find("Error"), std::string::npos);  // the capture was found and read
    EXPECT_TRUE(std::filesystem::is_directory(build_path("gplot"))) << "ic.bat did not run";
}

TEST_F(StartupTest, QuitsCleanlyWhileABadCaptureMessageIsShown) {
    const std::string bad = logs.path("bad.idf");
    write_file(bad, "INFORMATION_SECTION\nNUM_DATA: 5\n");
    const Started zemo = start_zemo(logs, build_path("zemo"), bad, "/");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(still_running(zemo.pid));
    kill(zemo.pid, SIGINT);
    EXPECT_EQ(wait_exit(zemo.pid), 0);
    // The message box was shown (and answered by the quit), not written to the terminal.
    EXPECT_EQ(read_file(zemo.err_path).find("Error opening file"), std::string::npos);
}

TEST_F(StartupTest, AWorkingDirectoryThatCannotBeSetEndsTheProgram) {
    const Started zemo = start_zemo(logs, "/no/such/folder/zemo", "", "/");
    EXPECT_EQ(wait_exit(zemo.pid), 1);
    EXPECT_EQ(read_file(zemo.out_path), "Error changing working directory\n");
}
