// Line splitting across buffer refills, with both kinds of line end.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/formats/line_reader.h"

static std::vector<std::string> all_lines(LineReader& in) {
    std::vector<std::string> lines;
    std::string_view line;
    while (in.next(line)) lines.emplace_back(line);
    return lines;
}

TEST(LineReader, SplitsLfAndCrLfAndAnUnterminatedLastLine) {
    LineReader in("a\r\nbb\n\nccc");
    EXPECT_EQ(all_lines(in), (std::vector<std::string>{"a", "bb", "", "ccc"}));
    EXPECT_EQ(in.line_number(), 4);
    EXPECT_EQ(in.remaining_bytes(), 0);
}

TEST(LineReader, ReadsLinesLongerThanItsBufferFromAFile) {
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const std::string long_line(3 * 1024 * 1024 + 17, 'x');
    std::fprintf(file, "first\r\n%s\nlast\n", long_line.c_str());
    std::rewind(file);
    LineReader in(file);
    EXPECT_EQ(in.remaining_bytes(), static_cast<long long>(long_line.size()) + 13);
    const auto lines = all_lines(in);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], long_line);
    EXPECT_EQ(lines[2], "last");
    std::fclose(file);
}

TEST(LineReader, TakesAStreamWithoutSizeWhole) {
    std::string text = "one\ntwo\n";
    FILE* memory = fmemopen(text.data(), text.size(), "r");
    ASSERT_NE(memory, nullptr);
    LineReader in(memory);
    EXPECT_EQ(in.remaining_bytes(), 8);
    EXPECT_EQ(all_lines(in), (std::vector<std::string>{"one", "two"}));
    std::fclose(memory);
}
