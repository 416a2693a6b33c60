// The IDF writer. Data lines are formatted into a large buffer and written in big blocks; the
// saves go through a temporary file renamed over the target, so the user's file is never left
// half-written.
#include "core/idf_writer.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "core/idf_format.h"
#include "core/idf_reader.h"
#include "core/line_reader.h"
#include "core/seams.h"
#include "formats/c3d_writer.h"
#include "formats/capture_format.h"
#include "formats/idf_header.h"
#include "formats/trc_writer.h"
#include "platform/file_replace.h"
#include "platform/regular_file.h"

const char* const IDF_TEMP_FILE_NAME = "#temporal_zemo#.###";

static std::string last_write_error;

const std::string& idf_write_error() { return last_write_error; }

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

static bool nothing_to_write() {
    if (app.header && app.current_layer != 0) return false;
    last_write_error = "no capture is open";
    return true;
}

int idf_write(const std::string& path) {
    last_write_error.clear();
    if (nothing_to_write()) return 1;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        last_write_error = "cannot create " + path + ": " + std::strerror(errno);
        return 1;
    }
    status_set(" Saving File... ");
    bool ok = idf_write_stream(app, *idf_header_at_save(app), out);
    int error = errno;
    if (std::fclose(out) != 0 && ok) ok = false, error = errno;
    if (!ok) {
        last_write_error = "writing " + path + " failed: " + std::strerror(error ? error : EIO);
        return 1;
    }
    status_set(" File Saved Successfully");
    return 0;
}

SharedText idf_header_at_save(const CaptureData& data) {
    if (data.source_format != CaptureFormat::idf || data.file_name.empty()) return data.header;
    std::string reason;
    FILE* file = open_regular_file(data.file_name, reason);
    if (!file) return data.header;
    LineReader in(file);
    CaptureData opened;
    std::string first_data_line;
    IdfError error;
    const bool readable = idf_parse_header(in, data.file_name, opened, first_data_line, error) == 0;
    std::fclose(file);
    // A header that announces other columns or frames would make the saved file unreadable.
    if (!readable || opened.num_columns != data.num_columns || opened.num_frames != data.num_frames) return data.header;
    return opened.header;
}

// An IDF file holds a whole rate: one that is not whole was written rounded, and the user is told.
static void warn_rate_rounded(const std::string& path) {
    const int written = idf_whole_rate(app.capture_rate);
    if (written == app.capture_rate) return;
    show_message("The capture rate of " + format_rate(app.capture_rate) + " Hz is not a whole number: " + path +
                     " holds it as " + std::to_string(written) + " Hz, the nearest whole rate an IDF file can hold.",
                 MESSAGE_WARNING, BUTTONS_OK);
}

// Writes the working copy over `target` through the temporary file, in the given format.
static ReplaceFailure write_replacing(const std::string& target, CaptureFormat format) {
    status_set(" Saving File... ");
    const SharedText header = format == CaptureFormat::idf ? idf_header_at_save(app) : nullptr;
    const ReplaceFailure failure = replace_file(target, IDF_TEMP_FILE_NAME, [&](FILE* out) {
        switch (format) {
        case CaptureFormat::c3d: return c3d_write_stream(app, out);
        case CaptureFormat::trc: return trc_write_stream(app, out, target);
        default: return idf_write_stream(app, header ? *header : std::string(), out);
        }
    });
    if (!failure.failed()) {
        status_set(" File Saved Successfully");
        if (format == CaptureFormat::idf) warn_rate_rounded(target);
    }
    return failure;
}

int idf_save() {
    if (nothing_to_write() || app.file_name.empty()) {
        show_error(std::string("Error saving temporal file:\n ") + IDF_TEMP_FILE_NAME + "\n no capture is open");
        return 1;
    }
    // The file is written back in its own format: a C3D or TRC file never becomes IDF text.
    const ReplaceFailure failure = write_replacing(app.file_name, app.source_format);
    if (!failure.failed()) {
        app.samples_changed = false;
        return 0;
    }
    if (failure.at_temporary) {
        show_error(std::string("Error saving temporal file:\n ") + IDF_TEMP_FILE_NAME + "\n " + failure.reason);
    } else {
        show_error("Error saving file:\n " + app.file_name + "\n " + failure.reason);
    }
    return 1;
}

int idf_save_as(const std::string& path) {
    const std::string failure = nothing_to_write() ? last_write_error
                                                   : write_replacing(path, capture_format_of_name(path)).reason;
    if (failure.empty()) app.samples_changed = false;
    if (failure.empty()) return 0;
    show_error("Error saving file:\n " + path + "\n " + failure);
    return 1;
}
