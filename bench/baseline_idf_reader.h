// The straightforward IDF reader the benchmarks compare against: words with fscanf, data lines
// with sscanf, one heap block per sample in a linked list per mark.
#pragma once

#include <string>

// Reads the capture and frees it again; returns the number of samples read, or -1.
long long baseline_idf_read(const std::string& path);
