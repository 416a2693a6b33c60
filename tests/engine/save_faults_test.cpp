// Saves that meet a fault: a folder that refuses new files, a file size limit reached half-way
// (as a full disk would), a target that is a folder. For captures, skeletons, plot files and
// recorded frames the user's file stays byte-for-byte as it was, no temporary file remains, and
// the user is told what failed (an error box, or zemo-cli's message and exit code 1). A file
// that exists in a folder refusing new files is still saved, through the temporary folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "engine/formats/capture_io.h"
#include "engine/model/seams.h"
#include "engine/plot/plot_files.h"
#include "engine/plot/plot_items.h"
#include "engine/scene/recording.h"
#include "engine/skeleton/skeleton_file.h"
#include "engine/plot/plot_test_support.h"
#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

std::string shell_quoted(const std::string& text) { return "'" + text + "'"; }

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// A folder in which nobody can create or rename a file, root included (the tests run as root in
// CI, and root ignores permission bits): the immutable attribute when running as root, mode 0555
// otherwise. Files already inside stay writable in place, so only a save that writes beside its
// target and renames is stopped by it. Undone on destruction so the temporary folder can go.
class RefusingFolder {
public:
    explicit RefusingFolder(const std::string& path) : path_(path) {
        if (geteuid() == 0) {
            const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                immutable_ = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
            }
            if (!immutable_) problem_ = std::string("cannot set the immutable attribute: ") + std::strerror(errno);
            if (fd >= 0) close(fd);
        } else {
            chmod(path.c_str(), 0555);
        }
        // Whatever was chosen, check that it really refuses.
        const std::string probe = path + "/probe";
        const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            close(fd);
            unlink(probe.c_str());
            if (problem_.empty()) problem_ = "the folder still accepts new files";
        }
    }
    ~RefusingFolder() {
        if (immutable_) {
            const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0) close(fd);
        }
        chmod(path_.c_str(), 0755);
    }
    // Empty when the folder refuses new files; otherwise why this file system cannot emulate it.
    const std::string& problem() const { return problem_; }

private:
    std::string path_;
    bool immutable_ = false;
    std::string problem_;
};

// Points TMPDIR, the user's temporary folder, at a folder of the test while it lives.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const std::string& path) : path_(path) {
        std::filesystem::create_directory(path);
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~TemporaryFolderAt() { unsetenv("TMPDIR"); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

#define REFUSE_WRITING(folder)                                                                             \
    RefusingFolder refusing(folder);                                                                       \
    if (!refusing.problem().empty()) GTEST_SKIP() << "no folder that refuses writing here: " << refusing.problem()

// Runs `work` in a child process whose files may not grow past `bytes` (SIGXFSZ ignored, as the
// programs do, so the write fails with EFBIG); returns the child's exit code.
int with_file_size_limit(rlim_t bytes, const std::function<int()>& work) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Runs zemo-cli's `command` under the file size limit; 0 when it exits with code 1 and its
// message says the file grew too large. Standard output goes to /dev/null and standard error
// through a pipe, neither of which the limit stops.
int cli_refused_under_limit(rlim_t bytes, const std::string& command) {
    return with_file_size_limit(bytes, [&command] {
        FILE* pipe = popen((command + " 2>&1 >/dev/null").c_str(), "r");
        if (!pipe) return 2;
        std::string err;
        char chunk[256];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) err.append(chunk, n);
        const int status = pclose(pipe);
        const bool refused = WIFEXITED(status) && WEXITSTATUS(status) == 1;
        if (!refused || err.find("File too large") == std::string::npos) {
            std::fprintf(stderr, "exit status %d, message: %s\n", status, err.c_str());
            return 1;
        }
        return 0;
    });
}

// What the child reports: 0 when the save failed and the only box holds every expected piece.
enum ChildResult { FAILED_AND_SAID_SO = 0, REPORTED_SUCCESS = 10, NO_OR_WRONG_BOX = 11 };

int failed_with_box(int result, const Recorder& recorder, const std::vector<std::string>& pieces) {
    if (result == 0) return REPORTED_SUCCESS;
    if (recorder.messages.size() != 1) return NO_OR_WRONG_BOX;
    for (const std::string& piece : pieces) {
        if (recorder.messages[0].text.find(piece) == std::string::npos) return NO_OR_WRONG_BOX;
    }
    return FAILED_AND_SAID_SO;
}

double coordinate(int m, int f, int a) { return 1000.0 + m * 111.125 + f * 0.3333333 - a * 7.0; }

// ---------------------------------------------------------------------------------------------
// Captures: Save, Save as, and zemo-cli copy.

struct CaptureSaveFaults : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    std::string folder = dir.path("captures");
    std::string original = folder + "/walk.idf";
    std::string other = folder + "/other.idf";
    std::string before;
    std::string other_before = "an older capture the user keeps\n";

    void SetUp() override {
        std::filesystem::create_directory(folder);
        write_file(original, make_idf_text(100, 20, 300, coordinate));
        write_file(other, other_before);
        before = read_file(original);
        ASSERT_EQ(idf_read(original), 0);
        app.channels[3].samples[10].x = -1.0;  // an edit that is not saved
    }
    void expect_files_untouched() {
        EXPECT_EQ(read_file(original), before);
        EXPECT_EQ(read_file(other), other_before);
        EXPECT_EQ(names_in(folder), (std::set<std::string>{"walk.idf", "other.idf"})) << "a temporary file remains";
    }
};

TEST_F(CaptureSaveFaults, SaveInAFolderThatRefusesNewFilesWritesThroughTheTemporaryFolder) {
    TemporaryFolderAt temporary(dir.path("tmp"));
    REFUSE_WRITING(folder);
    EXPECT_EQ(idf_save(), 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_NE(read_file(original).find("9 \t10 \t-1.\n"), std::string::npos);
    EXPECT_EQ(names_in(folder), (std::set<std::string>{"walk.idf", "other.idf"}));
    EXPECT_TRUE(names_in(temporary.path()).empty()) << "the temporary copy remains";
}

TEST_F(CaptureSaveFaults, SaveAsOfANewFileInAFolderThatRefusesNewFilesFails) {
    REFUSE_WRITING(folder);
    const std::string fresh = folder + "/new.idf";
    EXPECT_EQ(idf_save_as(fresh), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving file:\n " + fresh + "\n cannot create ", 0), 0u)
        << recorder.messages[0].text;
    EXPECT_EQ(app.file_name, original);
    expect_files_untouched();
}

TEST_F(CaptureSaveFaults, SaveAndSaveAsStoppedHalfWayByAFileSizeLimitKeepTheFiles) {
    ASSERT_GT(before.size(), 200000u);
    EXPECT_EQ(with_file_size_limit(100000, [this] {
                  return failed_with_box(idf_save(), recorder, {"Error saving temporal file:\n", "File too large"});
              }),
              FAILED_AND_SAID_SO);
    expect_files_untouched();
    EXPECT_EQ(with_file_size_limit(100000, [this] {
                  return failed_with_box(idf_save_as(other), recorder,
                                         {"Error saving file:\n " + other + "\n", "File too large"});
              }),
              FAILED_AND_SAID_SO);
    expect_files_untouched();
}

TEST_F(CaptureSaveFaults, SaveAsOntoAFolderLeavesTheFolderAndItsContent) {
    const std::string target = folder + "/inside";
    std::filesystem::create_directory(target);
    write_file(target + "/kept.txt", "kept");
    EXPECT_EQ(idf_save_as(target), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving file:\n " + target + "\n ", 0), 0u);
    EXPECT_NE(recorder.messages[0].text.find("Is a directory"), std::string::npos) << recorder.messages[0].text;
    EXPECT_EQ(read_file(target + "/kept.txt"), "kept");
    EXPECT_EQ(names_in(target), std::set<std::string>{"kept.txt"});
    EXPECT_EQ(names_in(folder), (std::set<std::string>{"walk.idf", "other.idf", "inside"}));
}

TEST_F(CaptureSaveFaults, CliCopyFailsWithAMessageAndExitCodeOneOnEveryFault) {
    std::string out, err;
    {
        REFUSE_WRITING(folder);
        const std::string fresh = folder + "/new.idf";
        EXPECT_EQ(run_command(cli + " copy " + shell_quoted(original) + " " + shell_quoted(fresh), &out, &err), 1);
        EXPECT_NE(err.find("Error saving file:\n " + fresh), std::string::npos) << err;
        EXPECT_NE(err.find("cannot create"), std::string::npos) << err;
    }
    expect_files_untouched();

    EXPECT_EQ(cli_refused_under_limit(100000, cli + " copy " + shell_quoted(original) + " " + shell_quoted(other)), 0)
        << "zemo-cli copy under a file size limit did not fail with its message";
    expect_files_untouched();

    const std::string target = folder + "/inside";
    std::filesystem::create_directory(target);
    EXPECT_EQ(run_command(cli + " copy " + shell_quoted(original) + " " + shell_quoted(target), &out, &err), 1);
    EXPECT_NE(err.find("Is a directory"), std::string::npos) << err;
    EXPECT_TRUE(names_in(target).empty());
}

// ---------------------------------------------------------------------------------------------
// Skeletons: Save (to the bound file), Save as, and zemo-cli skeleton --save.

struct SkeletonSaveFaults : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    std::string folder = dir.path("skeletons");
    std::string bound = folder + "/evart.bon";
    std::string other = folder + "/other.bon";
    std::string bound_before;
    std::string other_before = "2\t0\n13\t1\n13\t1\n";

    void SetUp() override {
        std::filesystem::create_directory(folder);
        bound_before = read_file(shared_data("evart.bon"));
        write_file(bound, bound_before);
        write_file(other, other_before);
        ASSERT_EQ(idf_read(shared_data("evart.idf")), 0);
        ASSERT_EQ(skeleton_open(app, bound), 0);
        ASSERT_EQ(app.skeleton_file, bound);
        ASSERT_GT(app.bone_count, 2);
        app.bone_count -= 2;  // an edit that is not saved
    }
    void expect_files_untouched() {
        EXPECT_EQ(read_file(bound), bound_before);
        EXPECT_EQ(read_file(other), other_before);
        EXPECT_EQ(names_in(folder), (std::set<std::string>{"evart.bon", "other.bon"})) << "a temporary file remains";
    }
};

TEST_F(SkeletonSaveFaults, InAFolderThatRefusesNewFilesSaveWritesInPlaceAndSaveAsOfANewFileFails) {
    TemporaryFolderAt temporary(dir.path("tmp"));
    REFUSE_WRITING(folder);
    const std::string fresh = folder + "/new.bon";
    EXPECT_EQ(skeleton_save_as(app, fresh), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].type, MESSAGE_ERROR);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving file:\n " + fresh + "\n cannot create ", 0), 0u)
        << recorder.messages[0].text;
    expect_files_untouched();

    skeleton_save_bound(app);
    EXPECT_EQ(recorder.messages.size(), 1u);
    EXPECT_NE(read_file(bound), bound_before);
    EXPECT_EQ(names_in(folder), (std::set<std::string>{"evart.bon", "other.bon"}));
    EXPECT_TRUE(names_in(temporary.path()).empty()) << "the temporary copy remains";
}

TEST_F(SkeletonSaveFaults, SaveAndSaveAsStoppedHalfWayByAFileSizeLimitKeepTheFiles) {
    ASSERT_GT(bound_before.size(), 200u);
    EXPECT_EQ(with_file_size_limit(100, [this] {
                  skeleton_save_bound(app);
                  return recorder.messages.size() == 1 &&
                                 recorder.messages[0].text.find("File too large") != std::string::npos
                             ? 0
                             : 1;
              }),
              0);
    expect_files_untouched();
    EXPECT_EQ(with_file_size_limit(100, [this] {
                  return failed_with_box(skeleton_save_as(app, other), recorder,
                                         {"Error saving file:\n " + other + "\n", "File too large"});
              }),
              FAILED_AND_SAID_SO);
    expect_files_untouched();
}

TEST_F(SkeletonSaveFaults, SaveAsOntoAFolderSaysSoAndLeavesTheFolder) {
    const std::string target = folder + "/inside.bon";
    std::filesystem::create_directory(target);
    EXPECT_EQ(skeleton_save_as(app, target), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving file:\n " + target + "\n ", 0), 0u);
    EXPECT_NE(recorder.messages[0].text.find("Is a directory"), std::string::npos) << recorder.messages[0].text;
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_TRUE(names_in(target).empty());
}

TEST_F(SkeletonSaveFaults, CliSkeletonSaveFailsWithAMessageAndExitCodeOneOnEveryFault) {
    const std::string command = cli + " skeleton " + shell_quoted(shared_data("evart.idf")) + " " +
                                shell_quoted(shared_data("evart.bon")) + " --save ";
    std::string out, err;
    {
        REFUSE_WRITING(folder);
        const std::string fresh = folder + "/new.bon";
        EXPECT_EQ(run_command(command + shell_quoted(fresh), &out, &err), 1);
        EXPECT_NE(err.find("Error saving file:\n " + fresh), std::string::npos) << err;
    }
    expect_files_untouched();
    EXPECT_EQ(cli_refused_under_limit(100, command + shell_quoted(other)), 0)
        << "zemo-cli skeleton --save under a file size limit did not fail with its message";
    expect_files_untouched();
    EXPECT_EQ(run_command(command + shell_quoted(folder), &out, &err), 1);
    EXPECT_NE(err.find("Is a directory"), std::string::npos) << err;
    expect_files_untouched();
}

// ---------------------------------------------------------------------------------------------
// Plot files: the data files and order.gnu in the plot folder, and zemo-cli plot.

struct PlotSaveFaults : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    std::string gplot = dir.path("gplot");
    const std::string older_data = "1.000000\t2.000000\t3.000000\n";
    const std::string older_order = "plot \"data00.dat\" using 1 title \"older\" with lines 1";

    void SetUp() override {
        plot_items.clear();
        std::filesystem::create_directory(gplot);
        write_file(gplot + "/data00.dat", older_data);
        write_file(gplot + "/order.gnu", older_order);
        ASSERT_EQ(idf_read(shared_data("evart.idf")), 0);
        plot_append_item(make_plot_item(app, app.current_layer, 0, 0, app.num_frames - 1, "RSHO", 2, false, false));
    }
    void TearDown() override { plot_items.clear(); }
    void expect_files_untouched() {
        EXPECT_EQ(read_file(gplot + "/data00.dat"), older_data);
        EXPECT_EQ(read_file(gplot + "/order.gnu"), older_order);
        EXPECT_EQ(names_in(gplot), (std::set<std::string>{"data00.dat", "order.gnu"})) << "a temporary file remains";
    }
    std::string cli_plot() const {
        return cli + " plot --no-run --dir " + shell_quoted(dir.dir) + " " + shell_quoted(shared_data("evart.idf") + ":0:0:200:a:1");
    }
};

TEST_F(PlotSaveFaults, APlotFolderThatRefusesNewFilesKeepsTheFilesAndGivesTheReason) {
    std::filesystem::remove(gplot + "/data00.dat");  // a file the plot has to create
    REFUSE_WRITING(gplot);
    const Status written = write_plot(gplot, PlotSettings{});
    EXPECT_NE(written.message().find("cannot create"), std::string::npos) << written.message();
    // The plot page ends silently here (the program shows no box for it); zemo-cli says why.
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(read_file(gplot + "/order.gnu"), older_order);
    std::string out, err;
    EXPECT_EQ(run_command(cli_plot(), &out, &err), 1);
    EXPECT_NE(err.find("cannot write the plot files in " + gplot + ": cannot create"), std::string::npos) << err;
    EXPECT_EQ(read_file(gplot + "/order.gnu"), older_order);
    EXPECT_EQ(names_in(gplot), std::set<std::string>{"order.gnu"});
}

TEST_F(PlotSaveFaults, AFileSizeLimitHalfWayKeepsTheOlderFiles) {
    EXPECT_EQ(with_file_size_limit(1000, [this] {
                  return write_plot(gplot, PlotSettings{}).message().find("File too large") != std::string::npos
                             ? 0
                             : 1;
              }),
              0);
    expect_files_untouched();
    EXPECT_EQ(cli_refused_under_limit(1000, cli_plot()), 0)
        << "zemo-cli plot under a file size limit did not fail with its message";
    expect_files_untouched();
}

TEST_F(PlotSaveFaults, ADataFileThatIsAFolderStopsThePlot) {
    std::filesystem::remove(gplot + "/data00.dat");
    std::filesystem::create_directory(gplot + "/data00.dat");
    const Status written = write_plot(gplot, PlotSettings{});
    EXPECT_NE(written.message().find("Is a directory"), std::string::npos) << written.message();
    EXPECT_EQ(read_file(gplot + "/order.gnu"), older_order);
    EXPECT_TRUE(std::filesystem::is_directory(gplot + "/data00.dat"));
    std::string out, err;
    EXPECT_EQ(run_command(cli_plot(), &out, &err), 1);
    EXPECT_NE(err.find("Is a directory"), std::string::npos) << err;
    EXPECT_EQ(read_file(gplot + "/order.gnu"), older_order);
    EXPECT_EQ(names_in(gplot), (std::set<std::string>{"data00.dat", "order.gnu"}));
}

// ---------------------------------------------------------------------------------------------
// Recorded frames: the numbered BMP images written into the program's directory.

struct FrameSaveFaults : ::testing::Test {
    TempDir dir;
    std::string frames = dir.path("frames");
    std::unique_ptr<WorkingDirectory> in_frames;
    Recorder recorder;
    std::vector<unsigned char> rgb = std::vector<unsigned char>(64 * 48 * 3, 128);
    std::string first_image;

    void SetUp() override {
        std::filesystem::create_directory(frames);
        in_frames = std::make_unique<WorkingDirectory>(frames);
        recording_state = RecordingState{};
        ASSERT_EQ(save_frame_bmp(rgb, 64, 48), 0);  // an image recorded before the fault
        first_image = read_file("img000000.bmp");
        ASSERT_EQ(first_image.size(), 54u + 64u * 48u * 3u);
    }
    void expect_only_the_first_image() {
        EXPECT_EQ(read_file(frames + "/img000000.bmp"), first_image);
        EXPECT_EQ(names_in(frames), std::set<std::string>{"img000000.bmp"}) << "a part of an image remains";
    }
};

TEST_F(FrameSaveFaults, AFolderThatRefusesWritingSaysTheImageCannotBeOpened) {
    REFUSE_WRITING(frames);
    EXPECT_EQ(save_frame_bmp(rgb, 64, 48), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error opening BMP file");
    EXPECT_EQ(recorder.messages[0].type, MESSAGE_INFO);
    EXPECT_EQ(recording_state.frame_counter, 1);  // the number waits for an image written whole
    expect_only_the_first_image();
}

TEST_F(FrameSaveFaults, AFileSizeLimitHalfWayRemovesThePartOfTheImageAndNamesThePart) {
    EXPECT_EQ(with_file_size_limit(4096, [this] {
                  return failed_with_box(save_frame_bmp(rgb, 64, 48), recorder, {"Error writing bitmap data"});
              }),
              FAILED_AND_SAID_SO);
    expect_only_the_first_image();
}

TEST_F(FrameSaveFaults, AnImageThatFailsLeavesNoHoleInTheNumbering) {
    std::filesystem::create_directory(frames + "/img000001.bmp");
    EXPECT_EQ(save_frame_bmp(rgb, 64, 48), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error opening BMP file");
    EXPECT_TRUE(std::filesystem::is_directory(frames + "/img000001.bmp"));
    EXPECT_EQ(read_file(frames + "/img000000.bmp"), first_image);
    // The video script reads the images up to the first missing number: the next frame that is
    // written whole takes the failed one's number.
    std::filesystem::remove(frames + "/img000001.bmp");
    EXPECT_EQ(save_frame_bmp(rgb, 64, 48), 0);
    EXPECT_EQ(names_in(frames), (std::set<std::string>{"img000000.bmp", "img000001.bmp"}));
}

}  // namespace
