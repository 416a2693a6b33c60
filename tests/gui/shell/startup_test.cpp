// The desktop program's start-up, run for real: it enters its own directory, runs the start-up
// script, opens the capture named on the command line and quits cleanly on SIGINT or SIGTERM.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "support/test_support.h"

namespace {

struct Started {
    pid_t pid;
    std::string out_path;
    std::string err_path;
};

// Starts build/zemo with the given argv[0] and argument, from the working directory `cwd`, on
// the test display or on `display`.
Started start_zemo(const TempDir& logs, const std::string& argv0, const std::string& argument, const std::string& cwd,
                   const std::string& display = "") {
    Started started{0, logs.path("out"), logs.path("err")};
    started.pid = fork();
    if (started.pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(126);
        if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
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
    int status = 0;
    if (wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(10))) {
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

bool still_running(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

// The output of a command run on `display` (the test display when empty).
std::string run_on(const std::string& display, const std::string& command) {
    std::string out;
    run_command((display.empty() ? "" : "DISPLAY=" + display + " ") + command, &out);
    return out;
}

// The id of a shown window of the program (of the process `pid` when given: other programs may
// share the test display) with this title, waiting up to ten seconds; empty when none came.
std::string window_titled(const std::string& display, const std::string& title, pid_t pid = 0) {
    const std::string search = pid ? "--pid " + std::to_string(pid) : "--classname zemo";
    std::string found;
    wait_until(
        [&] {
            std::istringstream ids(run_on(display, "xdotool search --onlyvisible " + search));
            for (std::string id; ids >> id;) {
                if (run_on(display, "xdotool getwindowname " + id) == title + "\n") found = id;
            }
            return !found.empty();
        },
        // Each look is a few X clients: a pace the test display keeps up with.
        std::chrono::seconds(10), std::chrono::milliseconds(100));
    return found;
}

// An X server of the test's own without the GLX extension.
struct ServerWithoutGl : PrivateXServer {
    ServerWithoutGl() : PrivateXServer({"-extension", "GLX"}) {}

    std::string run(const std::string& command) const { return run_on(display, command); }
    std::string window_titled(const std::string& title) const { return ::window_titled(display, title); }
};

// The pixels of a window as RGB rows, read from a screenshot in PPM.
std::string screenshot(const ServerWithoutGl& server, const std::string& window, int& width, int& height) {
    std::istringstream ppm(server.run("import -window " + window + " -depth 8 ppm:-"));
    std::string magic;
    int depth = 0;
    ppm >> magic >> width >> height >> depth;
    ppm.get();
    return std::string(std::istreambuf_iterator<char>(ppm), {});
}

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
    // The main window comes up once the capture has been read; the start-up script runs beside it.
    EXPECT_FALSE(window_titled("", " ZEMO v.1.2", zemo.pid).empty()) << read_file(zemo.err_path);
    EXPECT_TRUE(wait_until([] { return std::filesystem::is_directory(build_path("gplot")); }, std::chrono::seconds(10)))
        << "ic.bat did not run";
    ASSERT_TRUE(still_running(zemo.pid)) << read_file(zemo.err_path);
    kill(zemo.pid, SIGTERM);
    EXPECT_EQ(wait_exit(zemo.pid), 0);
    EXPECT_EQ(read_file(zemo.err_path).find("Error"), std::string::npos);  // the capture was found and read
}

TEST_F(StartupTest, QuitsCleanlyWhileABadCaptureMessageIsShown) {
    const std::string bad = logs.path("bad.idf");
    write_file(bad, "INFORMATION_SECTION\nNUM_DATA: 5\n");
    const Started zemo = start_zemo(logs, build_path("zemo"), bad, "/");
    // The box has no title.
    EXPECT_FALSE(window_titled("", "", zemo.pid).empty()) << read_file(zemo.err_path);
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

TEST_F(StartupTest, WithoutOpenGLItStartsWithTheMessageAndALabelInPlaceOfTheView) {
    const ServerWithoutGl server;
    ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
    // The pointer out of the way, so no tooltip covers the window.
    ASSERT_EQ(run_command("DISPLAY=" + server.display + " xdotool mousemove 1020 760"), 0);
    const Started zemo = start_zemo(logs, build_path("zemo"), "", "/", server.display);
    // The message box (it has no title) is up over the splash.
    const std::string box = server.window_titled("");
    ASSERT_FALSE(box.empty()) << "on " << server.display << (still_running(server.pid) ? "" : " (the server has gone)")
                              << ": " << read_file(zemo.err_path);
    server.run("xdotool key --window " + box + " Return");
    const std::string main_window = server.window_titled(" ZEMO v.1.2");
    ASSERT_FALSE(main_window.empty());
    EXPECT_TRUE(still_running(zemo.pid));
    // The label's text (grey: the view is insensitive without a file) is the only thing darker
    // than the window's background in the view's frame, between the toolbar, the playback buttons
    // and the editing notebook.
    int dark = 0;
    size_t wrong_size = 0;
    wait_until(
        [&] {
            int width = 0, height = 0;
            const std::string pixels = screenshot(server, main_window, width, height);
            if (pixels.size() != static_cast<size_t>(width) * height * 3) {
                wrong_size = pixels.size();
                return true;
            }
            dark = 0;
            for (int y = 110; y < std::min(290, height); ++y) {
                for (int x = 70; x < std::min(455, width); ++x) {
                    const size_t at = (static_cast<size_t>(y) * width + x) * 3;
                    dark += static_cast<unsigned char>(pixels[at + 1]) < 180;
                }
            }
            return dark >= 50;
        },
        std::chrono::seconds(2));
    ASSERT_EQ(wrong_size, 0u) << "the screenshot is not the window's size";
    EXPECT_GE(dark, 50) << "no label in place of the view";
    kill(zemo.pid, SIGTERM);
    EXPECT_EQ(wait_exit(zemo.pid), 0);
    EXPECT_EQ(read_file(zemo.err_path).find("cannot open the display"), std::string::npos);
}
