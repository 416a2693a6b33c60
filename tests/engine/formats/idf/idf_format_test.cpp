// Data-line formatting and parsing, including under a locale whose decimal separator is a comma.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "engine/formats/idf/idf_format.h"

TEST(IdfFormatValue, PrintsSixDecimalsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } table[] = {
        {12.5, "12.5"},           {3.0, "3."},          {0.0, "0."},         {999999.0, "999999."},
        {3.14159265, "3.141593"}, {-0.25, "-0.25"},     {120.0, "120."},     {0.0000004, "0."},
        {1757.953566, "1757.953566"}, {37.12787, "37.12787"}, {-1234567.5, "-1234567.5"},
    };
    for (const auto& row : table) EXPECT_EQ(idf_format_value(row.value), row.text) << row.value;
}

TEST(IdfFormatValue, MatchesPrintfForAwkwardValues) {
    const double values[] = {0.1, 1.0 / 3.0, 2.0000005, 123456.7890125, 1e-7, 5e15, -999999.999999};
    for (double value : values) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%f", value);
        std::string trimmed = expected;
        while (trimmed.back() == '0') trimmed.pop_back();
        EXPECT_EQ(idf_format_value(value), trimmed);
    }
}

TEST(IdfParseDataLine, ReadsTheThreeFields) {
    int column = -1, frame = -1;
    double value = 0;
    ASSERT_TRUE(idf_parse_data_line("5 \t12 \t-3.25", column, frame, value));
    EXPECT_EQ(column, 5);
    EXPECT_EQ(frame, 12);
    EXPECT_DOUBLE_EQ(value, -3.25);
    ASSERT_TRUE(idf_parse_data_line("0\t0\t7", column, frame, value));
    EXPECT_DOUBLE_EQ(value, 7.0);
    ASSERT_TRUE(idf_parse_data_line("63 \t242 \t999999.  ", column, frame, value));
    EXPECT_DOUBLE_EQ(value, 999999.0);
    ASSERT_TRUE(idf_parse_data_line("1 \t2 \t+23.5", column, frame, value));
    EXPECT_DOUBLE_EQ(value, 23.5);
}

TEST(IdfParseDataLine, RefusesWhatIsNotThreeNumbers) {
    int column, frame;
    double value;
    for (const char* line : {"", "0 \t0", "0 \t0 \tabc", "0 \t0 \t1.5x", "x \t0 \t1", "0 \tx \t1", "0 \t0 \tnan",
                             "0 \t0 \tinf", "0 \t0 \t1e999", "0 \t0 \t1 \t2", "0 \t0 \t+-1", "0 \t0 \t+"}) {
        EXPECT_FALSE(idf_parse_data_line(line, column, frame, value)) << '"' << line << '"';
    }
}

TEST(IdfFormat, IgnoresALocaleWithDecimalComma) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the locale really is in force
    EXPECT_EQ(idf_format_value(1.5), "1.5");
    int column, frame;
    double value = 0;
    EXPECT_TRUE(idf_parse_data_line("1 \t2 \t1234.5678", column, frame, value));
    EXPECT_DOUBLE_EQ(value, 1234.5678);
    std::setlocale(LC_ALL, "C");
}
