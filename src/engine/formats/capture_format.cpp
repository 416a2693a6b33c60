// Telling the capture formats apart.
#include "engine/formats/capture_format.h"

#include <cctype>

CaptureFormat capture_format_of_content(std::string_view head) {
    if (head.size() >= 2 && static_cast<unsigned char>(head[1]) == 0x50) return CaptureFormat::c3d;
    if (head.substr(0, 12) == "PathFileType") return CaptureFormat::trc;
    return CaptureFormat::idf;
}

static bool ends_with(const std::string& path, const char* extension) {
    const std::string_view ending(extension);
    if (path.size() < ending.size()) return false;
    for (size_t i = 0; i < ending.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(path[path.size() - ending.size() + i])) != ending[i]) return false;
    }
    return true;
}

CaptureFormat capture_format_of_name(const std::string& path) {
    if (ends_with(path, ".c3d")) return CaptureFormat::c3d;
    if (ends_with(path, ".trc")) return CaptureFormat::trc;
    return CaptureFormat::idf;
}

bool capture_name_has_format(const std::string& path) {
    return ends_with(path, ".idf") || ends_with(path, ".c3d") || ends_with(path, ".trc");
}

const char* capture_format_title(CaptureFormat format) {
    switch (format) {
    case CaptureFormat::c3d: return "C3D";
    case CaptureFormat::trc: return "TRC";
    default: return "IDF";
    }
}
