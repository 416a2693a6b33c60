// Fuzz target: the C3D reader on bytes held in memory, and the writer on what it accepts: a
// file read is written back and must read again to the same marks.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "capture_checks.h"
#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_trial.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/gait/gait_events.h"
#include "engine/model/seams.h"

namespace {

// Lost coordinates once every point with one lost is lost whole, as C3D writes it (a coordinate
// read from the file can be past the lost threshold on its own).
int lost_as_points(const CaptureData& data) {
    int lost = 0;
    for (int m = 0; m < data.mark_count(); ++m) {
        for (int f = 0; f < data.num_frames; ++f) {
            const Sample& s = data.channels[m].samples[f];
            lost += is_lost(s.x) || is_lost(s.y) || is_lost(s.z) ? 3 : 0;
        }
    }
    return lost;
}

// Writes the capture into memory and reads it again into `again`; false when either fails, and
// nothing to check when no memory could be had (`skipped`).
bool written_and_read(const CaptureData& read, CaptureData& again, bool& skipped) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    skipped = out == nullptr;
    if (skipped) return true;
    const bool written = c3d_write_stream(read, out);
    std::fclose(out);
    ReadError error;
    const int status = written ? c3d_parse(std::string_view(buffer, size), "back.c3d", again, error) : 1;
    std::free(buffer);
    return written && status == 0;
}

// Writes the capture back into memory and reads it again.
void check_written_back(const CaptureData& read) {
    CaptureData again;
    bool skipped = false;
    if (!written_and_read(read, again, skipped)) std::abort();
    if (!skipped && (again.num_columns != read.num_columns || again.num_frames != read.num_frames ||
                     again.error_count != lost_as_points(read)))
        std::abort();
}

// An event added at the first frame is written into EVENT and read back beside the file's own.
void check_event_written_back(CaptureData& read) {
    if (!read.trial || read.trial->events.size() >= 255) return;
    const size_t events = read.trial->events.size();
    if (!add_event(read, 0, "Left", "Foot Strike").ok()) std::abort();
    CaptureData again;
    bool skipped = false;
    if (!written_and_read(read, again, skipped)) std::abort();
    if (!skipped && (!again.trial || again.trial->events.size() != events + 1)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    CaptureData out;
    ReadError error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int status = c3d_parse(bytes, "fuzz.c3d", out, error);
    check_parsed_capture(status, out, error);
    if (status == 0) {
        check_written_back(out);
        check_event_written_back(out);
    }
    return 0;
}
