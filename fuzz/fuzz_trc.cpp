// Fuzz target: the TRC reader on text held in memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "capture_checks.h"
#include "engine/formats/trc/trc_reader.h"
#include "engine/model/seams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    CaptureData out;
    ReadError error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check_parsed_capture(trc_parse(bytes, "fuzz.trc", out, error), out, error);
    return 0;
}
