// Fuzz target: the C3D reader on bytes held in memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "capture_checks.h"
#include "core/seams.h"
#include "formats/c3d_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    CaptureData out;
    IdfError error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check_parsed_capture(c3d_parse(bytes, "fuzz.c3d", out, error), out, error);
    return 0;
}
