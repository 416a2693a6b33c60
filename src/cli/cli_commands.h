// The commands of zemo-cli. Each takes the words after its name and returns the exit code:
// 0 done, 1 refused (bad file, refused command), 2 wrong usage.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/status.h"

constexpr int EXIT_DONE = 0;
constexpr int EXIT_REFUSED = 1;
constexpr int EXIT_USAGE = 2;

using CliWords = std::vector<std::string>;

int cli_info(const CliWords& words);
// One line per event of a C3D capture, in time order: context, label, frame, time.
int cli_events(const CliWords& words);
int cli_copy(const CliWords& words);
int cli_convert(const CliWords& words);
int cli_repair(const CliWords& words);
int cli_smooth(const CliWords& words);
int cli_both(const CliWords& words);
int cli_interchange(const CliWords& words);
int cli_scale(const CliWords& words);
int cli_fill(const CliWords& words);

struct CliArgs;
struct Interval {
    int first, last;
};
// --from and --to, defaulting to the whole capture; false (with the reason printed) when bad.
bool read_interval(const CliArgs& args, Interval& out);
// --marks: indices or names separated by commas; every mark when not given.
bool read_marks(const CliArgs& args, std::vector<int>& out);

int cli_filter(const CliWords& words);
int cli_cutoff(const CliWords& words);
int cli_check(const CliWords& words);

// Prints "zemo-cli: TEXT" and the command's usage line on standard error; returns EXIT_USAGE.
int cli_usage_error(const std::string& text, const char* usage);
// Prints a failed status's message on standard error, as the desktop program's box would show
// it (a quiet failure included); returns EXIT_REFUSED.
int cli_refused(const Status& status);

// Save as of the working copy to `path`: EXIT_DONE, or EXIT_REFUSED with the reason on standard error.
int cli_save_as(const std::string& path);

// Writes a report of tab-separated lines to `path` as every file is written (never half), the
// lines written by `write_lines`; on failure says why on standard error and returns false.
bool cli_write_report(const std::string& path, const std::function<bool(FILE*)>& write_lines);

// Reads a capture as the next layer. On failure the reason has gone to standard error.
bool cli_read_capture(const std::string& path);
// Reads a capture as layer 1 of a fresh state, the same way.
bool cli_open_capture(const std::string& path);
