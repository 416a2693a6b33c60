// How the three C3D processor types store numbers: Intel is little-endian IEEE, DEC keeps
// little-endian integers but VAX F floats, MIPS is big-endian IEEE.
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
