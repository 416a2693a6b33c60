// Undo on the generated 120 x 100 000 capture after a fill of every mark recorded as one step.
//   undo_step            one undo of that step, best of several, in ms
//   undo_step_redo       one redo of it, in ms
//   undo_step_record     keeping every mark before the fill and storing what changed after it, in ms
//   undo_step_memory     what the history holds, in MB
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench_support.h"
#include "engine/history/undo_history.h"
#include "engine/history/undo_step.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/gap_fill.h"

namespace {

double milliseconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

void bench_undo() {
    install_seams({});
    make_gapped_capture();
    const int lost_before = count_lost_values(app);
    std::chrono::steady_clock::time_point start;
    double recording = 0;
    {
        UndoStep step(app, "Fill");
        start = std::chrono::steady_clock::now();
        step.keep_all();
        recording = milliseconds_since(start);
        fill_gaps(app, all_channels(app), {0, GAPPED_FRAMES - 1, FillMethod::automatic, 0});
        start = std::chrono::steady_clock::now();
    }
    recording += milliseconds_since(start);
    double undo = 1e30, redo = 1e30;
    int lost_undone = 0;
    for (int run = 0; run < 5; ++run) {
        start = std::chrono::steady_clock::now();
        undo_last(app);
        undo = std::min(undo, milliseconds_since(start));
        if (run == 0) lost_undone = count_lost_values(app);
        start = std::chrono::steady_clock::now();
        redo_next(app);
        redo = std::min(redo, milliseconds_since(start));
    }
    report("undo_step", undo, "ms");
    report("undo_step_redo", redo, "ms");
    report("undo_step_record", recording, "ms");
    report("undo_step_memory", static_cast<double>(app.history->bytes()) / (1 << 20), "MB");
    std::fprintf(stderr, "undo_step: %d lost coordinates before the fill, %d after its undo, %d after its redo\n",
                 lost_before, lost_undone, count_lost_values(app));
    app_reset();
}
