// Fuzz target: the reader of the codec list (codecs.dat) of the video panel.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/model/seams.h"
#include "engine/scene/recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<CodecEntry> codecs = parse_codec_list(in);
    for (const CodecEntry& entry : codecs) {
        // A code never carries the space that ends it, nor the line's end.
        if (entry.code.find(' ') != std::string::npos || entry.code.find('\n') != std::string::npos) std::abort();
    }
    for (int row = -1; row <= static_cast<int>(codecs.size()); ++row) {
        const std::string code = codec_at_row(codecs, row);
        if ((row < 0 || row >= static_cast<int>(codecs.size())) && code != "DIB ") std::abort();
    }
    return 0;
}
