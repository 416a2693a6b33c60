// How the three C3D processor types store numbers: Intel is little-endian IEEE, DEC keeps
// little-endian integers but VAX F floats, MIPS is big-endian IEEE. Reading and writing both.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

enum class C3dProcessor : uint8_t { intel = 84, dec = 85, mips = 86 };

inline bool c3d_known_processor(int code) { return code >= 84 && code <= 86; }

inline uint16_t c3d_uint16(const unsigned char* p, C3dProcessor processor) {
    return processor == C3dProcessor::mips ? static_cast<uint16_t>(p[0] << 8 | p[1])
                                           : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

inline int16_t c3d_int16(const unsigned char* p, C3dProcessor processor) {
    return static_cast<int16_t>(c3d_uint16(p, processor));
}

// A VAX F float is sign, 8-bit exponent and 23-bit fraction like IEEE, with the exponent biased
// by two more and the two 16-bit halves in the other order. An exponent of 0 is zero (or, with
// the sign set, the reserved operand, which has no value); there are no infinities.
inline double c3d_dec_float(const unsigned char* p) {
    const uint32_t bits = static_cast<uint32_t>(p[1]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                          static_cast<uint32_t>(p[3]) << 8 | p[2];
    const int exponent = static_cast<int>(bits >> 23 & 0xff);
    const bool negative = bits >> 31;
    if (exponent == 0) return negative ? std::numeric_limits<double>::quiet_NaN() : 0.0;
    const double magnitude = std::ldexp(1.0 + (bits & 0x7fffff) / 8388608.0, exponent - 129);
    return negative ? -magnitude : magnitude;
}

inline float c3d_ieee_float(const unsigned char* p, bool big_endian) {
    uint32_t bits = big_endian ? (static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                                  static_cast<uint32_t>(p[2]) << 8 | p[3])
                               : (static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 |
                                  static_cast<uint32_t>(p[1]) << 8 | p[0]);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline double c3d_float(const unsigned char* p, C3dProcessor processor) {
    if (processor == C3dProcessor::dec) return c3d_dec_float(p);
    return c3d_ieee_float(p, processor == C3dProcessor::mips);
}

inline void c3d_put_uint16(unsigned char* p, uint16_t word, C3dProcessor processor) {
    if (processor == C3dProcessor::mips) {
        p[0] = static_cast<unsigned char>(word >> 8);
        p[1] = static_cast<unsigned char>(word & 0xff);
    } else {
        p[0] = static_cast<unsigned char>(word & 0xff);
        p[1] = static_cast<unsigned char>(word >> 8);
    }
}

inline void c3d_put_int16(unsigned char* p, int16_t word, C3dProcessor processor) {
    c3d_put_uint16(p, static_cast<uint16_t>(word), processor);
}

// The VAX F encoding of `value`, rounded to its 24 significant bits. Magnitudes too small for
// it become 0, too large the largest it holds; a value that is no number becomes 0.
inline void c3d_put_dec_float(unsigned char* p, double value) {
    uint32_t bits = 0;
    if (std::isfinite(value) && value != 0) {
        int exponent;
        const double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
        auto mantissa = static_cast<uint32_t>(std::nearbyint(std::ldexp(fraction, 24)));
        if (mantissa == 1u << 24) mantissa >>= 1, ++exponent;
        const int field = exponent + 128;
        if (field > 255) bits = 0x7fffffff;
        else if (field >= 1) bits = static_cast<uint32_t>(field) << 23 | (mantissa & 0x7fffff);
        if (bits != 0 && value < 0) bits |= 0x80000000u;
    }
    p[0] = static_cast<unsigned char>(bits >> 16 & 0xff);
    p[1] = static_cast<unsigned char>(bits >> 24);
    p[2] = static_cast<unsigned char>(bits & 0xff);
    p[3] = static_cast<unsigned char>(bits >> 8 & 0xff);
}

inline void c3d_put_ieee_float(unsigned char* p, float value, bool big_endian) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        const int shift = big_endian ? 24 - 8 * i : 8 * i;
        p[i] = static_cast<unsigned char>(bits >> shift & 0xff);
    }
}

inline void c3d_put_float(unsigned char* p, double value, C3dProcessor processor) {
    if (processor == C3dProcessor::dec) c3d_put_dec_float(p, value);
    else c3d_put_ieee_float(p, static_cast<float>(value), processor == C3dProcessor::mips);
}
