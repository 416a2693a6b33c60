#include "engine/processing/donor_ranking.h"

#include <algorithm>
#include <cmath>

#include "platform/parallel_pieces.h"

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

// The table's row of a frame: x, y, z and seen, each `marks` long.
struct TableRow {
    const double *x, *y, *z, *seen;
};

TableRow row_of(const DonorTable& table, int frame) {
    const size_t n = static_cast<size_t>(table.marks);
    const double* x = &table.rows[static_cast<size_t>(frame) * 4 * n];
    return {x, x + n, x + 2 * n, x + 3 * n};
}

// The ranking of `mark` from the sums of its distance to every mark.
DonorRanking ranked_by_spread(int mark, int marks, const double* sum, const double* sum_squares, const double* count) {
    thread_local std::vector<double> spread;
    spread.assign(marks, 0.0);
    DonorRanking ranking;
    ranking.marks.reserve(marks);
    ranking.spread.reserve(marks);
    for (int d = 0; d < marks; ++d) {
        if (d == mark || count[d] < 2) continue;
        const double mean = sum[d] / count[d];
        spread[d] = std::sqrt(std::max(0.0, sum_squares[d] / count[d] - mean * mean));
        ranking.marks.push_back(d);
    }
    std::stable_sort(ranking.marks.begin(), ranking.marks.end(), [&](int a, int b) { return spread[a] < spread[b]; });
    for (int d : ranking.marks) ranking.spread.push_back(spread[d]);
    return ranking;
}

}  // namespace

DonorTable donor_table(const CaptureData& data, int first_frame, int last_frame, int threads) {
    DonorTable table;
    table.marks = data.mark_count();
    const int frames = last_frame - first_frame + 1;
    const int step = (frames + DONOR_SAMPLE_FRAMES - 1) / DONOR_SAMPLE_FRAMES;
    table.frames = (frames + step - 1) / step;
    const size_t n = static_cast<size_t>(table.marks);
    table.rows.resize(static_cast<size_t>(table.frames) * 4 * n);
    // Each thread fills rows of its own, a few dozen at a time mark by mark, so that both the
    // samples read and the rows written stay in the cache.
    constexpr int ROWS_AT_ONCE = 64;
    threads = std::max(1, std::min(threads, table.frames / ROWS_AT_ONCE));
    run_pieces(threads, [&](int piece) {
        const int end = table.frames * (piece + 1) / threads;
        for (int from = table.frames * piece / threads; from < end; from += ROWS_AT_ONCE) {
            const int to = std::min(end, from + ROWS_AT_ONCE);
            for (size_t m = 0; m < n; ++m) {
                const Sample* samples = data.channels[m].samples.get();
                for (int i = from; i < to; ++i) {
                    const Sample* s = samples ? &samples[first_frame + i * step] : nullptr;
                    const bool seen = s && !is_lost(s->x) && !is_lost(s->y) && !is_lost(s->z);
                    double* at = &table.rows[static_cast<size_t>(i) * 4 * n + m];
                    at[0] = seen ? s->x : 0.0;
                    at[n] = seen ? s->y : 0.0;
                    at[2 * n] = seen ? s->z : 0.0;
                    at[3 * n] = seen ? 1.0 : 0.0;
                }
            }
        }
    });
    return table;
}

DonorRanking rank_donors(const DonorTable& table, int mark) {
    // Sums kept from mark to mark: a fill of every mark ranks the donors of each.
    thread_local std::vector<double> sum, sum_squares, count;
    sum.assign(table.marks, 0.0);
    sum_squares.assign(table.marks, 0.0);
    count.assign(table.marks, 0.0);
    for (int i = 0; i < table.frames; ++i) {
        const TableRow row = row_of(table, i);
        if (row.seen[mark] == 0.0) continue;
        add_distances(row.x, row.y, row.z, row.seen, row.x[mark], row.y[mark], row.z[mark], table.marks, sum.data(),
                      sum_squares.data(), count.data());
    }
    return ranked_by_spread(mark, table.marks, sum.data(), sum_squares.data(), count.data());
}

std::vector<DonorRanking> rank_every_mark(const DonorTable& table, int threads) {
    // The sums of each pair a < b, in row a: the distance from b to a is the one from a to b (the
    // differences only change sign), and is added frame by frame in the same order.
    const int marks = table.marks;
    const size_t n = static_cast<size_t>(marks);
    std::vector<double> sum(n * n), sum_squares(n * n), count(n * n);
    // Row a has marks - 1 - a pairs: the rows are cut where each thread gets as many pairs.
    threads = std::max(1, std::min(threads, marks));
    std::vector<int> cut(static_cast<size_t>(threads) + 1, marks);
    cut[0] = 0;
    const double pairs = 0.5 * marks * (marks - 1.0);
    for (int piece = 1, a = 0; piece < threads; ++piece) {
        double before = 0;
        for (a = 0; a < marks && before < pairs * piece / threads; ++a) before += marks - 1 - a;
        cut[static_cast<size_t>(piece)] = a;
    }
    run_pieces(threads, [&](int piece) {
        const int first = cut[static_cast<size_t>(piece)], end = cut[static_cast<size_t>(piece) + 1];
        for (int i = 0; i < table.frames; ++i) {
            const TableRow row = row_of(table, i);
            for (int a = first; a < end; ++a) {
                if (row.seen[a] == 0.0) continue;
                const size_t at = static_cast<size_t>(a) * n + a + 1;
                add_distances(row.x + a + 1, row.y + a + 1, row.z + a + 1, row.seen + a + 1, row.x[a], row.y[a], row.z[a],
                              marks - 1 - a, &sum[at], &sum_squares[at], &count[at]);
            }
        }
    });
    std::vector<DonorRanking> rankings(n);
    run_pieces(threads, [&](int piece) {
        std::vector<double> mark_sum(n), mark_squares(n), mark_count(n);
        for (int mark = marks * piece / threads; mark < marks * (piece + 1) / threads; ++mark) {
            for (int d = 0; d < marks; ++d) {
                const size_t pair = static_cast<size_t>(std::min(mark, d)) * n + std::max(mark, d);
                mark_sum[d] = sum[pair];
                mark_squares[d] = sum_squares[pair];
                mark_count[d] = count[pair];
            }
            rankings[static_cast<size_t>(mark)] = ranked_by_spread(mark, marks, mark_sum.data(), mark_squares.data(),
                                                                   mark_count.data());
        }
    });
    return rankings;
}
