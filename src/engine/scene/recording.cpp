// The BMP writer of the recorded frames and their folder, the codec list reader and the video
// script command lines.
#include "engine/scene/recording.h"

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

#include "engine/model/seams.h"
#include "platform/paths.h"
#include "platform/regular_file.h"

RecordingState recording_state;

// Far more than a list of every codec takes.
static constexpr size_t MOST_CODEC_LIST_BYTES = 1 << 20;

namespace {

template <size_t N>
void put16(std::array<unsigned char, N>& bytes, size_t at, std::uint32_t value) {
    bytes[at] = static_cast<unsigned char>(value & 0xff);
    bytes[at + 1] = static_cast<unsigned char>((value >> 8) & 0xff);
}

template <size_t N>
void put32(std::array<unsigned char, N>& bytes, size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xffff);
    put16(bytes, at + 2, value >> 16);
}

template <size_t N>
bool write_part(std::ostream& out, const std::array<unsigned char, N>& bytes) {
    out.write(reinterpret_cast<const char*>(bytes.data()), N);
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

int bmp_row_pad(int width) { return (4 - (3 * width) % 4) % 4; }

std::uint32_t bmp_image_size(int width, int height) {
    return static_cast<std::uint32_t>(3 * width + bmp_row_pad(width)) * static_cast<std::uint32_t>(height);
}

std::array<unsigned char, 14> bmp_file_header(int width, int height) {
    std::array<unsigned char, 14> h{};
    h[0] = 'B';
    h[1] = 'M';
    put32(h, 2, BMP_HEADER_SIZE + bmp_image_size(width, height));
    put32(h, 10, BMP_HEADER_SIZE);
    return h;
}

std::array<unsigned char, 40> bmp_info_header(int width, int height) {
    std::array<unsigned char, 40> h{};
    put32(h, 0, 40);
    put32(h, 4, static_cast<std::uint32_t>(width));
    put32(h, 8, static_cast<std::uint32_t>(height));
    put16(h, 12, 1);
    put16(h, 14, 24);
    put32(h, 16, 0);
    put32(h, 20, bmp_image_size(width, height));
    put32(h, 24, BMP_PIXELS_PER_METRE);
    put32(h, 28, BMP_PIXELS_PER_METRE);
    return h;
}

Status write_bmp(std::ostream& out, const unsigned char* rgb, int width, int height) {
    assert(width > 0 && height > 0 && "a recorded frame has pixels");
    if (!write_part(out, bmp_file_header(width, height))) return Status::failure("Error writing bitmap file header");
    if (!write_part(out, bmp_info_header(width, height))) return Status::failure("Error writing bitmap info header");
    std::vector<unsigned char> image;
    try {
        image.assign(bmp_image_size(width, height), 0);
    } catch (const std::bad_alloc&) {
        return Status::failure("Error allocating memory");
    }
    const size_t row_bytes = static_cast<size_t>(3 * width + bmp_row_pad(width));
    for (int y = 0; y < height; ++y) {
        const unsigned char* from = rgb + static_cast<size_t>(y) * width * 3;
        unsigned char* to = image.data() + static_cast<size_t>(y) * row_bytes;
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.flush();
    if (!out) return Status::failure("Error writing bitmap data");
    return {};
}

std::string image_file_name(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "img%.6d.bmp", n);
    return name;
}

Status recording_begin() {
    // A folder of its own: images of a long recording run to gigabytes, and a video script still
    // at work on the last recording keeps its images while this one writes new ones.
    const std::string pattern = join_path(temporary_folder(), "zemo-frames-XXXXXX");
    std::string name = pattern;
    if (!mkdtemp(name.data())) {
        return Status::failure("Error creating the folder for the recorded images:\n " + pattern + "\n " +
                               std::strerror(errno));
    }
    recording_state.frames_folder = absolute_path(name);
    recording_state.frame_counter = 0;
    recording_state.recording = 1;
    return {};
}

int recording_start() { return show_failure(recording_begin()); }

Status record_frame(const std::vector<unsigned char>& rgb, int width, int height) {
    assert(rgb.size() >= static_cast<size_t>(width) * height * 3 && "the pixels cover the frame");
    const std::string name = join_path(recording_state.frames_folder, image_file_name(recording_state.frame_counter));
    Status written;
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        if (!out) return Status::failure("Error opening BMP file");
        written = write_bmp(out, rgb.data(), width, height);
    }
    if (written.ok()) {
        ++recording_state.frame_counter;
        return written;
    }
    // A half-written image would end up in the video; the next frame takes its number.
    std::remove(name.c_str());
    return written;
}

int save_frame_bmp(const std::vector<unsigned char>& rgb, int width, int height) {
    const Status written = record_frame(rgb, width, height);
    if (written.ok()) return 0;
    show_message(written.message(), MESSAGE_INFO, BUTTONS_OK);
    return 1;
}

std::vector<CodecEntry> parse_codec_list(std::istream& in) {
    std::vector<CodecEntry> codecs;
    std::string line;
    for (int header = 0; header < 4; ++header) {
        if (!std::getline(in, line)) return codecs;
    }
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) break;
        CodecEntry entry;
        const size_t space = line.find(' ', 1);
        entry.code = line.substr(std::min<size_t>(1, line.size()), space == std::string::npos ? std::string::npos : space - 1);
        // One space and one more character stand between the code and the description.
        if (space != std::string::npos && space + 2 <= line.size()) entry.description = line.substr(space + 2);
        codecs.push_back(entry);
    }
    return codecs;
}

std::vector<CodecEntry> read_codec_list(const std::string& path) {
    std::string text, reason;
    if (read_regular_file(path, MOST_CODEC_LIST_BYTES, text, reason) != FileRead::done) return {};
    std::istringstream in(text);
    return parse_codec_list(in);
}

std::string codec_at_row(const std::vector<CodecEntry>& codecs, int row) {
    if (row < 0 || static_cast<size_t>(row) >= codecs.size()) return "DIB ";
    return codecs[static_cast<size_t>(row)].code;
}

std::string video_file_name(const std::string& entry_text) {
    return entry_text.size() <= 3 ? std::string("TempVideoZemo.avi") : entry_text;
}

std::vector<std::string> video_command(const VideoRequest& r) {
    const std::string file = absolute_path(video_file_name(r.entry_text));
    if (r.select_codec) {
        std::string codec = r.codec;
        while (!codec.empty() && codec.back() == ' ') codec.pop_back();
        return {"iv.bat", std::to_string(r.fps), file, std::to_string(r.kfps), codec, std::to_string(r.quality)};
    }
    return {"ivc.bat", std::to_string(r.fps), file, std::to_string(r.kfps)};
}
