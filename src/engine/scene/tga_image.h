// The TGA reader behind the font texture: uncompressed true-colour or grey images whose sides
// are powers of two from 2 to 512.
#pragma once

#include <string>
#include <vector>

enum TgaResult {
    TGA_OK = 1,
    TGA_CANNOT_OPEN = -13,
    TGA_BAD_TYPE = -14,
    TGA_BAD_SIZE = -15,
    TGA_BAD_DEPTH = -16,
    TGA_SHORT_PIXELS = -17,
};

struct TgaImage {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 alpha only, 3 red-green-blue, 4 red-green-blue-alpha
    std::vector<unsigned char> pixels;  // rows in file order, bottom row first
};

// Decodes a TGA held in memory; returns TGA_OK or the code of the first failed check.
int tga_decode(const unsigned char* data, size_t size, TgaImage& out);
int tga_read_file(const std::string& path, TgaImage& out);
