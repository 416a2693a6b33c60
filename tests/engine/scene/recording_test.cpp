// Recorded frames as BMP bytes, the codec list, the video command lines, and the two video
// scripts run for real on a few generated frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/model/seams.h"
#include "engine/scene/recording.h"
#include "platform/launch.h"
#include "support/test_support.h"

namespace {

std::uint32_t u32(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8 |
           static_cast<unsigned char>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}
unsigned u16(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// RGB pixels, bottom row first, where every pixel tells its own place.
std::vector<unsigned char> numbered_pixels(int width, int height) {
    std::vector<unsigned char> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<unsigned char>(10 * x + 1));
            rgb.push_back(static_cast<unsigned char>(10 * y + 2));
            rgb.push_back(static_cast<unsigned char>(x + y + 3));
        }
    }
    return rgb;
}

std::string bmp_bytes(const std::vector<unsigned char>& rgb, int width, int height) {
    std::ostringstream out;
    EXPECT_TRUE(write_bmp(out, rgb.data(), width, height).ok());
    return out.str();
}

// Runs the test in its own folder, as the program runs in its own directory.
struct InFolder : ::testing::Test {
    TempDir dir;
    WorkingDirectory in_test_folder{dir.dir};
    Recorder recorder;
    void SetUp() override { recording_state = RecordingState{}; }
};

}  // namespace

TEST(BmpHeader, EveryFieldOfA800x600Frame) {
    const auto file = bmp_file_header(800, 600);
    const auto info = bmp_info_header(800, 600);
    const std::string bytes = std::string(file.begin(), file.end()) + std::string(info.begin(), info.end());
    ASSERT_EQ(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(u32(bytes, 2), 54u + 2400u * 600u);  // the real size of the file
    EXPECT_EQ(u16(bytes, 6), 0u);
    EXPECT_EQ(u16(bytes, 8), 0u);
    EXPECT_EQ(u32(bytes, 10), 54u);
    EXPECT_EQ(u32(bytes, 14), 40u);
    EXPECT_EQ(u32(bytes, 18), 800u);
    EXPECT_EQ(u32(bytes, 22), 600u);
    EXPECT_EQ(u16(bytes, 26), 1u);
    EXPECT_EQ(u16(bytes, 28), 24u);
    EXPECT_EQ(u32(bytes, 30), 0u);
    EXPECT_EQ(u32(bytes, 34), 2400u * 600u);
    EXPECT_EQ(u32(bytes, 38), 2952u);
    EXPECT_EQ(u32(bytes, 42), 2952u);
    EXPECT_EQ(u32(bytes, 46), 0u);
    EXPECT_EQ(u32(bytes, 50), 0u);
}

TEST(BmpHeader, RowPadForEveryWidthRemainder) {
    // Rows of 3, 6, 9 and 12 bytes take 4, 8, 12 and 12.
    EXPECT_EQ(bmp_row_pad(1), 1);
    EXPECT_EQ(bmp_row_pad(2), 2);
    EXPECT_EQ(bmp_row_pad(3), 3);
    EXPECT_EQ(bmp_row_pad(4), 0);
    EXPECT_EQ(bmp_row_pad(800), 0);
    EXPECT_EQ(bmp_image_size(3, 5), 12u * 5u);
}

TEST(WriteBmp, A800x600FrameHasItsFullSize) {
    const std::vector<unsigned char> rgb(800 * 600 * 3, 7);
    const std::string bytes = bmp_bytes(rgb, 800, 600);
    EXPECT_EQ(bytes.size(), 54u + 2400u * 600u);
    EXPECT_EQ(u32(bytes, 2), bytes.size());
    EXPECT_EQ(u32(bytes, 34), 2400u * 600u);
}

TEST(WriteBmp, RowsBottomUpAsBlueGreenRed) {
    const int w = 4, h = 3;
    const std::string bytes = bmp_bytes(numbered_pixels(w, h), w, h);
    ASSERT_EQ(bytes.size(), 54u + 12u * 3u);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t at = 54 + static_cast<size_t>(y) * 12 + 3 * x;
            EXPECT_EQ(static_cast<unsigned char>(bytes[at]), x + y + 3) << x << "," << y;  // blue
            EXPECT_EQ(static_cast<unsigned char>(bytes[at + 1]), 10 * y + 2) << x << "," << y;  // green
            EXPECT_EQ(static_cast<unsigned char>(bytes[at + 2]), 10 * x + 1) << x << "," << y;  // red
        }
    }
}

TEST(WriteBmp, PadBytesAreZeroAndRowsStayAligned) {
    const int w = 3, h = 2;  // 9 bytes of pixels, 3 of pad per row
    const std::string bytes = bmp_bytes(numbered_pixels(w, h), w, h);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    for (int y = 0; y < h; ++y) {
        for (int p = 9; p < 12; ++p) EXPECT_EQ(bytes[54 + 12 * y + p], 0) << y;
    }
    // The second row starts after the pad: its first pixel is (0, 1).
    EXPECT_EQ(static_cast<unsigned char>(bytes[54 + 12 + 1]), 12);
}

TEST(WriteBmp, ReadBackByImageMagickWithTheSamePixels) {
    TempDir dir;
    const int w = 8, h = 6;
    const auto rgb = numbered_pixels(w, h);
    write_file(dir.path("frame.bmp"), bmp_bytes(rgb, w, h));
    std::string out;
    // Top-left of the picture is the last row GL gives.
    ASSERT_EQ(run_command("convert '" + dir.path("frame.bmp") + "' -format '%w %h %[pixel:p{0,0}]' info:", &out), 0);
    EXPECT_EQ(out, "8 6 srgb(1,52,8)");
}

TEST(WriteBmp, FailuresNameThePartThatCouldNotBeWritten) {
    const auto rgb = numbered_pixels(4, 2);
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_EQ(write_bmp(broken, rgb.data(), 4, 2).message(), "Error writing bitmap file header");
    std::ofstream full("/dev/full", std::ios::binary);
    ASSERT_TRUE(full);
    EXPECT_EQ(write_bmp(full, rgb.data(), 4, 2).message(), "Error writing bitmap file header");
}

TEST(ImageFileName, SixDigitsFromZero) {
    EXPECT_EQ(image_file_name(0), "img000000.bmp");
    EXPECT_EQ(image_file_name(42), "img000042.bmp");
    EXPECT_EQ(image_file_name(1234567), "img1234567.bmp");
}

TEST_F(InFolder, SaveFrameNumbersTheImagesFromTheCounter) {
    const auto rgb = numbered_pixels(4, 2);
    EXPECT_EQ(save_frame_bmp(rgb, 4, 2), 0);
    EXPECT_EQ(save_frame_bmp(rgb, 4, 2), 0);
    EXPECT_EQ(recording_state.frame_counter, 2);
    EXPECT_EQ(read_file("img000000.bmp"), bmp_bytes(rgb, 4, 2));
    EXPECT_EQ(read_file("img000001.bmp").size(), 54u + 24u);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(InFolder, AnImageThatCannotBeOpenedSaysSoAndTheNextTakesItsNumber) {
    std::filesystem::create_directory("img000000.bmp");  // a folder in the way of the first image
    const auto rgb = numbered_pixels(4, 2);
    EXPECT_EQ(save_frame_bmp(rgb, 4, 2), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error opening BMP file");
    EXPECT_EQ(recorder.messages[0].type, MESSAGE_INFO);
    EXPECT_EQ(recorder.messages[0].buttons, BUTTONS_OK);
    EXPECT_EQ(recording_state.frame_counter, 0);
    // Recording goes on without a hole in the numbering.
    std::filesystem::remove("img000000.bmp");
    EXPECT_EQ(save_frame_bmp(rgb, 4, 2), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file("img000000.bmp"));
    EXPECT_EQ(recording_state.frame_counter, 1);
}

TEST(CodecList, SkipsTheHeaderAndStopsAtTheFirstEmptyLine) {
    std::istringstream in("h1\nh2\nh3\nh4\n|MJPG |Motion JPEG\r\n xvid -Xvid codec\n\n|H264 |after the end\n");
    const auto codecs = parse_codec_list(in);
    ASSERT_EQ(codecs.size(), 2u);
    EXPECT_EQ(codecs[0].code, "MJPG");
    EXPECT_EQ(codecs[0].description, "Motion JPEG");
    EXPECT_EQ(codecs[1].code, "xvid");
    EXPECT_EQ(codecs[1].description, "Xvid codec");
}

TEST(CodecList, ShortFilesAndMissingFilesGiveAnEmptyList) {
    std::istringstream header_only("h1\nh2\nh3\n");
    EXPECT_TRUE(parse_codec_list(header_only).empty());
    EXPECT_TRUE(read_codec_list("/nonexistent/codecs.dat").empty());
}

TEST(CodecList, TheShippedListHasACodeAndATextOnEveryRow) {
    const auto codecs = read_codec_list(build_path("codecs.dat"));
    ASSERT_GE(codecs.size(), 10u);
    for (const auto& codec : codecs) {
        EXPECT_FALSE(codec.code.empty());
        EXPECT_EQ(codec.code.find(' '), std::string::npos);
        EXPECT_FALSE(codec.description.empty()) << codec.code;
    }
    EXPECT_EQ(codecs[0].code, "MJPG");
}

TEST(CodecList, RowsPickTheirCodeAndNoRowIsDib) {
    const std::vector<CodecEntry> codecs{{"MJPG", "Motion JPEG"}, {"H264", "H.264"}};
    EXPECT_EQ(codec_at_row(codecs, 1), "H264");
    EXPECT_EQ(codec_at_row(codecs, -1), "DIB ");
    EXPECT_EQ(codec_at_row(codecs, 2), "DIB ");
    EXPECT_EQ(codec_at_row({}, 0), "DIB ");
}

TEST(VideoCommand, ThreeCharactersOrFewerNameTheTemporaryVideo) {
    EXPECT_EQ(video_file_name(""), "TempVideoZemo.avi");
    EXPECT_EQ(video_file_name("a.v"), "TempVideoZemo.avi");
    EXPECT_EQ(video_file_name("a.av"), "a.av");
}

TEST_F(InFolder, RawVideoLineWithTheNameMadeAbsolute) {
    VideoRequest r;
    r.entry_text = "/tmp/walk 1.avi";
    r.fps = 25;
    r.kfps = 2;
    EXPECT_EQ(video_command(r), (std::vector<std::string>{"ivc.bat", "25", "/tmp/walk 1.avi", "2"}));
    r.entry_text = "walk 2.avi";
    EXPECT_EQ(video_command(r), (std::vector<std::string>{"ivc.bat", "25", dir.path("walk 2.avi"), "2"}));
}

TEST_F(InFolder, CodecLinePassesDibWithoutItsTrailingSpace) {
    VideoRequest r;
    r.entry_text = "abc";
    r.fps = 20;
    r.kfps = 1;
    r.quality = 7500;
    r.select_codec = true;
    r.codec = codec_at_row({}, -1);
    EXPECT_EQ(video_command(r),
              (std::vector<std::string>{"iv.bat", "20", dir.path("TempVideoZemo.avi"), "1", "DIB", "7500"}));
    r.codec = "MJPG";
    r.entry_text = "/v/clip.avi";
    EXPECT_EQ(video_command(r), (std::vector<std::string>{"iv.bat", "20", "/v/clip.avi", "1", "MJPG", "7500"}));
}

// The scripts for real: a frames folder made as a recording makes it (TMPDIR pointed at the
// test's folder), five frames written by the program's own writer, the exact argument vector
// the program starts in that folder, and ffprobe on the result.
struct VideoScript : ::testing::Test {
    TempDir dir;
    Recorder recorder;
    std::string previous_tmpdir;
    // A name a shell would split, expand or run.
    const std::string awkward = dir.path("a \"video\" 'of' $HOME `touch X` $(touch X) (1);x.avi");

    void SetUp() override {
        if (const char* tmpdir = std::getenv("TMPDIR")) previous_tmpdir = tmpdir;
        setenv("TMPDIR", dir.dir.c_str(), 1);
    }
    void TearDown() override {
        if (previous_tmpdir.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", previous_tmpdir.c_str(), 1);
        }
    }

    void five_frames(int width, int height) {
        ASSERT_EQ(recording_start(), 0);
        for (int n = 0; n < 5; ++n) {
            std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3, static_cast<unsigned char>(40 * n));
            ASSERT_EQ(save_frame_bmp(rgb, width, height), 0);
        }
    }

    // Runs the video script as the program starts it (the script of the run-time folder, in the
    // frames folder) and waits for it; returns its exit code.
    int run(const VideoRequest& request) {
        std::vector<std::string> argv = video_command(request);
        argv[0] = build_path(argv[0]);
        return run_and_wait(argv, recording_state.frames_folder);
    }

    std::string probe(const std::string& path) {
        std::string quoted = "'";
        for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        std::string out;
        EXPECT_EQ(run_command("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                              "stream=codec_name,nb_read_frames,r_frame_rate,width,height -of default=nw=1 " +
                                  quoted + "'",
                              &out),
                  0);
        return out;
    }

    bool frames_folder_left() { return std::filesystem::exists(recording_state.frames_folder); }
};

TEST_F(VideoScript, RawVideoOfFiveFramesAtAnAwkwardPath) {
    five_frames(8, 6);
    VideoRequest r;
    r.entry_text = awkward;
    r.fps = 12;
    ASSERT_EQ(run(r), 0);
    const std::string info = probe(awkward);
    EXPECT_NE(info.find("codec_name=rawvideo"), std::string::npos) << info;
    EXPECT_NE(info.find("r_frame_rate=12/1"), std::string::npos) << info;
    EXPECT_NE(info.find("nb_read_frames=5"), std::string::npos) << info;
    EXPECT_NE(info.find("width=8\nheight=6"), std::string::npos) << info;
    EXPECT_FALSE(frames_folder_left());
    EXPECT_FALSE(std::filesystem::exists(dir.path("X")));
}

TEST_F(VideoScript, ChosenCodecOfFiveFramesAtAnAwkwardPath) {
    five_frames(8, 6);
    VideoRequest r;
    r.entry_text = awkward;
    r.fps = 7;
    r.kfps = 1;
    r.select_codec = true;
    r.codec = "MJPG";
    ASSERT_EQ(run(r), 0);
    const std::string info = probe(awkward);
    EXPECT_NE(info.find("codec_name=mjpeg"), std::string::npos) << info;
    EXPECT_NE(info.find("r_frame_rate=7/1"), std::string::npos) << info;
    EXPECT_NE(info.find("nb_read_frames=5"), std::string::npos) << info;
    EXPECT_FALSE(frames_folder_left());
    EXPECT_FALSE(std::filesystem::exists(dir.path("X")));
}

TEST_F(VideoScript, NoCodecSelectedMakesAnUncompressedVideo) {
    five_frames(8, 5);
    VideoRequest r;
    r.entry_text = "";
    r.fps = 30;
    r.select_codec = true;
    r.codec = codec_at_row({}, -1);
    int status = -1;
    {
        const WorkingDirectory in_program_folder(dir.dir);  // where a relative name goes
        status = run(r);
    }
    ASSERT_EQ(status, 0);
    const std::string info = probe(dir.path("TempVideoZemo.avi"));
    EXPECT_NE(info.find("codec_name=rawvideo"), std::string::npos) << info;
    EXPECT_NE(info.find("r_frame_rate=30/1"), std::string::npos) << info;
    EXPECT_NE(info.find("nb_read_frames=5"), std::string::npos) << info;
}

TEST_F(VideoScript, AFailingFfmpegStillRemovesTheFramesAndTheirFolder) {
    for (const bool select_codec : {false, true}) {
        SCOPED_TRACE(select_codec ? "iv.bat" : "ivc.bat");
        five_frames(8, 6);
        VideoRequest r;
        r.entry_text = dir.path("no such folder/clip.avi");
        r.select_codec = select_codec;
        r.codec = "MJPG";
        EXPECT_NE(run(r), 0);
        EXPECT_FALSE(frames_folder_left());
    }
}

TEST_F(VideoScript, EveryShippedCodecWritesAnAviOfOddHeightFrames) {
    for (const auto& codec : read_codec_list(build_path("codecs.dat"))) {
        SCOPED_TRACE(codec.code);
        five_frames(12, 7);
        VideoRequest r;
        r.entry_text = dir.path("v_" + codec.code + ".avi");
        r.fps = 10;
        r.kfps = 2;
        r.quality = 5000;
        r.select_codec = true;
        r.codec = codec.code;
        EXPECT_EQ(run(r), 0);
        EXPECT_NE(probe(r.entry_text).find("nb_read_frames=5"), std::string::npos);
        EXPECT_FALSE(frames_folder_left());
    }
}
