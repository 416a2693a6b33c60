// The text form of IDF data lines: "column \tframe \tvalue", numbers with "." as decimal
// separator whatever the locale.
#pragma once

#include <string>
#include <string_view>

// Room for any double printed with six decimals.
constexpr int IDF_VALUE_CAPACITY = 340;

// Six decimals as "%f" prints them, then trailing zeros removed (the point stays: 3.0 -> "3.").
// Writes into out, which holds IDF_VALUE_CAPACITY characters, and returns the length.
int idf_format_value(double value, char* out);
std::string idf_format_value(double value);

// A rate as its file wrote it: the shortest decimal that reads back as the same number, as a
// float when it is one (C3D keeps rates as floats: 59.94f, 59.93999863 as a double, gives
// "59.94"), never with an exponent; 100 gives "100".
std::string format_rate(double rate);

// Splits a data line into its three fields. A value without a decimal point is read as well.
// False when the line is not three numbers or the value is not finite.
bool idf_parse_data_line(std::string_view line, int& column, int& frame, double& value);
