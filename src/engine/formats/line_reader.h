// Reads text line by line from a file or from memory, fast enough for captures of millions of
// lines. Lines come without their line end; "\r\n" ends a line like "\n".
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mapped_file.h"

class LineReader {
public:
    // Reads from text held by the caller, which must outlive the reader.
    explicit LineReader(std::string_view text);
    // Reads from an open stream (not closed by the reader). A stream that is not a regular
    // file is read whole first, so that the remaining size is always known.
    explicit LineReader(FILE* stream);

    // The next line, valid until the following call; false at the end of the text.
    bool next(std::string_view& line);
    // How the line last returned ended ("\r\n", "\n", nothing at the end of the text), valid
    // as long as the line.
    std::string_view line_end() const { return line_end_; }
    // 1-based number of the line last returned.
    long long line_number() const { return line_number_; }
    // Bytes not yet returned as lines: what the rest of the input can hold.
    long long remaining_bytes() const { return total_bytes_ - consumed_bytes_; }
    // True when a read from the stream failed (as opposed to reaching its end).
    bool failed() const { return failed_; }
    // Everything not yet returned, as one piece of memory: the caller's text, the stream read
    // whole, or a regular file mapped. It stays valid as long as the reader, which is then at
    // its end. False, with the reader unchanged, when the file cannot be mapped.
    bool rest(std::string_view& text);

private:
    bool refill();

    FILE* stream_ = nullptr;
    std::vector<char> buffer_;
    const char* data_ = nullptr;  // the text being split: the caller's, or buffer_
    size_t begin_ = 0;
    size_t end_ = 0;
    bool at_eof_ = false;
    bool failed_ = false;
    long long line_number_ = 0;
    std::string_view line_end_;
    long long total_bytes_ = 0;
    long long consumed_bytes_ = 0;
    MappedFile mapped_;
};
