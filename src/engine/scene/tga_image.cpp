// TGA decoding: checks in the order type, size, depth, pixels. The pixels follow the header and
// the image-ID field, whose length is the first byte.
#include "engine/scene/tga_image.h"

#include <cstdio>

#include "platform/regular_file.h"

namespace {

constexpr size_t HEADER_BYTES = 18;

int little_endian16(const unsigned char* p) { return p[0] | (p[1] << 8); }

bool allowed_side(int side) {
    for (int allowed = 2; allowed <= 512; allowed *= 2) {
        if (side == allowed) return true;
    }
    return false;
}

}  // namespace

int tga_decode(const unsigned char* data, size_t size, TgaImage& out) {
    if (size < HEADER_BYTES) return TGA_SHORT_PIXELS;
    const int id_length = data[0];
    const int colour_map_type = data[1];
    const int image_type = data[2];
    if (colour_map_type != 0 || (image_type != 2 && image_type != 3)) return TGA_BAD_TYPE;
    const int width = little_endian16(data + 12);
    const int height = little_endian16(data + 14);
    if (!allowed_side(width) || !allowed_side(height)) return TGA_BAD_SIZE;
    const int bits = data[16];
    if (bits != 8 && bits != 24 && bits != 32) return TGA_BAD_DEPTH;

    const int channels = bits / 8;
    const size_t pixel_bytes = static_cast<size_t>(width) * height * channels;
    const size_t start = HEADER_BYTES + id_length;
    if (size < start || size - start < pixel_bytes) return TGA_SHORT_PIXELS;
    out.width = width;
    out.height = height;
    out.channels = channels;
    out.pixels.assign(data + start, data + start + pixel_bytes);
    if (channels >= 3) {
        for (size_t i = 0; i < pixel_bytes; i += channels) std::swap(out.pixels[i], out.pixels[i + 2]);
    }
    return TGA_OK;
}

int tga_read_file(const std::string& path, TgaImage& out) {
    std::string reason;
    FILE* file = open_regular_file(path, reason);
    if (!file) return TGA_CANNOT_OPEN;
    std::vector<unsigned char> data;
    unsigned char chunk[65536];
    size_t got;
    // The largest image that can pass is 512 x 512 x 4 bytes after an ID field of 255 bytes.
    constexpr size_t MOST_BYTES = HEADER_BYTES + 255 + 512 * 512 * 4;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && data.size() < MOST_BYTES) {
        data.insert(data.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return tga_decode(data.data(), data.size(), out);
}
