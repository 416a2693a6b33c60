// What the C3D and TRC readers share once the samples are read.
#include "engine/formats/capture_build.h"

#include "engine/formats/capture_names.h"
#include "engine/formats/idf/idf_header.h"

void capture_build(double rate, int frames, const std::vector<std::string>& labels,
                   std::vector<std::shared_ptr<Sample[]>>& samples, CaptureFormat format, CaptureData& out,
                   long long lost) {
    const std::vector<std::string> names = capture_names(labels);
    CaptureData built;
    built.capture_rate = rate;
    built.set_columns(3 * static_cast<int>(names.size()));
    built.num_frames = frames;
    const bool counted = lost >= 0;
    if (!counted) lost = 0;
    for (size_t m = 0; m < names.size(); ++m) {
        built.channels[m].name = std::make_shared<const std::string>(names[m]);
        built.channels[m].samples = std::move(samples[m]);
        if (counted) continue;
        const Sample* s = built.channels[m].samples.get();
        for (int f = 0; f < frames; ++f) lost += is_lost(s[f].x) + is_lost(s[f].y) + is_lost(s[f].z);
    }
    built.error_count = static_cast<int>(lost);
    built.header = std::make_shared<const std::string>(idf_header_text(rate, frames, names));
    built.source_format = format;
    out = std::move(built);
}
