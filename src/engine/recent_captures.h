// The captures opened last, newest first, kept as one path a line in the file "recent" of the
// configuration folder: File > Recent lists them and Open starts in the folder of the first.
#pragma once

#include <string>
#include <vector>

constexpr size_t MOST_RECENT_CAPTURES = 8;
extern const char* const RECENT_FILE_NAME;

// The list in `path`; empty when the file is missing or unreadable. Empty lines are skipped and
// at most MOST_RECENT_CAPTURES are kept.
std::vector<std::string> recent_load(const std::string& path);

// `capture` moved (or added) to the front, the oldest dropped past MOST_RECENT_CAPTURES.
std::vector<std::string> recent_add(std::vector<std::string> list, const std::string& capture);

// Writes the list whole or not at all; false when it could not be written.
bool recent_save(const std::string& path, const std::vector<std::string>& list);
