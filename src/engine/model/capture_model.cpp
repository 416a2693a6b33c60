// The global application record and the moves between the working copy and the layer slots.
#include "engine/model/capture_model.h"

#include <cassert>

#include "engine/model/seams.h"

AppState app;

static bool valid_slot(int n) { return n >= 1 && n <= MAX_LAYERS; }

const std::string& Channel::name_text() const {
    static const std::string no_name;
    return name ? *name : no_name;
}

static bool is_working_copy(const CaptureData& data) { return &data == static_cast<const CaptureData*>(&app); }

SampleOrigin* writable_origins(CaptureData& data, int mark) {
    Channel& channel = data.channels[mark];
    if (!channel.origins) {
        const auto frames = static_cast<size_t>(data.num_frames);
        channel.origins = std::make_shared<SampleOrigin[]>(frames, SampleOrigin::measured);
        if (is_working_copy(data) && valid_slot(app.current_layer)) {
            Channel& stored = app.layers[app.current_layer].channels[mark];
            if (stored.samples == channel.samples) stored.origins = channel.origins;
        }
    }
    return channel.origins.get();
}

void app_reset() { app = AppState{}; }


void layer_fetch(int n) {
    assert(valid_slot(n) && "layer_fetch: slot out of range");
    static_cast<CaptureData&>(app) = app.layers[n];
}

void layer_store(int n) {
    assert(valid_slot(n) && "layer_store: slot out of range");
    Layer& layer = app.layers[n];
    if (const auto placement = read_layer_placement()) static_cast<LayerPlacement&>(layer) = *placement;
    static_cast<CaptureData&>(layer) = app;
}

int count_lost_values(const CaptureData& data) {
    int lost = 0;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        if (!samples) continue;
        for (int f = 0; f < data.num_frames; ++f) {
            lost += is_lost(samples[f].x) + is_lost(samples[f].y) + is_lost(samples[f].z);
        }
    }
    return lost;
}

int count_lost_values() { return count_lost_values(app); }

void show_layer_row(int n) {
    assert(valid_slot(n) && "show_layer_row: slot out of range");
    app.layers[n].in_use = 1;
    app.layers[n].visible = 1;
    layer_row_shown(n);
}

void hide_layer_row(int n) {
    assert(valid_slot(n) && "hide_layer_row: slot out of range");
    app.layers[n].in_use = 0;
    layer_row_hidden(n);
}

std::string close_current_capture() {
    const int n = app.current_layer;
    assert(valid_slot(n) && "close_current_capture: no current layer");
    hide_layer_row(n);
    --app.open_count;
    // The capture's own path: source_path may since have been set by another file dialog.
    std::string closed = app.file_name;
    app.file_name.clear();
    // Both the working copy and the slot let go of the samples, so the memory is freed now.
    for (Channel& channel : app.channels) channel = Channel{};
    for (Channel& channel : app.layers[n].channels) channel = Channel{};
    app.header.reset();
    app.layers[n].header.reset();
    app.c3d_source.reset();
    app.layers[n].c3d_source.reset();
    app.trial.reset();
    app.layers[n].trial.reset();
    app.layers[n].file_name.clear();
    // Closing the layer ends its history.
    app.history.reset();
    app.layers[n].history.reset();
    // Whatever was not saved has been given up with the layer.
    app.samples_changed = app.skeleton_changed = app.events_changed = false;
    app.layers[n].samples_changed = app.layers[n].skeleton_changed = app.layers[n].events_changed = false;
    return closed;
}

namespace {
int open_batches = 0;
bool batched_change = false;
unsigned long generation = 0;
}  // namespace

unsigned long samples_generation() { return generation; }

void note_samples_changed(CaptureData& data) {
    ++generation;
    data.samples_changed = true;
    if (!is_working_copy(data)) return;
    if (open_batches > 0) {
        batched_change = true;
    } else {
        report_samples_changed();
    }
}

SampleChangeBatch::SampleChangeBatch() { ++open_batches; }

SampleChangeBatch::~SampleChangeBatch() {
    if (--open_batches > 0 || !batched_change) return;
    batched_change = false;
    report_samples_changed();
}

void CaptureData::set_columns(int columns) {
    assert(columns >= 0 && columns <= MAX_COLUMNS && "set_columns: more columns than a layer holds");
    num_columns = columns;
    channels.resize(static_cast<size_t>(mark_count()));
    mark_styles.resize(static_cast<size_t>(mark_count()), MarkStyle{DEFAULT_MARK_COLOUR, 1});
}

void reset_mark_styles(CaptureData& data) {
    data.mark_styles.assign(static_cast<size_t>(data.mark_count()), MarkStyle{DEFAULT_MARK_COLOUR, 1});
}
