// Measuring helpers for zemo-bench: wall time, resident memory, result lines.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Best wall time of `runs` runs of `work`, in seconds.
double best_seconds(int runs, const std::function<void()>& work);

// Resident memory of this process, in bytes.
long long resident_bytes();

// Prints one result line "NAME VALUE UNIT".
void report(const std::string& name, double value, const std::string& unit);

// A scratch folder removed at exit.
std::string bench_temp_dir();

// The capture of the processing benchmarks: 120 marks x 100 000 frames with about 5 % of the
// frames of each mark lost in gaps of 1 to 50 frames, as the working copy of a fresh state.
constexpr int GAPPED_MARKS = 120;
constexpr int GAPPED_FRAMES = 100000;
void make_gapped_capture();
