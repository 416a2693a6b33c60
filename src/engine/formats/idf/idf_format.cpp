// Locale-independent conversions for IDF data lines and rates.
#include "engine/formats/idf/idf_format.h"

#include <charconv>
#include <cmath>

#include "engine/formats/idf/idf_number.h"

int idf_format_value(double value, char* out) {
    const auto result = std::to_chars(out, out + IDF_VALUE_CAPACITY, value, std::chars_format::fixed, 6);
    char* end = result.ptr;
    bool has_point = false;
    for (char* p = out; p < end; ++p) has_point |= (*p == '.');
    if (has_point) {
        while (end[-1] == '0') --end;
    }
    return static_cast<int>(end - out);
}

std::string idf_format_value(double value) {
    char text[IDF_VALUE_CAPACITY];
    return std::string(text, idf_format_value(value, text));
}

std::string format_rate(double rate) {
    char text[IDF_VALUE_CAPACITY];
    const float single = static_cast<float>(rate);
    const auto result = static_cast<double>(single) == rate
                            ? std::to_chars(text, text + sizeof text, single, std::chars_format::fixed)
                            : std::to_chars(text, text + sizeof text, rate, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

static bool is_blank(char c) { return c == ' ' || c == '\t'; }

static const char* skip_blanks(const char* p, const char* end) {
    while (p < end && is_blank(*p)) ++p;
    return p;
}

bool idf_parse_data_line(std::string_view line, int& column, int& frame, double& value) {
    const char* p = line.data();
    const char* end = p + line.size();
    p = skip_blanks(p, end);
    p = idf_read_int(p, end, column);
    if (!p || p == end || !is_blank(*p)) return false;
    p = idf_read_int(skip_blanks(p, end), end, frame);
    if (!p || p == end || !is_blank(*p)) return false;
    p = skip_blanks(p, end);
    // from_chars takes no plus sign; other programs write one ("+23.5").
    if (p + 1 < end && *p == '+' && p[1] != '-') ++p;
    p = idf_read_double(p, end, value);
    if (!p || !std::isfinite(value)) return false;
    return skip_blanks(p, end) == end;
}
