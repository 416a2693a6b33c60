// Opening and saving layers. An IDF file is read from the stream, its data section on every core;
// a C3D file is mapped, TRC files are read whole into memory first (their readers check every
// count against the bytes held). Saves go through a temporary file renamed over the target, so the user's file
// is never left half-written.
#include "engine/formats/capture_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/formats/capture_format.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/formats/idf/idf_header.h"
#include "engine/formats/idf/idf_reader.h"
#include "engine/formats/idf/idf_writer.h"
#include "engine/formats/line_reader.h"
#include "engine/formats/trc/trc_reader.h"
#include "engine/formats/trc/trc_writer.h"
#include "engine/model/seams.h"
#include "platform/file_replace.h"
#include "platform/mapped_file.h"
#include "platform/regular_file.h"

const char* const IDF_TEMP_FILE_NAME = "#temporal_zemo#.###";

namespace {

// Appends the rest of the stream to `bytes`; false when a read fails.
bool read_rest(FILE* file, std::string& bytes, long long size_hint) {
    if (size_hint > 0) bytes.reserve(static_cast<size_t>(size_hint));
    char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    return std::ferror(file) == 0;
}

}  // namespace

int capture_read_stream(FILE* file, const std::string& name, CaptureData& out, ReadError& error,
                        std::vector<std::string>* warnings) {
    error = {};
    if (warnings) warnings->clear();
    struct stat info {};
    const bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    char head[16];
    const size_t got = std::fread(head, 1, sizeof head, file);
    const CaptureFormat format = capture_format_of_content({head, got});
    if (format == CaptureFormat::idf && regular && std::fseek(file, 0, SEEK_SET) == 0) {
        LineReader in(file);
        return idf_parse_lines(in, name, out, error);
    }
    MappedFile mapped;
    if (format == CaptureFormat::c3d && regular && mapped.map(fileno(file))) {
        status_set(" Opening file... ");
        return c3d_parse_mapped(mapped, name, out, error, warnings);
    }
    // A stream that cannot go back to its start is read whole, the head included.
    std::string bytes(head, got);
    if (!read_rest(file, bytes, regular ? static_cast<long long>(info.st_size) : 0)) {
        error.text = "Error opening file:\n " + name + "\n The file could not be read.";
        return 1;
    }
    if (format == CaptureFormat::idf) {
        LineReader in(bytes);
        return idf_parse_lines(in, name, out, error);
    }
    status_set(" Opening file... ");
    return format == CaptureFormat::c3d ? c3d_parse(bytes, name, out, error, warnings)
                                        : trc_parse(bytes, name, out, error);
}

static std::string opening_error(const std::string& name, const std::string& what) {
    return "Error opening file:\n " + name + "\n " + what;
}

static int lowest_free_slot() {
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (!app.layers[n].in_use) return n;
    }
    return 0;
}

Status capture_read_layer(const std::string& path, std::vector<std::string>* warnings) {
    if (warnings) warnings->clear();
    if (app.open_count >= MAX_LAYERS || lowest_free_slot() == 0) {
        return Status::failure("You can't open more than 10 files");
    }
    std::string reason;
    FILE* file = open_regular_file(path, reason);
    if (!file) {
        // A file that cannot be opened fails quietly; one that is no file to read says so.
        const std::string message = opening_error(path, reason);
        return reason == NOT_A_REGULAR_FILE ? Status::failure(message) : Status::quiet_failure(message);
    }
    CaptureData loaded;
    ReadError error;
    std::vector<std::string> found;
    const int status = capture_read_stream(file, path, loaded, error, &found);
    std::fclose(file);
    if (status != 0) {
        if (error.text.empty()) return Status::quiet_failure(opening_error(path, "It is not a complete IDF capture."));
        return Status::failure(error.text);
    }
    status_set(" File opened successfully ");
    if (!found.empty()) {
        std::string text = " File opened with repairs:";
        for (const std::string& warning : found) text += " " + warning;
        status_set(text);
    }
    if (warnings) *warnings = std::move(found);

    // The layer being left keeps what was done to it since it was last stored.
    if (app.current_layer != 0) layer_store(app.current_layer);
    ++app.open_count;
    const int slot = lowest_free_slot();
    loaded.source_path = path;
    loaded.file_name = path;
    static_cast<CaptureData&>(app) = std::move(loaded);
    static_cast<LayerPlacement&>(app.layers[slot]) = LayerPlacement{};
    app.current_layer = slot;
    layer_store(slot);
    show_layer_row(slot);
    return {};
}

int idf_read(const std::string& path) { return show_failure(capture_read_layer(path)); }

static const char* const NOTHING_OPEN = "no capture is open";

// Only a capture read from a file has a header: the working copy has none while no layer is open.
static bool nothing_to_write(const CaptureData& data) { return !data.header; }

Status capture_write(const CaptureData& data, const std::string& path) {
    if (nothing_to_write(data)) return Status::failure(NOTHING_OPEN);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return Status::failure("cannot create " + path + ": " + std::strerror(errno));
    status_set(" Saving File... ");
    bool ok = idf_write_stream(data, *idf_header_at_save(data), out);
    int error = errno;
    if (std::fclose(out) != 0 && ok) ok = false, error = errno;
    if (!ok) return Status::failure("writing " + path + " failed: " + std::strerror(error ? error : EIO));
    status_set(" File Saved Successfully");
    return {};
}

int idf_write(const std::string& path) { return capture_write(app, path).ok() ? 0 : 1; }

// An IDF file holds a whole rate: one that is not whole was written rounded, and the user is told.
static void warn_rate_rounded(const CaptureData& data, const std::string& path) {
    const int written = idf_whole_rate(data.capture_rate);
    if (written == data.capture_rate) return;
    show_message("The capture rate of " + format_rate(data.capture_rate) + " Hz is not a whole number: " + path +
                     " holds it as " + std::to_string(written) + " Hz, the nearest whole rate an IDF file can hold.",
                 MESSAGE_WARNING, BUTTONS_OK);
}

// Writes the capture over `target` through the temporary file, in the given format.
static ReplaceFailure write_replacing(const CaptureData& data, const std::string& target, CaptureFormat format) {
    status_set(" Saving File... ");
    const SharedText header = format == CaptureFormat::idf ? idf_header_at_save(data) : nullptr;
    const ReplaceFailure failure = replace_file(target, IDF_TEMP_FILE_NAME, [&](FILE* out) {
        switch (format) {
        case CaptureFormat::c3d: return c3d_write_stream(data, out);
        case CaptureFormat::trc: return trc_write_stream(data, out, target);
        default: return idf_write_stream(data, header ? *header : std::string(), out);
        }
    });
    if (!failure.failed()) {
        status_set(" File Saved Successfully");
        if (format == CaptureFormat::idf) warn_rate_rounded(data, target);
    }
    return failure;
}

static std::string temporary_file_error(const std::string& reason) {
    return std::string("Error saving temporal file:\n ") + IDF_TEMP_FILE_NAME + "\n " + reason;
}

static std::string saving_error(const std::string& path, const std::string& reason) {
    return "Error saving file:\n " + path + "\n " + reason;
}

Status capture_save(CaptureData& data) {
    if (nothing_to_write(data) || data.file_name.empty()) return Status::failure(temporary_file_error(NOTHING_OPEN));
    // The file is written back in its own format: a C3D or TRC file never becomes IDF text.
    const ReplaceFailure failure = write_replacing(data, data.file_name, data.source_format);
    if (!failure.failed()) {
        data.samples_changed = data.events_changed = false;
        return {};
    }
    if (failure.at_temporary) return Status::failure(temporary_file_error(failure.reason));
    return Status::failure(saving_error(data.file_name, failure.reason));
}

int idf_save() { return show_failure(capture_save(app)); }

Status capture_save_as(CaptureData& data, const std::string& path) {
    if (nothing_to_write(data)) return Status::failure(saving_error(path, NOTHING_OPEN));
    const ReplaceFailure failure = write_replacing(data, path, capture_format_of_name(path));
    if (failure.failed()) return Status::failure(saving_error(path, failure.reason));
    data.samples_changed = data.events_changed = false;
    return {};
}

int idf_save_as(const std::string& path) { return show_failure(capture_save_as(app, path)); }
