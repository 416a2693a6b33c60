// The recent list is small and rewritten whole on every open.
#include "engine/recent_captures.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "engine/formats/capture_io.h"
#include "platform/file_replace.h"
#include "platform/regular_file.h"

const char* const RECENT_FILE_NAME = "recent";

// Eight paths of at most PATH_MAX bytes; anything larger is not this list.
static constexpr size_t MOST_RECENT_BYTES = 64 << 10;

std::vector<std::string> recent_load(const std::string& path) {
    std::string text, reason;
    std::vector<std::string> list;
    if (read_regular_file(path, MOST_RECENT_BYTES, text, reason) != FileRead::done) return list;
    std::istringstream in(text);
    std::string line;
    while (list.size() < MOST_RECENT_CAPTURES && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && std::find(list.begin(), list.end(), line) == list.end()) list.push_back(line);
    }
    return list;
}

std::vector<std::string> recent_add(std::vector<std::string> list, const std::string& capture) {
    // A name with a line break cannot be one line of the list.
    if (capture.empty() || capture.find('\n') != std::string::npos) return list;
    list.erase(std::remove(list.begin(), list.end(), capture), list.end());
    list.insert(list.begin(), capture);
    if (list.size() > MOST_RECENT_CAPTURES) list.resize(MOST_RECENT_CAPTURES);
    return list;
}

bool recent_save(const std::string& path, const std::vector<std::string>& list) {
    return !replace_file(path, IDF_TEMP_FILE_NAME, [&list](FILE* out) {
                for (const std::string& capture : list) {
                    if (std::fprintf(out, "%s\n", capture.c_str()) < 0) return false;
                }
                return true;
            }).failed();
}
