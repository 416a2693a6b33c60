// What a save may replace: never a FIFO, socket or device, never a file the user may not write;
// a file saved keeps its owner, group, mode and hard links.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "engine/formats/capture_io.h"
#include "engine/model/seams.h"
#include "engine/plot/plot_files.h"
#include "engine/plot/plot_items.h"
#include "engine/skeleton/skeleton_file.h"
#include "engine/plot/plot_test_support.h"
#include "support/test_support.h"

namespace {

constexpr uid_t NOBODY = 65534;
const std::string cli = build_path("zemo-cli");

double coordinate(int m, int f, int a) { return 100.0 * m + f - a; }

// Runs `work` in a child process as a user other than root (nobody when the tests run as root,
// as they do in CI); returns the child's exit code.
int as_ordinary_user(const std::function<int()>& work) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0)) _exit(99);
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

struct SaveTargets : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    std::string folder = dir.path("work");

    void SetUp() override {
        std::filesystem::create_directory(folder);
        write_file(folder + "/walk.idf", make_idf_text(60, 3, 20, coordinate));
        ASSERT_EQ(idf_read(folder + "/walk.idf"), 0);
        app.channels[1].samples[4].y = -5.5;  // an edit to save
        plot_items.clear();
        plot_append_item(make_plot_item(app, app.current_layer, 0, 0, app.num_frames - 1, "A", 2, false, false));
    }
    void TearDown() override { plot_items.clear(); }

    bool no_temporary_file() const {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().filename().string().rfind("#temporal_zemo#", 0) == 0) return false;
        }
        return true;
    }
};

// The writers, each given a target path; true when it refused with the box (or zemo-cli's
// message) "Error saving file:\n PATH\n " followed by `reason`.
struct Writer {
    const char* name;
    std::function<bool(const std::string& target, const std::string& reason, Recorder& recorder)> refuses;
};

bool boxed(int result, const Recorder& recorder, const std::string& target, const std::string& reason) {
    return result == 1 && !recorder.messages.empty() &&
           recorder.messages.back().text == "Error saving file:\n " + target + "\n " + reason;
}

const Writer writers[] = {
    {"capture Save as",
     [](const std::string& target, const std::string& reason, Recorder& r) {
         return boxed(idf_save_as(target), r, target, reason);
     }},
    {"skeleton Save as",
     [](const std::string& target, const std::string& reason, Recorder& r) {
         return boxed(skeleton_save_as(app, target), r, target, reason);
     }},
    {"plot files",
     [](const std::string& target, const std::string& reason, Recorder&) {
         std::filesystem::rename(target, std::filesystem::path(target).parent_path() / "data00.dat");
         const bool refused = write_plot(std::filesystem::path(target).parent_path(), PlotSettings{}).message() == reason;
         std::filesystem::rename(std::filesystem::path(target).parent_path() / "data00.dat", target);
         return refused;
     }},
    {"zemo-cli copy",
     [](const std::string& target, const std::string& reason, Recorder&) {
         std::string out, err;
         return run_command(cli + " copy '" + app.file_name + "' '" + target + "'", &out, &err) == 1 &&
                err.find("Error saving file:\n " + target + "\n " + reason) != std::string::npos;
     }},
};

// A FIFO, a socket and (as root) a device node with the numbers of /dev/full, made in the test's
// folder; false when this kind cannot be made here.
bool make_special(int kind, const std::string& path) {
    switch (kind) {
    case 0: return mkfifo(path.c_str(), 0666) == 0;
    case 1: {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) return false;
        path.copy(address.sun_path, path.size());
        const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        return bound;
    }
    default: return geteuid() == 0 && mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    }
}

}  // namespace

TEST_F(SaveTargets, WhatIsNotARegularFileIsNeverReplaced) {
    for (const Writer& writer : writers) {
        for (int kind = 0; kind < 3; ++kind) {
            const std::string target = folder + "/special" + std::to_string(kind);
            if (!make_special(kind, target)) continue;
            struct stat before {};
            ASSERT_EQ(lstat(target.c_str(), &before), 0);
            EXPECT_TRUE(writer.refuses(target, "not a regular file", recorder)) << writer.name << ", kind " << kind;
            struct stat after {};
            ASSERT_EQ(lstat(target.c_str(), &after), 0);
            EXPECT_EQ(after.st_mode, before.st_mode) << writer.name << ", kind " << kind;
            EXPECT_EQ(after.st_ino, before.st_ino) << writer.name << ", kind " << kind;
            std::filesystem::remove(target);
        }
    }
    EXPECT_TRUE(no_temporary_file());
}

TEST_F(SaveTargets, AFileTheUserMayNotWriteIsRefusedWithTheSystemsReason) {
    const std::string target = folder + "/read-only.idf";
    write_file(target, "the user's own capture\n");
    chmod(dir.dir.c_str(), 0777);
    chmod(folder.c_str(), 0777);  // the folder would let a rename replace it
    chmod((folder + "/walk.idf").c_str(), 0644);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(target.c_str(), NOBODY, NOBODY), 0);
    }
    chmod(target.c_str(), 0444);
    const std::string bon = folder + "/read-only.bon";
    write_file(bon, "the user's own skeleton\n");
    if (geteuid() == 0) {
        ASSERT_EQ(chown(bon.c_str(), NOBODY, NOBODY), 0);
    }
    chmod(bon.c_str(), 0444);

    EXPECT_EQ(as_ordinary_user([&] {
                  return writers[0].refuses(target, "Permission denied", recorder) &&
                                 writers[1].refuses(bon, "Permission denied", recorder)
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(read_file(target), "the user's own capture\n");
    EXPECT_EQ(read_file(bon), "the user's own skeleton\n");
    EXPECT_TRUE(no_temporary_file());
}

TEST_F(SaveTargets, AnotherUsersFileKeepsItsOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can save a file that another user owns";
    const std::string target = folder + "/theirs.idf";
    write_file(target, "another user's capture\n");
    ASSERT_EQ(chown(target.c_str(), NOBODY, NOBODY), 0);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(idf_save_as(target), 0);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, NOBODY);
    EXPECT_EQ(info.st_gid, NOBODY);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_NE(read_file(target).find("4 \t4 \t-5.5\n"), std::string::npos);
}

TEST_F(SaveTargets, AHardLinkedFileKeepsItsLinks) {
    const std::string target = folder + "/linked.idf";
    const std::string link = dir.path("other-name.idf");
    write_file(target, "the capture under two names\n");
    ASSERT_EQ(::link(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(idf_save_as(target), 0);
    EXPECT_EQ(read_file(link), read_file(target));
    EXPECT_NE(read_file(link).find("4 \t4 \t-5.5\n"), std::string::npos);
    EXPECT_TRUE(no_temporary_file());
}
