#include "engine/processing/donor_ranking.h"

#include <algorithm>
#include <cmath>

namespace {

// Adds each mark's distance to the point (ox, oy, oz) on one frame to its sums, where it is seen.
// Written without a branch so that the loop is vectorised: a mark not seen adds its distance
// times 0.
void add_distances(const double* __restrict x, const double* __restrict y, const double* __restrict z,
                   const double* __restrict seen, double ox, double oy, double oz, int marks,
                   double* __restrict sum, double* __restrict sum_squares, double* __restrict count) {
    for (int d = 0; d < marks; ++d) {
        const double dx = ox - x[d], dy = oy - y[d], dz = oz - z[d];
        const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        sum[d] += distance * seen[d];
        sum_squares[d] += distance * distance * seen[d];
        count[d] += seen[d];
    }
}

}  // namespace

DonorTable donor_table(const CaptureData& data, int first_frame, int last_frame) {
    DonorTable table;
    table.marks = data.mark_count();
    const int frames = last_frame - first_frame + 1;
    const int step = (frames + DONOR_SAMPLE_FRAMES - 1) / DONOR_SAMPLE_FRAMES;
    table.frames = (frames + step - 1) / step;
    table.rows.resize(static_cast<size_t>(table.frames) * 4 * table.marks);
    for (int m = 0; m < table.marks; ++m) {
        const Sample* samples = data.channels[m].samples.get();
        for (int i = 0; i < table.frames; ++i) {
            const Sample* s = samples ? &samples[first_frame + i * step] : nullptr;
            const bool seen = s && !is_lost(s->x) && !is_lost(s->y) && !is_lost(s->z);
            double* row = &table.rows[static_cast<size_t>(i) * 4 * table.marks + m];
            row[0] = seen ? s->x : 0.0;
            row[table.marks] = seen ? s->y : 0.0;
            row[2 * table.marks] = seen ? s->z : 0.0;
            row[3 * table.marks] = seen ? 1.0 : 0.0;
        }
    }
    return table;
}

DonorRanking rank_donors(const DonorTable& table, int mark) {
    // Sums kept from mark to mark: a fill of every mark ranks the donors of each.
    thread_local std::vector<double> sum, sum_squares, count, spread;
    sum.assign(table.marks, 0.0);
    sum_squares.assign(table.marks, 0.0);
    count.assign(table.marks, 0.0);
    spread.assign(table.marks, 0.0);
    const size_t n = static_cast<size_t>(table.marks);
    for (int i = 0; i < table.frames; ++i) {
        const double* x = &table.rows[static_cast<size_t>(i) * 4 * n];
        const double *y = x + n, *z = y + n, *seen = z + n;
        if (seen[mark] == 0.0) continue;
        add_distances(x, y, z, seen, x[mark], y[mark], z[mark], table.marks, sum.data(), sum_squares.data(), count.data());
    }
    DonorRanking ranking;
    ranking.marks.reserve(table.marks);
    ranking.spread.reserve(table.marks);
    for (int d = 0; d < table.marks; ++d) {
        if (d == mark || count[d] < 2) continue;
        const double mean = sum[d] / count[d];
        spread[d] = std::sqrt(std::max(0.0, sum_squares[d] / count[d] - mean * mean));
        ranking.marks.push_back(d);
    }
    std::stable_sort(ranking.marks.begin(), ranking.marks.end(), [&](int a, int b) { return spread[a] < spread[b]; });
    for (int d : ranking.marks) ranking.spread.push_back(spread[d]);
    return ranking;
}
