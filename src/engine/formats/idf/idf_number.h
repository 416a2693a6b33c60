// Reading the numbers of IDF data lines quickly: the common shapes (a few digits, a value with
// up to nineteen digits around its point) are read directly, anything else through <charconv>,
// so that every result is the one std::from_chars gives, bit for bit.
#pragma once

// Like std::from_chars for an int: the end of the number read, or nullptr when there is none
// or it does not fit.
const char* idf_read_int(const char* p, const char* end, int& value);

// Like std::from_chars for a double in general format: the end of the number read, or nullptr
// when there is none or it is out of range.
const char* idf_read_double(const char* p, const char* end, double& value);
