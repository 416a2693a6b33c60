// The IDF parser: the header and the data section of an IDF capture, from a stream of lines or
// from text in memory, into a capture record.
#pragma once

#include <string>
#include <string_view>

#include "engine/formats/line_reader.h"
#include "engine/formats/read_error.h"
#include "engine/model/capture_model.h"

// The header: labels, column names and the lines up to the first data line, which is handed
// back in first_data_line. `name` is the file name used in messages.
int idf_parse_header(LineReader& in, const std::string& name, CaptureData& out, std::string& first_data_line,
                     ReadError& error);
// The F x N data lines, first_data_line and those that follow it in `in`, into the samples of
// `out`, counting lost coordinates.
int idf_parse_data(LineReader& in, const std::string& name, std::string_view first_data_line, CaptureData& out,
                   ReadError& error);
// Both, for text held in memory.
int idf_parse(std::string_view text, const std::string& name, CaptureData& out, ReadError& error);
// Both, pushing " Opening file... " on the status bar once the header is read; `out` changes
// only on success.
int idf_parse_lines(LineReader& in, const std::string& name, CaptureData& out, ReadError& error);
