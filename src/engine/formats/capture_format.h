// Which of the three capture formats a file holds, told by its content when reading and by
// its name when writing.
#pragma once

#include <string>
#include <string_view>

#include "engine/model/capture_model.h"

// C3D when the second byte is 0x50, TRC when the text begins with "PathFileType", else IDF.
// `head` is the start of the file; sixteen bytes are enough.
CaptureFormat capture_format_of_content(std::string_view head);

// By the name's extension, in any case: ".c3d", ".trc", anything else IDF.
CaptureFormat capture_format_of_name(const std::string& path);
// True when the name ends in ".idf", ".trc" or ".c3d" (in any case).
bool capture_name_has_format(const std::string& path);

// "IDF", "C3D" or "TRC".
const char* capture_format_title(CaptureFormat format);
