// Fire-and-forget launches: they run in the program's directory, find scripts beside the
// program, return at once and leave no zombie.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/launch.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace {

bool wait_for_file(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(path) && !read_file(path).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

}  // namespace

TEST(LaunchDetached, RecorderReceivesTheExactCommandLine) {
    std::vector<std::string> launched;
    set_launch_recorder([&](const std::string& command) { launched.push_back(command); });
    launch_detached("gp.bat");
    launch_detached("iv.bat \"out file.avi\" 15 1 mpeg4 100");
    set_launch_recorder(nullptr);
    EXPECT_EQ(launched, (std::vector<std::string>{"gp.bat", "iv.bat \"out file.avi\" 15 1 mpeg4 100"}));
}

TEST(LaunchDetached, RunsInTheProgramDirectoryAndLeavesNoZombie) {
    TempDir dir;
    const std::string marker = dir.path("pwd.txt");
    const auto start = std::chrono::steady_clock::now();
    launch_detached("sleep 0.3; pwd > '" + marker + "'");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << "it waited";
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);  // no child left to reap
    EXPECT_EQ(errno, ECHILD);
    ASSERT_TRUE(wait_for_file(marker));
    EXPECT_EQ(read_file(marker), program_directory() + "\n");
}

TEST(LaunchDetached, RunsAScriptThatLiesBesideTheProgram) {
    TempDir dir;
    const std::string marker = dir.path("args.txt");
    const std::string script = program_directory() + "/zemo-launch-probe.bat";
    write_file(script, "#!/bin/sh\necho \"$1 $2\" > '" + marker + "'\n");  // not executable: run by sh
    launch_detached("zemo-launch-probe.bat first second");
    const bool ran = wait_for_file(marker);
    std::filesystem::remove(script);
    ASSERT_TRUE(ran);
    EXPECT_EQ(read_file(marker), "first second\n");
}
