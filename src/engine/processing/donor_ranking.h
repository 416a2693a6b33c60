// Which marks move most rigidly with a mark: the donors its gaps are filled from.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

// The positions of every mark on evenly spread frames of the interval (all of them in an
// interval of at most DONOR_SAMPLE_FRAMES frames): what donors are judged on, packed so that
// judging them reads memory in order.
constexpr int DONOR_SAMPLE_FRAMES = 2000;
struct DonorTable {
    int marks = 0;
    int frames = 0;
    // Frame by frame, the marks' x, then their y, then their z, then 1 where the mark is seen and 0
    // where it is not (its coordinates then 0): rows[(frame * 4 + part) * marks + mark].
    std::vector<double> rows;
};
DonorTable donor_table(const CaptureData& data, int first_frame, int last_frame, int threads = 1);

// The other marks of a mark, those moving most rigidly with it first: ranked by how much their
// distance to it varies (standard deviation) over the table's frames where both are seen.
struct DonorRanking {
    std::vector<int> marks;
    std::vector<double> spread;  // of each mark in `marks`
};
DonorRanking rank_donors(const DonorTable& table, int mark);

// The ranking of every mark, as rank_donors gives it, on `threads` threads: each pair's distances
// are worked out once for both marks, half the work of ranking each mark on its own.
std::vector<DonorRanking> rank_every_mark(const DonorTable& table, int threads);
