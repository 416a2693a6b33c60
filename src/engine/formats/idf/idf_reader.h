// Reading IDF capture files into a new layer.
#pragma once

#include <string>
#include <vector>

#include "core/capture_model.h"
#include "core/line_reader.h"

// Why a parse failed. An empty text means a failure the reader reports without a message box.
struct IdfError {
    std::string text;
};

// The header: labels, column names and the lines up to the first data line, which is handed
// back in first_data_line. `name` is the file name used in messages.
int idf_parse_header(LineReader& in, const std::string& name, CaptureData& out, std::string& first_data_line,
                     IdfError& error);
// The F x N data lines, first_data_line and those that follow it in `in`, into the samples of
// `out`, counting lost coordinates.
int idf_parse_data(LineReader& in, const std::string& name, std::string_view first_data_line, CaptureData& out,
                   IdfError& error);
// Both, for text held in memory.
int idf_parse(std::string_view text, const std::string& name, CaptureData& out, IdfError& error);
// Both, pushing " Opening file... " on the status bar once the header is read; `out` changes
// only on success.
int idf_parse_lines(LineReader& in, const std::string& name, CaptureData& out, IdfError& error);

// Reads the file at `path` as a new layer in the lowest free slot and makes it current. The file
// may be IDF, C3D or TRC, told apart by its content (formats/capture_loader.h).
// Returns 0 on success; on failure shows the message (if the failure has one) and changes nothing.
// A file that had to be repaired to be read says what was wrong on the status bar.
int idf_read(const std::string& path);
// What was wrong with the file the last idf_read opened (empty when nothing was).
const std::vector<std::string>& idf_read_warnings();
