// A C3D file read from disk, mapped and handed back as its frames are decoded, gives what the
// same bytes give read from memory.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/capture_io.h"
#include "support/c3d_test_builder.h"
#include "support/test_support.h"

TEST(C3dMappedRead, ReadsAsFromMemoryPastManyHandedBackBlocks) {
    C3dBuild build;
    build.frames = 30000;  // about 6 MB of frames
    build.labels = {"A", "B", "C", "D", "E", "F", "G", "H", "LHipAngles", "I", "J", "K"};
    build.label_groups = {{"ANGLES", {"LHipAngles"}}};
    build.analog_channels = 2;
    build.analog_per_frame = 2;
    build.point = [](int p, int f) {
        return std::array<double, 4>{p * 10.0 + f * 0.5, -f * 0.25, 3.0 * p, f % 700 == p ? -1.0 : f % 3};
    };
    const std::string bytes = build_c3d(build);
    TempDir dir;
    write_file(dir.path("big.c3d"), bytes);

    CaptureData in_memory, mapped;
    ReadError error;
    ASSERT_EQ(c3d_parse(bytes, "big.c3d", in_memory, error), 0) << error.text;
    FILE* file = std::fopen(dir.path("big.c3d").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(capture_read_stream(file, "big.c3d", mapped, error, nullptr), 0) << error.text;
    std::fclose(file);

    ASSERT_EQ(mapped.mark_count(), 11);
    EXPECT_EQ(mapped.error_count, in_memory.error_count);
    for (int m = 0; m < mapped.mark_count(); ++m) {
        EXPECT_EQ(std::memcmp(mapped.channels[m].samples.get(), in_memory.channels[m].samples.get(),
                              sizeof(Sample) * build.frames), 0) << m;
        EXPECT_EQ(std::memcmp(mapped.channels[m].residuals.get(), in_memory.channels[m].residuals.get(),
                              sizeof(float) * build.frames), 0) << m;
    }
    EXPECT_EQ(mapped.c3d_source->others, in_memory.c3d_source->others);
    EXPECT_EQ(mapped.c3d_source->section, in_memory.c3d_source->section);
    EXPECT_EQ(mapped.c3d_source->lost_words, in_memory.c3d_source->lost_words);
}
