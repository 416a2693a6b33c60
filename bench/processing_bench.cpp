// Repair and smoothing of every channel of a generated capture of 120 marks x 100 000 frames
// with 5 % of the coordinates lost in gaps of 1 to 50 frames; the baseline walks a linked list
// from its head to reach the samples of each chunk, as a list-based model has to.
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "bench_support.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/spline.h"
#include "engine/processing/trajectory_edit.h"

// Shared with the gap-fill benchmark, which times the accurate fill on the same capture.
void make_gapped_capture() {
    app_reset();
    app.capture_rate = 100;
    app.set_columns(3 * GAPPED_MARKS);
    app.num_frames = GAPPED_FRAMES;
    std::mt19937 random(7);
    for (int m = 0; m < GAPPED_MARKS; ++m) {
        auto samples = std::make_shared_for_overwrite<Sample[]>(GAPPED_FRAMES);
        for (int f = 0; f < GAPPED_FRAMES; ++f) {
            samples[f] = {1000 * std::sin(0.01 * f + m), 500 * std::cos(0.013 * f + m), 900 + 100 * std::sin(0.02 * f)};
        }
        // About 5 % of the frames lost, in gaps of 1 to 50 frames.
        long lost = 0;
        while (lost < GAPPED_FRAMES / 20) {
            const int length = 1 + static_cast<int>(random() % 50);
            const int start = static_cast<int>(random() % (GAPPED_FRAMES - length));
            for (int f = start; f < start + length; ++f) samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
            lost += length;
        }
        app.channels[m].name = std::make_shared<const std::string>("M" + std::to_string(m));
        app.channels[m].samples = std::move(samples);
    }
    app.error_count = count_lost_values(app);
}

namespace {

constexpr int MARKS = GAPPED_MARKS;
constexpr int FRAMES = GAPPED_FRAMES;
// The baseline is quadratic in the frames: it runs on a few channels, and ours runs on the same
// ones for the comparison.
constexpr int BASELINE_CHANNELS = 2;

struct Node {
    Sample sample;
    Node* next;
};

// One heap block per sample, in a list per channel.
std::vector<Node*> build_lists(int channels) {
    std::vector<Node*> heads;
    for (int m = 0; m < channels; ++m) {
        Node* head = nullptr;
        Node** tail = &head;
        for (int f = 0; f < FRAMES; ++f) {
            *tail = new Node{app.channels[m].samples[f], nullptr};
            tail = &(*tail)->next;
        }
        heads.push_back(head);
    }
    return heads;
}

void free_lists(std::vector<Node*>& heads) {
    for (Node* node : heads) {
        while (node) {
            Node* next = node->next;
            delete node;
            node = next;
        }
    }
}

Node* walk(Node* head, int frame) {
    while (frame-- > 0) head = head->next;
    return head;
}

double& axis_of(Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

void baseline_repair(Node* head) {
    double values[CHUNK_MAX];
    for (int axis = 0; axis < 3; ++axis) {
        for_each_chunk(0, FRAMES - 1, [&](int start, int end) {
            const int count = end - start + 1;
            Node* node = walk(head, start);
            for (int p = 0; p < count; ++p, node = node->next) values[p] = axis_of(node->sample, axis);
            spline_fill(count, values);
            node = walk(head, start);
            for (int p = 0; p < count; ++p, node = node->next) axis_of(node->sample, axis) = values[p];
        });
    }
}

double milliseconds(const std::function<void()>& work) { return best_seconds(1, work) * 1000; }

}  // namespace

void bench_processing() {
    install_seams({});  // the all-lost chunks' messages go nowhere
    make_gapped_capture();
    std::vector<Node*> lists = build_lists(BASELINE_CHANNELS);
    const double baseline = milliseconds([&] {
        for (Node* head : lists) baseline_repair(head);
    });
    free_lists(lists);
    const double ours_subset = milliseconds([] {
        for (int m = 0; m < BASELINE_CHANNELS; ++m) repair_channel(app, 0, FRAMES - 1, m);
    });
    make_gapped_capture();
    const double repair_all = milliseconds([] {
        for (int m = 0; m < MARKS; ++m) repair_channel(app, 0, FRAMES - 1, m);
    });
    const int remaining = count_lost_values(app);
    const double smooth_all = milliseconds([] {
        for (int m = 0; m < MARKS; ++m) smooth_channel(app, 0, FRAMES - 1, m, 5);
    });
    report("repair_all", repair_all, "ms");
    report("repair_all_speedup", baseline / ours_subset, "x");
    report("smooth_all", smooth_all, "ms");
    std::fprintf(stderr, "lost before %d, after repair %d; baseline %.0f ms and ours %.1f ms on %d channels\n",
                 app.error_count, remaining, baseline, ours_subset, BASELINE_CHANNELS);
    app_reset();
}
