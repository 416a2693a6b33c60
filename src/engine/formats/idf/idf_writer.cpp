// The IDF writer. Data lines are formatted into a large buffer and written in big blocks.
#include "engine/formats/idf/idf_writer.h"

#include <charconv>

#include "engine/formats/capture_format.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/formats/idf/idf_reader.h"
#include "engine/formats/line_reader.h"
#include "platform/regular_file.h"

namespace {

constexpr size_t FLUSH_BYTES = 1 << 20;

class BlockWriter {
public:
    explicit BlockWriter(FILE* out) : out_(out) { buffer_.reserve(FLUSH_BYTES + 1024); }

    void append(std::string_view text) { buffer_.append(text); }

    // One data line, "%d \t%d \t%s\n".
    void data_line(int column, int frame, double value) {
        char line[3 * 16 + IDF_VALUE_CAPACITY];
        char* p = std::to_chars(line, line + 16, column).ptr;
        *p++ = ' ';
        *p++ = '\t';
        p = std::to_chars(p, p + 16, frame).ptr;
        *p++ = ' ';
        *p++ = '\t';
        p += idf_format_value(value, p);
        *p++ = '\n';
        buffer_.append(line, p);
        if (buffer_.size() >= FLUSH_BYTES) flush();
    }

    bool flush() {
        if (ok_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
            ok_ = false;
        }
        buffer_.clear();
        return ok_;
    }

private:
    FILE* out_;
    std::string buffer_;
    bool ok_ = true;
};

}  // namespace

bool idf_write_stream(const CaptureData& data, FILE* out) {
    return idf_write_stream(data, data.header ? *data.header : std::string(), out);
}

bool idf_write_stream(const CaptureData& data, const std::string& header, FILE* out) {
    BlockWriter writer(out);
    writer.append(header);
    const int marks = data.mark_count();
    for (int f = 0; f < data.num_frames; ++f) {
        for (int m = 0; m < marks; ++m) {
            const Sample& sample = data.channels[m].samples[f];
            writer.data_line(3 * m, f, sample.x);
            writer.data_line(3 * m + 1, f, sample.y);
            writer.data_line(3 * m + 2, f, sample.z);
        }
        // Columns past the last whole mark belong to no mark; they are written lost so that the
        // file still holds the lines its header announces.
        for (int column = 3 * marks; column < data.num_columns; ++column) writer.data_line(column, f, LOST_VALUE);
    }
    return writer.flush();
}

SharedText idf_header_at_save(const CaptureData& data) {
    if (data.source_format != CaptureFormat::idf || data.file_name.empty()) return data.header;
    std::string reason;
    FILE* file = open_regular_file(data.file_name, reason);
    if (!file) return data.header;
    LineReader in(file);
    CaptureData opened;
    std::string first_data_line;
    ReadError error;
    const bool readable = idf_parse_header(in, data.file_name, opened, first_data_line, error) == 0;
    std::fclose(file);
    // A header that announces other columns or frames would make the saved file unreadable.
    if (!readable || opened.num_columns != data.num_columns || opened.num_frames != data.num_frames) return data.header;
    return opened.header;
}
