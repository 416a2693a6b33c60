// A decimal with at most fourteen digits, at most seven on each side of its point, is an integer
// below 2^53 divided by an exact power of ten: one IEEE division rounds it exactly as a full
// decimal conversion would. Its digits are read eight bytes at a time. Anything else (longer
// numbers, exponents, inf and nan, the last bytes of the text) goes to std::from_chars.
#include "engine/formats/idf/idf_number.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

constexpr double POWERS_OF_TEN[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};
constexpr uint64_t INTEGER_POWERS_OF_TEN[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
constexpr uint64_t ONES = 0x0101010101010101;

// Eight bytes of text, the first in the lowest byte, each less '0'.
inline uint64_t window(const char* p) {
    uint64_t bytes;
    std::memcpy(&bytes, p, 8);
    return bytes - ONES * '0';
}

// How many of the window's bytes, from the first, are digits. A byte before the first
// non-digit is 0..9 and borrows nothing, so the first non-digit is seen exactly.
inline int digits_in(uint64_t w) {
    const uint64_t not_digit = (w | (w + ONES * 0x76)) & (ONES * 0x80);
    return not_digit ? __builtin_ctzll(not_digit) / 8 : 8;
}

// The number the first `count` (1 to 7) digits of the window make.
inline uint64_t value_of(uint64_t w, int count) {
    w <<= 8 * (8 - count);  // leading zeros in front
    w = w * 10 + (w >> 8);
    return (((w & 0x000000FF000000FF) * 0x000F424000000064) +
            (((w >> 16) & 0x000000FF000000FF) * 0x0000271000000001)) >> 32;
}

inline uint64_t value_or_zero(uint64_t w, int count) { return count ? value_of(w, count) : 0; }

const char* general_int(const char* p, const char* end, int& value) {
    const auto result = std::from_chars(p, end, value);
    return result.ec == std::errc{} ? result.ptr : nullptr;
}

const char* general_double(const char* p, const char* end, double& value) {
    const auto result = std::from_chars(p, end, value);
    return result.ec == std::errc{} ? result.ptr : nullptr;
}

}  // namespace

const char* idf_read_int(const char* p, const char* end, int& value) {
    // Column and frame numbers are short: digit by digit is quicker than a window. Nine digits
    // always fit an int; more, or a sign, or none, take the general way.
    const char* q = p;
    int n = 0;
    while (q < end && static_cast<unsigned char>(*q - '0') < 10 && q - p < 9) n = n * 10 + (*q++ - '0');
    if (q == p || (q < end && static_cast<unsigned char>(*q - '0') < 10)) return general_int(p, end, value);
    value = n;
    return q;
}

const char* idf_read_double(const char* p, const char* end, double& value) {
    // A sign, up to seven digits, a point and up to seven digits fit in these bytes.
    if (end - p < 17) return general_double(p, end, value);
    const char* q = p;
    const bool negative = *q == '-';
    q += negative;
    const uint64_t whole_window = window(q);
    const int whole_digits = digits_in(whole_window);
    if (whole_digits == 8) return general_double(p, end, value);
    q += whole_digits;
    int decimals = 0;
    uint64_t fraction = 0;
    if (*q == '.') {
        const uint64_t fraction_window = window(++q);
        decimals = digits_in(fraction_window);
        if (decimals == 8) return general_double(p, end, value);
        fraction = value_or_zero(fraction_window, decimals);
        q += decimals;
    }
    if (whole_digits + decimals == 0 || *q == 'e' || *q == 'E') return general_double(p, end, value);
    const uint64_t digits = value_or_zero(whole_window, whole_digits) * INTEGER_POWERS_OF_TEN[decimals] + fraction;
    const double magnitude = static_cast<double>(digits) / POWERS_OF_TEN[decimals];
    value = negative ? -magnitude : magnitude;
    return q;
}
