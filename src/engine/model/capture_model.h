// The in-memory model of open captures: the ten layer slots and the working copy of the
// current layer that every command, algorithm and drawing routine works on.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/limits.h"

// What a C3D file held besides its marks (engine/formats/c3d/c3d_source.h).
struct C3dSource;
// The steps of a layer that can be undone and redone (engine/history/undo_history.h).
class UndoHistory;
// Its analog channels, force plates and events (engine/formats/c3d/c3d_trial.h).
struct C3dTrial;

struct Sample {
    double x;
    double y;
    double z;
};

// Coordinate 0, 1 or 2 of a sample: x, y or z.
inline double axis_coordinate(const Sample& sample, int axis) {
    return axis == 0 ? sample.x : axis == 1 ? sample.y : sample.z;
}

// Text shared, never copied, between the working copy and a layer slot.
using SharedText = std::shared_ptr<const std::string>;

// Where a sample's value came from. A lost sample is told by its value (is_lost); for the others
// this says whether the cameras saw it or what computed it.
enum class SampleOrigin : uint8_t {
    measured = 0,
    computed,  // by another program: a C3D residual of 0
    repair,
    smoothing,
    filter,
    fill_spline,
    fill_marks,
    edit,
    scaling,
    diagnosis,
};

// The trajectory of one mark. `samples` holds one entry per frame (frame f is samples[f]) in a
// single array that the working copy and the layer slot share: a change through one is a change
// through the other. An unused entry has neither name nor samples.
struct Channel {
    SharedText name;
    std::shared_ptr<Sample[]> samples;
    // One origin per frame; null while every sample is as it was read (measured).
    std::shared_ptr<SampleOrigin[]> origins;
    // One C3D residual word per frame as the file held it (camera mask and residual); null when
    // the layer's file holds none.
    std::shared_ptr<float[]> residuals;

    const std::string& name_text() const;
    bool empty() const { return samples == nullptr; }
    SampleOrigin origin(int frame) const { return origins ? origins[frame] : SampleOrigin::measured; }
};



// A gap a fill wrote, with how it was filled and the fill's own estimate of its error (NaN when
// it has none): the gap list shows these beside the gaps still open.
struct FilledGapNote {
    int mark;
    int first;
    int last;
    std::string method;
    double estimated_error;
};

struct MarkStyle {
    int32_t colour;
    int32_t visible;
};

struct Bone {
    int32_t colour;
    int32_t origin;
    int32_t destination;
};

// The format of the file a layer was read from: Save writes the layer back in that format.
enum class CaptureFormat { idf, c3d, trc };

// The fields that layer_fetch and layer_store move between the working copy and a slot.
struct CaptureData {
    double capture_rate = 0;  // frames per second as the file gives it, whole or not (59.94)
    int num_columns = 0;  // coordinate columns, three per mark (set_columns sizes the mark tables with it)
    int num_frames = 0;
    int error_count = 0;  // lost coordinates, each of x, y and z counted on its own
    int first_frame = 0;  // the number the file gives its first frame (IDF files count from 0)
    std::string units;    // the coordinates' units when the file names them ("mm"); empty when unknown
    int analog_channels = 0;  // analog channels kept with the layer (C3D), and their rate in Hz
    double analog_rate = 0;
    // One entry per mark. The mark tables grow with the capture (up to MAX_CHANNELS), so a layer of
    // few marks, or none, costs no more than it holds.
    std::vector<Channel> channels;
    std::string source_path;
    std::string file_name;      // empty: none
    std::string skeleton_file;  // empty: none
    std::string rules_file;     // empty: none
    int bone_count = 0;
    std::array<Bone, MAX_BONES> bones{};
    std::vector<MarkStyle> mark_styles;
    // The header lines of the file the layer was read from, kept so that saving never has to
    // read the original file again.
    SharedText header;
    CaptureFormat source_format = CaptureFormat::idf;
    // The rest of the C3D file the layer was read from, written back with the marks; null for
    // layers read from other formats.
    std::shared_ptr<const C3dSource> c3d_source;
    // The gaps filled since the capture was opened, oldest first; null until the first fill.
    std::shared_ptr<std::vector<FilledGapNote>> filled_gaps;
    // Read from c3d_source; the working copy and the slot share it, events edited included.
    std::shared_ptr<C3dTrial> trial;
    // Work the user would lose by closing the layer: samples changed since the capture was opened
    // or saved, and the skeleton changed since it was loaded or saved.
    bool samples_changed = false;
    bool skeleton_changed = false;
    // Shared, like the samples, between the working copy and the layer's slot; null until the
    // first command recorded.
    std::shared_ptr<UndoHistory> history;
    bool events_changed = false;

    int mark_count() const { return num_columns / 3; }
    // Sets num_columns and sizes the mark tables to its marks: channels added are empty, mark
    // styles added are "Gris" and visible.
    void set_columns(int columns);
    bool has_unsaved_work() const { return samples_changed || skeleton_changed || events_changed; }
};

// The display placement of a layer: held by widgets while the layer is current (layer_store
// reads them through the placement seam) and kept in the slot while it is not.
struct LayerPlacement {
    float offset_x = 0;
    float offset_y = 0;
    float offset_z = 0;
    int initial_frame = 0;
    int draw_box = 1;
    float scale = 0;
};

// One open capture file.
struct Layer : CaptureData, LayerPlacement {
    int visible = 0;
    int in_use = 0;
};

struct AppState : CaptureData {
    std::array<Layer, MAX_LAYERS + 1> layers{};  // slots 1..10; slot 0 is never used
    int current_layer = 0;                       // 0 while no file is open
    int open_count = 0;
    int switching_layer = 0;
    std::string xml_editor_command;
    std::string idf_editor_command;
    std::string xml_viewer_command;
};

extern AppState app;

// Back to the start-up state: no file open, every slot free, empty configuration.
void app_reset();

// The origins of mark `mark` of `data`, made (all measured) on first use so they can be written;
// when `data` is the working copy the current layer's slot shares them at once, as it shares the
// samples.
SampleOrigin* writable_origins(CaptureData& data, int mark);

void layer_fetch(int n);
void layer_store(int n);
// Lost coordinates of `data`, x, y and z each counted; without an argument, of the working copy.
int count_lost_values(const CaptureData& data);
int count_lost_values();

// Marks slot n as holding an open file and drawn, then lets the interface show its row.
void show_layer_row(int n);

// Slot n no longer holds an open file; the interface hides its row.
void hide_layer_row(int n);

// The engine's part of closing the current layer: its slot is freed, open_count decreased,
// `file_name` cleared and its samples released. Returns the path of the capture closed.
std::string close_current_capture();

// Every command that changes samples calls this once, at its end: `data` then has unsaved
// samples, and when it is the working copy the interface is told so that what shows samples
// follows.
void note_samples_changed(CaptureData& data);

// A number that note_samples_changed increases, whatever the layer: what keeps copies of samples
// (the view's vertex arrays) rebuilds them when it has moved on.
unsigned long samples_generation();

// While one is alive, note_samples_changed marks the layer at once but tells the interface only
// when the outermost one ends: a long run that changes samples again and again reloads once.
class SampleChangeBatch {
public:
    SampleChangeBatch();
    ~SampleChangeBatch();
    SampleChangeBatch(const SampleChangeBatch&) = delete;
    SampleChangeBatch& operator=(const SampleChangeBatch&) = delete;
};

// One mark style per mark, each colour "Gris", visible.
void reset_mark_styles(CaptureData& data);
