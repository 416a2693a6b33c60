// Fuzz target: the IDF capture reader on text held in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/formats/idf/idf_reader.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    app_reset();
    CaptureData out;
    ReadError error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (idf_parse(text, "fuzz.idf", out, error) != 0) {
        if (out.num_columns != 0 || out.num_frames != 0) std::abort();  // untouched on failure
        return 0;
    }
    // A capture the reader accepts fits a layer and can be walked from end to end.
    if (out.num_columns < 3 || out.num_columns > MAX_COLUMNS || out.num_frames < 1 || out.error_count < 0)
        std::abort();
    const size_t marks = static_cast<size_t>(out.mark_count());
    if (out.channels.size() != marks || out.mark_styles.size() != marks) std::abort();
    double sum = 0.0;
    for (int m = 0; m < out.mark_count(); ++m) {
        const Sample* samples = out.channels[m].samples.get();
        if (!samples) std::abort();
        for (int f = 0; f < out.num_frames; ++f) sum += samples[f].x + samples[f].y + samples[f].z;
    }
    volatile double sink = sum;
    (void)sink;
    return 0;
}
