// What the Plot page offers beside the marks of a C3D layer: its analog channels and each force
// plate's force, centre of pressure and moment components, each a value per analog sample. A
// plot whose list holds any of them draws every entry against time in seconds.
#pragma once

#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/model/status.h"
#include "engine/plot/plot_files.h"

struct PlotSignal {
    std::string name;   // "Force.Fx1", "Plate 1 Fz", "Plate 1 COPx" ...
    std::string units;  // "N", "mm", "Nmm" ...
};

// The analog channels, then per plate Fx Fy Fz, COPx COPy COPz, Mx My Mz; none for other layers.
std::vector<PlotSignal> plot_signals(const CaptureData& data);

// Signal `signal` at analog sample `sample`; NaN where it has no value (no centre of pressure).
double plot_signal_value(const CaptureData& data, int signal, size_t sample);

// True when an entry of plot_items is a signal.
bool plot_has_signals();

// plot_gather_files for a list that holds signals: one data file per entry of "time value" rows
// (a mark gives its coordinate on the plot's axis, X for a 3-D plot) and order.gnu plotting them
// all against time, each legend with its units.
Status plot_gather_time_files(const PlotSettings& settings, std::vector<PlotFile>& files);
