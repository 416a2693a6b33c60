// Work shared out on the cores: pieces 1..count-1 run on threads of their own while piece 0 runs
// on the calling thread. A piece whose thread cannot be started runs on the calling thread
// instead, so the work is always done, only more slowly.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

// The cores the machine offers, at least one.
inline int machine_cores() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

// The threads work is shared out on: ZEMO_THREADS when it is set to a positive number (at most
// 64), else the cores. ZEMO_THREADS=1 does everything on the calling thread.
inline int worker_threads() {
    constexpr int MOST_THREADS = 64;
    if (const char* asked = std::getenv("ZEMO_THREADS")) {
        const int n = std::atoi(asked);
        if (n > 0) return std::min(n, MOST_THREADS);
    }
    return machine_cores();
}

// Calls work(piece) for every piece 0..count-1 and returns when all are done.
template <class Work>
void run_pieces(int count, Work work) {
    std::vector<std::thread> helpers;
    int started = 1;
    try {
        for (; started < count; ++started) helpers.emplace_back(work, started);
    } catch (const std::system_error&) {
    }
    if (count > 0) work(0);
    for (int piece = started; piece < count; ++piece) work(piece);
    for (std::thread& helper : helpers) helper.join();
}
