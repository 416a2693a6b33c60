// Writing captures back: the kept header, the data lines, and saves that never damage the
// user's file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <filesystem>

#include "engine/formats/capture_io.h"
#include "engine/model/seams.h"
#include "support/test_support.h"

namespace {

double coordinate(int m, int f, int a) { return m * 111.125 + f * 0.3333333 - a * 7.0; }

struct IdfWriteTest : ::testing::Test {
    Recorder recorder;
    TempDir dir;

    std::string open_capture(const std::string& name, const std::string& text) {
        const std::string path = dir.path(name);
        write_file(path, text);
        EXPECT_EQ(idf_read(path), 0);
        return path;
    }
};

bool has_temporary_file(const std::string& folder) {
    return std::filesystem::exists(folder + "/" + IDF_TEMP_FILE_NAME);
}

}  // namespace

TEST_F(IdfWriteTest, WrittenFileReadsBackRoundedToSixDecimals) {
    open_capture("in.idf", make_idf_text(200, 3, 5, [](int m, int f, int a) {
                     if (m == 1 && f == 2) return LOST_VALUE;
                     if (m == 2 && f == 4 && a == 0) return 120.0;
                     return coordinate(m, f, a);
                 }, {"LASI", "RASI", "SACR"}));
    app.channels[0].samples[1].x = 3.14159265;
    const std::string out = dir.path("out.idf");
    ASSERT_EQ(idf_write(out), 0);
    EXPECT_NE(read_file(out).find("6 \t4 \t120.\n"), std::string::npos);
    EXPECT_NE(read_file(out).find("3 \t2 \t999999.\n"), std::string::npos);

    const auto written = app.channels;
    ASSERT_EQ(idf_read(out), 0);
    EXPECT_EQ(app.current_layer, 2);
    EXPECT_EQ(app.capture_rate, 200);
    EXPECT_EQ(app.num_frames, 5);
    EXPECT_EQ(app.error_count, 3);
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(app.channels[m].name_text(), written[m].name_text());
        for (int f = 0; f < 5; ++f) {
            EXPECT_NEAR(app.channels[m].samples[f].x, written[m].samples[f].x, 5e-7);
            EXPECT_NEAR(app.channels[m].samples[f].y, written[m].samples[f].y, 5e-7);
            EXPECT_NEAR(app.channels[m].samples[f].z, written[m].samples[f].z, 5e-7);
        }
    }
    EXPECT_EQ(app.channels[0].samples[1].x, 3.141593);
    EXPECT_EQ(app.channels[2].samples[4].x, 120.0);
}

TEST_F(IdfWriteTest, CopiesTheHeaderLinesUnchanged) {
    const std::string text =
        "INFORMATION_SECTION  lab: gait three\nCAPTURE_RATE: 50\nNUM_CHANNELS: 3\nNUM_DATA: 1\n"
        "CHANNEL_NAMES\nHEAD_x_ 0\nHEAD_y_ 1\nHEAD_z_ 2 end of names\n\nDATA_SECTION\n\t\n"
        "0 \t0 \t1.5\n1 \t0 \t-2\n2 \t0 \t3.25\n";
    open_capture("in.idf", text);
    const std::string out = dir.path("out.idf");
    ASSERT_EQ(idf_write(out), 0);
    EXPECT_EQ(read_file(out), text.substr(0, text.find("0 \t0")) + "0 \t0 \t1.5\n1 \t0 \t-2.\n2 \t0 \t3.25\n");
    EXPECT_EQ(recorder.statuses.back(), " File Saved Successfully");
}

TEST_F(IdfWriteTest, LeftOverColumnsAreWrittenSoTheFileReadsBack) {
    std::string text = "INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_CHANNELS: 4\nNUM_DATA: 2\nAx 0\nAy 1\nAz 2\nB 3\n";
    for (int f = 0; f < 2; ++f) {
        for (int c = 0; c < 4; ++c) text += std::to_string(c) + " \t" + std::to_string(f) + " \t" + std::to_string(c + f) + "\n";
    }
    open_capture("in.idf", text);
    const std::string out = dir.path("out.idf");
    ASSERT_EQ(idf_write(out), 0);
    EXPECT_NE(read_file(out).find("3 \t1 \t999999.\n"), std::string::npos);
    ASSERT_EQ(idf_read(out), 0);
    EXPECT_EQ(app.channels[0].samples[1].z, 3.0);
}

TEST_F(IdfWriteTest, SaveWritesOverTheOpenedFileEvenAfterSaveAs) {
    const std::string original = open_capture("walk.idf", make_idf_text(60, 2, 3, coordinate));
    const std::string other = dir.path("copy.idf");
    ASSERT_EQ(idf_save_as(other), 0);
    EXPECT_EQ(app.file_name, original);
    app.channels[1].samples[2].y = 77.5;
    ASSERT_EQ(idf_save(), 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_NE(read_file(original).find("4 \t2 \t77.5\n"), std::string::npos);
    EXPECT_EQ(read_file(other).find("77.5"), std::string::npos);
    EXPECT_FALSE(has_temporary_file(dir.dir));
}

TEST_F(IdfWriteTest, SaveTakesTheHeaderAsTheOpenedFileHoldsItNow) {
    const std::string text = make_idf_text(60, 2, 3, coordinate);
    const std::string original = open_capture("walk.idf", text);
    const std::string opened_header = *app.header;
    const auto header_of = [](const std::string& file) { return file.substr(0, file.find("\n0 ") + 1); };

    // Edited outside the program, with Windows line ends: copied unchanged.
    std::string edited = text;
    edited.insert(edited.find("CAPTURE_RATE"), "OPERATOR: Ana\r\nTRIAL: walking\r\n");
    write_file(original, edited);
    app.channels[1].samples[2].y = 77.5;
    ASSERT_EQ(idf_save(), 0);
    EXPECT_EQ(header_of(read_file(original)), header_of(edited));
    EXPECT_NE(read_file(original).find("4 \t2 \t77.5\n"), std::string::npos);

    // Gone, or no longer a capture of these columns and frames: the copy kept since opening.
    const std::string copy = dir.path("copy.idf");
    for (const std::string& now : {std::string(), std::string("PathFileType\t4\n"), make_idf_text(60, 2, 4, coordinate)}) {
        if (now.empty()) {
            std::filesystem::remove(original);
        } else {
            write_file(original, now);
        }
        ASSERT_EQ(idf_save_as(copy), 0);
        EXPECT_EQ(header_of(read_file(copy)), opened_header);
    }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(IdfWriteTest, SaveKeepsTheFilePermissions) {
    const std::string original = open_capture("walk.idf", make_idf_text(60, 1, 2, coordinate));
    chmod(original.c_str(), 0640);
    ASSERT_EQ(idf_save(), 0);
    struct stat info {};
    ASSERT_EQ(stat(original.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(IdfWriteTest, SaveAsToAFolderOrAMissingFolderFailsWithItsMessage) {
    open_capture("walk.idf", make_idf_text(60, 1, 2, coordinate));
    const std::string folder = dir.path("folder.idf");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(idf_save_as(folder), 1);
    const std::string missing = dir.path("no/such/dir/out.idf");
    EXPECT_EQ(idf_save_as(missing), 1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving file:\n " + folder + "\n ", 0), 0u);
    EXPECT_NE(recorder.messages[0].text.find("Is a directory"), std::string::npos);
    EXPECT_EQ(recorder.messages[1].text.rfind("Error saving file:\n " + missing + "\n ", 0), 0u);
    EXPECT_EQ(recorder.messages[1].type, MESSAGE_ERROR);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(idf_write(folder), 1);  // the plain writer refuses too
}

TEST_F(IdfWriteTest, SaveWhenTheFolderIsGoneLeavesNothingBehind) {
    TempDir other;
    const std::string path = other.path("walk.idf");
    write_file(path, make_idf_text(60, 1, 2, coordinate));
    ASSERT_EQ(idf_read(path), 0);
    std::filesystem::remove_all(other.dir);
    EXPECT_EQ(idf_save(), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving temporal file:\n #temporal_zemo#.###\n ", 0), 0u);
}

// A file size limit stops the write half-way (as a full disk would): the capture must stay
// byte-for-byte as it was and the temporary file must be gone.
TEST_F(IdfWriteTest, SaveInterruptedByAFileSizeLimitLeavesTheCaptureUnchanged) {
    const std::string original = open_capture("walk.idf", make_idf_text(60, 20, 300, coordinate));
    const std::string before = read_file(original);
    ASSERT_GT(before.size(), 200000u);
    app.channels[3].samples[10].x = -1.0;

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // as the programs do
        const rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const int result = idf_save();
        const bool explained = recorder.messages.size() == 1 &&
                               recorder.messages[0].text.rfind("Error saving temporal file:\n", 0) == 0 &&
                               recorder.messages[0].text.find("File too large") != std::string::npos;
        _exit(result == 1 && explained ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not fail with its message";
    EXPECT_EQ(read_file(original), before);
    EXPECT_FALSE(has_temporary_file(dir.dir));
}

TEST_F(IdfWriteTest, NothingIsWrittenWithoutAnOpenCapture) {
    EXPECT_EQ(idf_write(dir.path("out.idf")), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.idf")));
    EXPECT_EQ(idf_save(), 1);
    EXPECT_EQ(recorder.messages.size(), 1u);
}
