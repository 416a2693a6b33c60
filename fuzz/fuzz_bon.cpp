// Fuzz target: the BON skeleton reader. The layer has as many marks as the file's first number
// says when that fits a layer, so real files get past the header; an input that starts with '#'
// takes the mark count from its second byte instead and the file from the third.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/model/seams.h"
#include "engine/skeleton/bon_format.h"

static int marks_of(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) ++at;
    int marks = 0;
    size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4; ++at, ++digits)
        marks = marks * 10 + (text[at] - '0');
    return marks <= MAX_CHANNELS ? marks : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (install_seams({}), true);
    (void)quiet;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    int marks;
    if (size >= 2 && data[0] == '#') {
        marks = data[1] % (MAX_CHANNELS + 1);
        text.remove_prefix(2);
    } else {
        marks = marks_of(text);
    }
    Skeleton skeleton;
    std::string error;
    if (bon_parse(text, marks, skeleton, error) != 0) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    // What the reader accepts is safe to draw: every index it kept is in range.
    if (skeleton.mark_count != marks || skeleton.mark_styles.size() != static_cast<size_t>(marks) ||
        skeleton.bone_count < 0 || skeleton.bone_count > MAX_BONES)
        std::abort();
    for (int m = 0; m < marks; ++m) {
        const MarkStyle& style = skeleton.mark_styles[m];
        if (style.colour < 0 || style.colour >= colour_count || (style.visible != 0 && style.visible != 1)) std::abort();
    }
    for (int b = 0; b < skeleton.bone_count; ++b) {
        const Bone& bone = skeleton.bones[b];
        if (bone.origin < 0 || bone.origin >= marks || bone.destination < 0 || bone.destination >= marks ||
            bone.colour < 0 || bone.colour >= colour_count)
            std::abort();
    }
    return 0;
}
