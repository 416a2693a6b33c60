// Writing a file so that a failure can never leave it half-written.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes through a temporary file named temp_name in the target's own directory, then renames
// it over the target (whose permission bits it keeps; a symbolic link is followed). `write`
// fills the stream and returns false on failure. Returns an empty text on success; otherwise
// the reason, with the target byte-for-byte unchanged and the temporary file removed.
std::string replace_file(const std::string& target, const std::string& temp_name,
                         const std::function<bool(FILE*)>& write);
