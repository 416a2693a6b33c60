// Writing a kept C3D file back. The frames are made in a large buffer written in big blocks:
// the marks encoded from the layer, every other point and the analog values copied from what
// the file held (or converted exactly, when the storage becomes floating point).
#include "engine/formats/c3d/c3d_write_back.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/formats/c3d/c3d_event_write.h"
#include "engine/formats/c3d/c3d_residual.h"
#include "engine/formats/c3d/c3d_section_write.h"

namespace {

constexpr size_t BLOCK = 512;
constexpr size_t FLUSH_BYTES = 1 << 20;

bool lost_point(const Sample& s) { return is_lost(s.x) || is_lost(s.y) || is_lost(s.z); }

// One word of the output storage.
struct WordWriter {
    C3dProcessor processor;
    bool floats;
    double magnitude;  // |POINT:SCALE|: integer words hold coordinates divided by it

    size_t size() const { return floats ? 4 : 2; }
    void number(unsigned char* at, double value) const {
        if (floats) c3d_put_float(at, value, processor);
        else c3d_put_int16(at, static_cast<int16_t>(std::lround(value)), processor);
    }
    void coordinate(unsigned char* at, double value) const { number(at, floats ? value : value / magnitude); }
    // Residual words of floating-point files may be unsigned; an integer word holds them as they are.
    void residual(unsigned char* at, double word) const { number(at, floats || word < 32768 ? word : word - 65536); }
};

// An integer word of the source, read the way its meaning needs.
double integer_word(const unsigned char* at, C3dProcessor processor, bool is_unsigned) {
    return is_unsigned ? c3d_uint16(at, processor) : c3d_int16(at, processor);
}

// Copies `words` words of the source to `out`, converting integers to floats when the storage changed.
void copy_words(const unsigned char* in, unsigned char* out, size_t words, const C3dSource& source,
                const WordWriter& writer, bool is_unsigned, bool coordinates) {
    if (writer.floats == source.floats) {
        std::copy(in, in + words * writer.size(), out);
        return;
    }
    for (size_t w = 0; w < words; ++w) {
        double value = integer_word(in + 2 * w, source.processor, is_unsigned);
        // In a point, three coordinates scaled by |POINT:SCALE| and the residual word.
        if (coordinates && w % 4 != 3) value *= writer.magnitude;
        c3d_put_float(out + 4 * w, value, source.processor);
    }
}

void encode_mark(const Channel& channel, int f, const WordWriter& writer, const C3dSource& source, unsigned char* at) {
    const Sample& s = channel.samples[f];
    const bool lost = lost_point(s);
    const size_t word = writer.size();
    const float residual = c3d_residual_to_write(channel, f, lost);
    if (lost) {
        // The file's own words for a lost point when they or its residual say lost; else zeros,
        // which always do.
        const std::string& words = source.lost_words;
        if (words.size() == 3 * word && (source.lost_words_alone || c3d_residual_says_lost(residual)))
            std::copy(words.begin(), words.end(), at);
        else std::fill(at, at + 3 * word, 0);
    } else {
        writer.coordinate(at, s.x);
        writer.coordinate(at + word, s.y);
        writer.coordinate(at + 2 * word, s.z);
    }
    writer.residual(at + 3 * word, residual);
}

void put_header_word(std::string& head, size_t at, long long value, C3dProcessor processor) {
    auto* p = reinterpret_cast<unsigned char*>(head.data()) + at;
    if (value >= 0 && value <= 65535 && c3d_uint16(p, processor) != value) {
        c3d_put_uint16(p, static_cast<uint16_t>(value), processor);
    }
}

}  // namespace

bool c3d_source_fits(const CaptureData& data, const C3dSource& source) {
    return data.num_frames == source.frames && data.mark_count() == static_cast<int>(source.mark_points.size());
}

bool c3d_marks_fit_integers(const CaptureData& data, const C3dSource& source) {
    const double magnitude = std::fabs(source.scale);
    if (source.floats || !(magnitude > 0)) return false;
    const double largest = 32767.4 * magnitude;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* s = data.channels[m].samples.get();
        for (int f = 0; f < data.num_frames; ++f) {
            if (lost_point(s[f])) continue;
            if (!(std::fabs(s[f].x) <= largest && std::fabs(s[f].y) <= largest && std::fabs(s[f].z) <= largest))
                return false;
        }
    }
    return true;
}

bool c3d_write_back(const CaptureData& data, const C3dSource& source, FILE* out) {
    const bool floats = source.floats || !c3d_marks_fit_integers(data, source);
    const bool converted = floats != source.floats;
    const double magnitude = std::fabs(source.scale);
    const double float_scale = magnitude > 0 ? -magnitude : -1.0;

    C3dSectionChanges changes;
    changes.points = source.points;
    changes.frames = source.frames;
    changes.to_floats = converted;
    changes.float_scale = float_scale;
    for (size_t k = 0; k < source.mark_points.size(); ++k) {
        const std::string& name = data.channels[k].name_text();
        if (name != source.mark_names[k]) changes.renamed.emplace_back(source.mark_points[k], name);
    }
    if (data.trial && data.trial->events_edited) c3d_event_changes(source, *data.trial, changes);
    int data_start = 0;
    const std::string section = c3d_section_written(source, changes, data_start);

    std::string head = source.head;
    const C3dProcessor processor = source.processor;
    put_header_word(head, 2, source.points, processor);
    const auto* header = reinterpret_cast<const unsigned char*>(head.data());
    put_header_word(head, 8, std::min<long long>(c3d_uint16(header + 6, processor) + source.frames - 1LL, 65535),
                    processor);
    if (converted) c3d_put_float(reinterpret_cast<unsigned char*>(head.data()) + 12, float_scale, processor);
    put_header_word(head, 16, data_start, processor);
    if (std::fwrite(head.data(), 1, head.size(), out) != head.size()) return false;
    if (std::fwrite(section.data(), 1, section.size(), out) != section.size()) return false;

    const WordWriter writer{processor, floats, magnitude > 0 ? magnitude : 1.0};
    const size_t word = writer.size(), source_word = source.word_size();
    const size_t frame_bytes = (static_cast<size_t>(source.points) * 4 + source.analog_words) * word;
    std::vector<int> mark_of_point(source.points, -1);
    for (size_t k = 0; k < source.mark_points.size(); ++k) mark_of_point[source.mark_points[k]] = static_cast<int>(k);
    const size_t frames_per_write = std::max<size_t>(1, FLUSH_BYTES / std::max<size_t>(frame_bytes, 1));
    std::vector<unsigned char> buffer(frames_per_write * frame_bytes);
    const auto* others = reinterpret_cast<const unsigned char*>(source.others.data());
    size_t written = 0;
    for (int f = 0; f < source.frames;) {
        const int end = static_cast<int>(std::min<size_t>(source.frames, f + frames_per_write));
        unsigned char* p = buffer.data();
        for (; f < end; ++f) {
            for (int point = 0; point < source.points; ++point) {
                if (mark_of_point[point] >= 0) {
                    encode_mark(data.channels[mark_of_point[point]], f, writer, source, p);
                } else {
                    copy_words(others, p, 4, source, writer, false, true);
                    others += 4 * source_word;
                }
                p += 4 * word;
            }
            copy_words(others, p, source.analog_words, source, writer, source.analog_unsigned, false);
            others += source.analog_words * source_word;
            p += source.analog_words * word;
        }
        const size_t count = static_cast<size_t>(p - buffer.data());
        if (std::fwrite(buffer.data(), 1, count, out) != count) return false;
        written += count;
    }
    if (!converted) return std::fwrite(source.tail.data(), 1, source.tail.size(), out) == source.tail.size();
    const std::string zeros((BLOCK - written % BLOCK) % BLOCK, '\0');
    return std::fwrite(zeros.data(), 1, zeros.size(), out) == zeros.size();
}
