// Writing a file so that a failure can never leave it half-written, and never replaces what is
// not the user's regular file to replace.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Why a replacement failed. `at_temporary` tells that the temporary copy could not be made or
// written (the target was not touched then either).
struct ReplaceFailure {
    std::string reason;
    bool at_temporary = false;

    bool failed() const { return !reason.empty(); }
};

// Writes the complete new content through a temporary file (named temp_name, or temp_name with
// a number when that name is taken) in the target's own directory and renames it over the
// target. A symbolic link is followed.
//
// A target that exists must be a regular file the user may write, exactly as writing it in
// place would require; otherwise nothing is written. The rename keeps the target's owner, group
// and mode. When it cannot (a target with several hard links, an owner the user cannot give the
// new file, a directory where no temporary file can be created, in which case the temporary copy
// is made in the user's temporary folder), the complete temporary file is copied over the target
// in place instead; should that copy fail, the temporary file is kept and the reason names it.
//
// `write` fills the stream and returns false on failure. On any other failure the target is
// byte-for-byte unchanged and no temporary file remains.
ReplaceFailure replace_file(const std::string& target, const std::string& temp_name,
                            const std::function<bool(FILE*)>& write);
