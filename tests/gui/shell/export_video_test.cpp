// zemo --export-video, run as a user runs it: the video read back by ffprobe, and a failed
// export that leaves nothing behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "support/test_support.h"

namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace

TEST(ExportVideo, FramesOfACaptureMakeAVideoOfTheirLengthAtItsRate) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (the test suite runs under Xvfb)";
    TempDir dir;
    const std::string capture = dir.path("walk.idf");
    write_file(capture, make_idf_text(100, 4, 150, [](int m, int f, int a) { return m * 100.0 + f + a * 50; }));
    const std::string video = dir.path("walk.mp4");
    std::string err;
    ASSERT_EQ(run_command(build_path("zemo") + " --export-video " + quoted(video) + " --from 0 --to 99 --size 320,240 " +
                              quoted(capture),
                          nullptr, &err),
              0)
        << err;
    std::string probe;
    ASSERT_EQ(run_command("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                          "stream=nb_read_frames,width,height,codec_name,pix_fmt:format=duration -of default=nw=1 " +
                              quoted(video),
                          &probe),
              0);
    EXPECT_NE(probe.find("nb_read_frames=100"), std::string::npos) << probe;
    EXPECT_NE(probe.find("duration=1.00"), std::string::npos) << probe;
    EXPECT_NE(probe.find("codec_name=h264"), std::string::npos) << probe;
    EXPECT_NE(probe.find("pix_fmt=yuv420p"), std::string::npos) << probe;
    EXPECT_NE(probe.find("width=320"), std::string::npos) << probe;

    // Frames outside the capture are refused before anything is written.
    const std::string refused = dir.path("refused.mp4");
    EXPECT_EQ(run_command(build_path("zemo") + " --export-video " + quoted(refused) + " --from 100 --to 200 " +
                              quoted(capture),
                          nullptr, &err),
              1);
    EXPECT_NE(err.find("frames to export"), std::string::npos) << err;
    // An AVI that ffmpeg cannot write (a folder that does not exist) leaves no partial file.
    const std::string nowhere = dir.path("missing/walk.avi");
    EXPECT_EQ(run_command(build_path("zemo") + " --export-video " + quoted(nowhere) + " " + quoted(capture), nullptr, &err), 1);
    EXPECT_NE(err.find("ffmpeg"), std::string::npos) << err;
    EXPECT_FALSE(exists(nowhere) || exists(nowhere + ".part"));
    EXPECT_EQ(run_command(build_path("zemo") + " --export-video " + quoted(video), nullptr, &err), 2);
}
