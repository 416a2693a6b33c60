// An IDF file is read line by line from the stream, as it always was; C3D and TRC files are
// read whole into memory first (their readers check every count against the bytes held).
#include "formats/capture_loader.h"

#include <sys/stat.h>

#include "core/line_reader.h"
#include "core/seams.h"
#include "formats/c3d_reader.h"
#include "formats/capture_format.h"
#include "formats/trc_reader.h"

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

int capture_read_stream(FILE* file, const std::string& name, CaptureData& out, IdfError& error,
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
