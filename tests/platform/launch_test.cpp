// Launches: argument vectors reach the program intact with no shell in between,
// they run in the folder asked for (the program's directory by default), find scripts beside the
// program, return at once and leave no zombie; watched launches hand their exit status back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "platform/launch.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace {

bool wait_for_file(const std::string& path) {
    return wait_until([&] { return std::filesystem::exists(path) && !read_file(path).empty(); }, std::chrono::seconds(5));
}

// Each word followed by a zero byte, as the probe script writes its arguments.
std::string zero_separated(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += word + '\0';
    return text;
}

}  // namespace

TEST(LaunchDetached, RecorderReceivesTheExactVectorAndFolder) {
    std::vector<LaunchRequest> launched;
    set_launch_recorder([&](const LaunchRequest& launch) { launched.push_back(launch); });
    launch_detached({"gp.bat"});
    launch_detached({"iv.bat", "15", "/v/out file.avi", "1", "MJPG", "100"}, "/tmp/frames");
    launch_detached({});  // nothing to run, nothing recorded
    set_launch_recorder(nullptr);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], (LaunchRequest{{"gp.bat"}, program_directory()}));
    EXPECT_EQ(launched[1], (LaunchRequest{{"iv.bat", "15", "/v/out file.avi", "1", "MJPG", "100"}, "/tmp/frames"}));
}

TEST(LaunchDetached, RunsInItsFolderAndLeavesNoZombie) {
    TempDir dir;
    const std::string script = "sleep 0.3; pwd > \"$1\"";
    const auto start = std::chrono::steady_clock::now();
    launch_detached({"/bin/sh", "-c", script, "sh", dir.path("default.txt")});
    launch_detached({"/bin/sh", "-c", script, "sh", dir.path("given.txt")}, dir.dir);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << "it waited";
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);  // no child left to reap
    EXPECT_EQ(errno, ECHILD);
    ASSERT_TRUE(wait_for_file(dir.path("default.txt")));
    ASSERT_TRUE(wait_for_file(dir.path("given.txt")));
    EXPECT_EQ(read_file(dir.path("default.txt")), program_directory() + "\n");
    EXPECT_EQ(read_file(dir.path("given.txt")), dir.dir + "\n");
}

// A probe beside the program writes each argument it gets; names full of shell syntax arrive
// as they are and nothing in them runs, whether the probe is run through sh or by itself.
TEST(LaunchDetached, EveryArgumentReachesAScriptBesideTheProgramIntact) {
    TempDir dir;
    const std::string script = program_directory() + "/zemo-launch-probe.bat";
    const std::vector<std::string> names = {
        "with space.idf", "double\"quote", "single'quote", "a;touch INJECTED;b.idf", "$(touch INJECTED)",
        "`touch INJECTED`", "paren(.idf", "new\nline.idf", "-leading-dash", "$HOME", ""};
    std::vector<std::string> argv = {"zemo-launch-probe.bat", dir.path("args")};
    argv.insert(argv.end(), names.begin(), names.end());
    write_file(script, "#!/bin/sh\nout=$1\nshift\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$out.part\"\n"
                       "mv \"$out.part\" \"$out\"\n");
    for (const bool executable : {false, true}) {
        SCOPED_TRACE(executable ? "executable" : "not executable, run by sh");
        chmod(script.c_str(), executable ? 0755 : 0644);
        std::filesystem::remove(dir.path("args"));
        launch_detached(argv, dir.dir);
        ASSERT_TRUE(wait_for_file(dir.path("args")));
        EXPECT_EQ(read_file(dir.path("args")), zero_separated(names));
        EXPECT_FALSE(std::filesystem::exists(dir.path("INJECTED")));
    }
    std::filesystem::remove(script);
}

// A watched launch returns at once with a child of its own, whose exit status the caller
// collects; a program that cannot be run ends with 127; a recorder takes the launch instead.
TEST(LaunchWatched, ReturnsAtOnceAndTheCallerCollectsTheExitStatus) {
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = launch_watched({"/bin/sh", "-c", "sleep 0.3; pwd > where.txt; exit 3"}, dir.dir);
    ASSERT_GT(child, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << "it waited";
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(read_file(dir.path("where.txt")), dir.dir + "\n");

    const pid_t missing = launch_watched({"zemo-no-such-program"}, dir.dir);
    ASSERT_GT(missing, 0);
    ASSERT_EQ(waitpid(missing, &status, 0), missing);
    EXPECT_EQ(WEXITSTATUS(status), 127);

    std::vector<LaunchRequest> launched;
    set_launch_recorder([&](const LaunchRequest& launch) { launched.push_back(launch); });
    EXPECT_EQ(launch_watched({"gp.bat"}, dir.dir), -1);
    set_launch_recorder(nullptr);
    EXPECT_EQ(launched, (std::vector<LaunchRequest>{{{"gp.bat"}, dir.dir}}));
}
