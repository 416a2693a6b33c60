// The TRC reader: the header's keys in any order, names every third field, lost fields, line
// ends from Windows, and files whose counts do not hold.
#include <gtest/gtest.h>

#include "engine/formats/trc/trc_reader.h"

namespace {

const std::string header =
    "PathFileType\t4\t(X/Y/Z)\twalk.trc\n"
    "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\tOrigDataRate\tOrigDataStartFrame\tOrigNumFrames\n"
    "59.94\t60.00\t3\t2\tmm\t60.00\t1\t3\n"
    "Frame#\tTime\tR.ASIS\t\t\tL ASIS\t\t\n"
    "\t\tX1\tY1\tZ1\tX2\tY2\tZ2\n"
    "\n";

std::string problem_of(const std::string& text) {
    CaptureData out;
    ReadError error;
    EXPECT_EQ(trc_parse(text, "walk.trc", out, error), 1);
    EXPECT_EQ(out.num_columns, 0);
    EXPECT_EQ(error.text.rfind("Error opening file:\n walk.trc\n ", 0), 0u) << error.text;
    return error.text;
}

}  // namespace

TEST(TrcRead, ReadsNamesRateAndRowsWithEmptyAndBadFieldsLost) {
    const std::string text = header +
                             "1\t0.000\t1.5\t2\t3\t4\t5\t6\n"
                             "2\t0.017\t\t8\t9\t10\tNaN\t12\n"
                             "3\t0.033\t13\t14\t15\n"
                             "\n";
    CaptureData out;
    ReadError error;
    ASSERT_EQ(trc_parse(text, "walk.trc", out, error), 0) << error.text;
    EXPECT_EQ(out.capture_rate, 59.94);
    EXPECT_EQ(out.units, "mm");
    EXPECT_EQ(out.first_frame, 1);
    EXPECT_EQ(out.num_frames, 3);
    ASSERT_EQ(out.num_columns, 6);
    EXPECT_EQ(out.source_format, CaptureFormat::trc);
    EXPECT_EQ(out.channels[0].name_text(), "R.ASIS");
    EXPECT_EQ(out.channels[1].name_text(), "L_ASIS");
    EXPECT_EQ(out.channels[0].samples[0].x, 1.5);
    EXPECT_EQ(out.channels[1].samples[0].z, 6);
    EXPECT_TRUE(is_lost(out.channels[0].samples[1].x));
    EXPECT_EQ(out.channels[0].samples[1].y, 8);
    EXPECT_TRUE(is_lost(out.channels[1].samples[1].y));
    EXPECT_EQ(out.channels[0].samples[2].z, 15);
    EXPECT_TRUE(is_lost(out.channels[1].samples[2].x));  // a short row: the missing fields are lost
    EXPECT_EQ(out.error_count, 5);
    EXPECT_NE(out.header->find("R.ASIS_x_ 0\nR.ASIS_y_ 1\nR.ASIS_z_ 2\nL_ASIS_x_ 3\n"), std::string::npos);
}

TEST(TrcRead, WindowsLineEndsAndKeysInAnotherOrder) {
    const std::string text =
        "PathFileType\t4\t(X/Y/Z)\tw.trc\r\n"
        "NumMarkers\tNumFrames\tDataRate\r\n"
        "1\t  2\t120\r\n"
        "Frame#\tTime\t\r\n"
        "\t\tX1\tY1\tZ1\r\n"
        "1\t0\t1\t2\t3\r\n"
        "2\t0.008\t4\t5\t6\r\n";
    CaptureData out;
    ReadError error;
    ASSERT_EQ(trc_parse(text, "w.trc", out, error), 0) << error.text;
    EXPECT_EQ(out.capture_rate, 120);
    EXPECT_EQ(out.channels[0].name_text(), "M001");
    EXPECT_EQ(out.channels[0].samples[1].z, 6);
    EXPECT_EQ(out.error_count, 0);
}

TEST(TrcRead, FilesWhoseCountsDoNotHoldAreRefused) {
    const std::string rows = "1\t0\t1\t2\t3\t4\t5\t6\n2\t0\t1\t2\t3\t4\t5\t6\n3\t0\t1\t2\t3\t4\t5\t6\n";
    EXPECT_NE(problem_of(header + rows.substr(0, rows.size() - 16)).find("NumFrames is 3 but the file holds 2 rows"),
              std::string::npos);
    EXPECT_NE(problem_of(header + rows + "4\t0\t1\n").find("holds 4 rows"), std::string::npos);
    EXPECT_NE(problem_of(header.substr(0, 120)).find("ends inside the TRC header"), std::string::npos);
    EXPECT_NE(problem_of(header + "1\t0\t1\t2\t3\t4\t5\t6\t7\n2\t0\n3\t0\n").find("Line 7 holds more values"),
              std::string::npos);

    std::string many = header;
    many.replace(many.find("\t2\tmm"), 5, "\t1001\tmm");
    EXPECT_NE(problem_of(many + rows).find("NumMarkers 1001 is more marks than a layer holds (1000)"), std::string::npos);
    std::string named = header;
    named.replace(named.find("L ASIS\t\t\n"), 9, "L ASIS\t\t\tEXTRA\n");
    EXPECT_NE(problem_of(named + rows).find("Line 4 names more marks than NumMarkers (2)"), std::string::npos);
    std::string no_frames = header;
    no_frames.replace(no_frames.find("\t3\t2\tmm"), 2, "\tx");
    EXPECT_NE(problem_of(no_frames + rows).find("NumFrames is missing"), std::string::npos);
    // A huge NumFrames is refused from the rows counted, not from an allocation.
    std::string huge = header;
    huge.replace(huge.find("\t3\t2\tmm"), 2, "\t2000000000");
    EXPECT_NE(problem_of(huge + rows).find("NumFrames is 2000000000 but the file holds 3 rows"), std::string::npos);
}
