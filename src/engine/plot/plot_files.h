// The gnuplot files of a plot: one data file per entry of the to-plot list and the command file
// order.gnu, written into the plot folder for the plot script to run.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/model/status.h"
#include "engine/plot/plot_items.h"

enum PlotType { PLOT_XYZ = 0, PLOT_X = 1, PLOT_Y = 2, PLOT_Z = 3 };

struct PlotSettings {
    int width = 640;
    int height = 480;
    std::string title;
    PlotType type = PLOT_XYZ;
    int rotation_x = 60;
    int rotation_z = 30;
};

// What the command file needs to know about the data: the frame span over every entry and,
// per axis, the smallest and largest valid coordinate (held as 32-bit floats).
struct PlotBounds {
    int first_frame = 0;
    int last_frame = 0;
    bool any_entry = false;
    float low[3] = {0, 0, 0};
    float high[3] = {0, 0, 0};
    bool valid[3] = {false, false, false};

    void add_frames(int first, int last);
    void add_sample(const Sample& sample);
    // The axis's range as written: smallest truncated toward zero minus 1, largest plus 1.
    int range_low(int axis) const;
    int range_high(int axis) const;
};

// The frames of one entry with a lost coordinate, per axis and on any axis: gnuplot leaves them
// out of the curve, and the legend says how many.
struct LostFrames {
    int axis[3] = {0, 0, 0};
    int any = 0;
    // The frames missing from the entry's curve in a plot of this type.
    int left_out(PlotType type) const { return type == PLOT_XYZ ? any : axis[type - PLOT_X]; }
};

// Frames first..last of one channel, "%f\t%f\t%f\n" each, and their valid coordinates added to
// the bounds. A lost coordinate is written "NaN", so gnuplot leaves a gap in the curve instead of
// drawing a spike to 999999. Nothing when first is after last.
LostFrames plot_write_data(std::ostream& out, const Sample* samples, int first, int last, PlotBounds& bounds);

// The command file for the entries, as gnuplot reads it with the data files beside it. A 2-D
// plot takes each entry's x from its frame numbers; `lost` (one per entry, or empty when none is
// known) adds the count of left-out frames to the legend. Titles and legends are gnuplot strings
// that print as typed.
void plot_write_commands(std::ostream& out, const std::vector<PlotItem>& items, const PlotSettings& settings,
                         const PlotBounds& bounds, const std::vector<LostFrames>& lost = {});

// Text as a double-quoted gnuplot string that reads back as the text itself.
std::string gnuplot_string(const std::string& text);

// The data file name of entry i: "data%.2d.dat".
std::string plot_data_name(size_t i);

// One file of a plot: its name in the plot folder and its whole text.
struct PlotFile {
    std::string name;
    std::string text;
};

// Gathers the files of plot_items, the data files first and order.gnu last. A plot that cannot
// be made (empty list, an entry whose file is gone, an axis without a valid coordinate) is
// refused with the message for the user and gives no file. The working copy is the current
// layer again afterwards.
Status plot_gather_files(const PlotSettings& settings, std::vector<PlotFile>& files);

// Writes the gathered files into `folder` (which must exist), each through a temporary file
// beside it: one that fails stays as it was and ends the writing, the status giving the reason.
Status plot_store_files(const std::string& folder, const std::vector<PlotFile>& files);
