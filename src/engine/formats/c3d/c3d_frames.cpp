// The frame decoder, one instance per processor type and storage so that the inner loop holds
// no choice; what is not a mark is copied in the byte runs between the marks.
#include "engine/formats/c3d/c3d_frames.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/formats/c3d/c3d_residual.h"

namespace {

using Runs = std::vector<std::pair<size_t, size_t>>;

constexpr size_t DONE_BLOCK_BYTES = 4 << 20;

struct Targets {
    std::vector<Sample*> samples;
    std::vector<float*> residuals;
    unsigned char* others;
    const unsigned char* lost_words = nullptr;  // the first lost mark's
    bool lost_words_shared = true;
    long long lost_coordinates = 0;
};

template <C3dProcessor P, bool FLOATS>
void decode(const unsigned char* data, const C3dFrameLayout& layout, const Runs& other_runs, Targets& out,
            std::vector<int>& computed) {
    constexpr size_t WORD = FLOATS ? 4 : 2;
    const auto value = [](const unsigned char* p) -> double {
        if constexpr (FLOATS) return c3d_float(p, P);
        else return c3d_int16(p, P);
    };
    // Locals, so that the stores into the samples cannot make the loop read them again.
    const double magnitude = layout.magnitude;
    const size_t frame_bytes = layout.frame_bytes, marks = layout.marks.size();
    const int frames = layout.frames;
    const int* points = layout.marks.data();
    Sample* const* samples = out.samples.data();
    float* const* residuals = out.residuals.data();
    int* mark_computed = computed.data();
    unsigned char* others = out.others;
    // Frames are handed back a few megabytes at a time.
    const int block_frames = static_cast<int>(std::max<size_t>(1, DONE_BLOCK_BYTES / std::max<size_t>(1, frame_bytes)));
    for (int f = 0; f < frames; ++f) {
        if (layout.done_with && f > 0 && f % block_frames == 0) {
            layout.done_with((f - block_frames) * frame_bytes, f * frame_bytes);
        }
        const unsigned char* frame = data + f * frame_bytes;
        for (size_t k = 0; k < marks; ++k) {
            const unsigned char* p = frame + static_cast<size_t>(points[k]) * 4 * WORD;
            double x = value(p), y = value(p + WORD), z = value(p + 2 * WORD);
            const double residual = value(p + 3 * WORD);
            if constexpr (!FLOATS) x *= magnitude, y *= magnitude, z *= magnitude;
            const bool lost = (FLOATS ? c3d_residual_says_lost(residual) : residual < 0) ||
                              (x == 0 && y == 0 && z == 0) || !std::isfinite(x) || !std::isfinite(y) ||
                              !std::isfinite(z);
            samples[k][f] = lost ? Sample{LOST_VALUE, LOST_VALUE, LOST_VALUE} : Sample{x, y, z};
            residuals[k][f] = static_cast<float>(residual);
            if (residual == 0 && !lost) mark_computed[k] = 1;
            // A value past the lost threshold reads as lost, though the file says it is seen.
            out.lost_coordinates += lost ? 3 : is_lost(x) + is_lost(y) + is_lost(z);
            if (lost) {
                if (!out.lost_words) out.lost_words = p;
                else if (out.lost_words_shared) out.lost_words_shared = std::memcmp(p, out.lost_words, 3 * WORD) == 0;
            }
        }
        for (const auto& [at, size] : other_runs) {
            std::memcpy(others, frame + at, size);
            others += size;
        }
    }
}

template <C3dProcessor P>
void decode(const unsigned char* data, const C3dFrameLayout& layout, const Runs& other_runs, Targets& out,
            std::vector<int>& computed) {
    if (layout.floats) decode<P, true>(data, layout, other_runs, out, computed);
    else decode<P, false>(data, layout, other_runs, out, computed);
}

// The byte runs of a frame that are not marks: the other points, then the analog values.
Runs runs_besides(const std::vector<int>& marks, size_t word, size_t frame_bytes) {
    Runs runs;
    size_t from = 0;
    for (int point : marks) {
        const size_t at = static_cast<size_t>(point) * 4 * word;
        if (at > from) runs.emplace_back(from, at - from);
        from = at + 4 * word;
    }
    if (frame_bytes > from) runs.emplace_back(from, frame_bytes - from);
    return runs;
}

}  // namespace

C3dDecodedFrames c3d_decode_frames(const unsigned char* first, const C3dFrameLayout& layout) {
    const size_t marks = layout.marks.size(), word = layout.floats ? 4 : 2;
    const auto frames = static_cast<size_t>(layout.frames);
    C3dDecodedFrames decoded;
    decoded.computed.assign(marks, 0);
    decoded.others.resize(frames * (layout.frame_bytes - marks * 4 * word));
    Targets targets{{}, {}, reinterpret_cast<unsigned char*>(decoded.others.data())};
    for (size_t k = 0; k < marks; ++k) {
        decoded.samples.push_back(std::make_shared_for_overwrite<Sample[]>(frames));
        decoded.residuals.push_back(std::make_shared_for_overwrite<float[]>(frames));
        targets.samples.push_back(decoded.samples.back().get());
        targets.residuals.push_back(decoded.residuals.back().get());
    }
    const Runs other_runs = runs_besides(layout.marks, word, layout.frame_bytes);
    switch (layout.processor) {
    case C3dProcessor::intel: decode<C3dProcessor::intel>(first, layout, other_runs, targets, decoded.computed); break;
    case C3dProcessor::dec: decode<C3dProcessor::dec>(first, layout, other_runs, targets, decoded.computed); break;
    case C3dProcessor::mips: decode<C3dProcessor::mips>(first, layout, other_runs, targets, decoded.computed); break;
    }
    decoded.lost_coordinates = targets.lost_coordinates;
    if (targets.lost_words && targets.lost_words_shared) {
        decoded.lost_words.assign(reinterpret_cast<const char*>(targets.lost_words), 3 * word);
    }
    return decoded;
}
