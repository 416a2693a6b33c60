// Fuzz target: the TGA reader behind the font texture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/scene/tga_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TgaImage image;
    const int result = tga_decode(data, size, image);
    if (result != TGA_OK) {
        if (!image.pixels.empty()) std::abort();  // nothing decoded on failure
        return 0;
    }
    // An accepted image holds exactly its sides times its channels.
    if (image.channels != 1 && image.channels != 3 && image.channels != 4) std::abort();
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels) std::abort();
    return 0;
}
