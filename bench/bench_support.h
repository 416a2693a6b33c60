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
