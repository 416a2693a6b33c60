// Fuzz target: the C3D reader on bytes held in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/capture_model.h"
#include "core/seams.h"
#include "formats/c3d_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    CaptureData out;
    IdfError error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (c3d_parse(bytes, "fuzz.c3d", out, error) != 0) {
        if (out.num_columns != 0 || out.num_frames != 0 || error.text.empty()) std::abort();
        return 0;
    }
    // An accepted capture fits a layer, has a header and names, and can be walked end to end.
    if (out.num_columns < 3 || out.num_columns > MAX_COLUMNS || out.num_frames < 1 || !out.header) std::abort();
    int lost = 0;
    for (int m = 0; m < out.mark_count(); ++m) {
        const Sample* samples = out.channels[m].samples.get();
        if (!samples || out.channels[m].name_text().empty()) std::abort();
        for (int f = 0; f < out.num_frames; ++f) {
            lost += is_lost(samples[f].x) + is_lost(samples[f].y) + is_lost(samples[f].z);
        }
    }
    if (lost != out.error_count) std::abort();
    return 0;
}
