// The to-plot list: the entries collected on the Plot page, each naming a channel of an open
// layer over a frame interval with its legend, colour and line style.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"

struct PlotItem {
    int32_t layer = 0;        // slot 1..10
    int32_t channel = 0;      // mark index in that layer
    int32_t signal = -1;      // or, when not -1, a signal of that layer (engine/plot/plot_signals.h)
    int32_t first_frame = 0;
    int32_t last_frame = 0;   // inclusive
    std::string legend;       // the label as it was when the entry was added
    int32_t line_type = 1;    // gnuplot line type 1..12: colour menu position + 1
    int dots = 0;             // lines with points
    int filled = 0;           // filled curves (wins over dots)
    // The header text of the file the entry came from. It lives exactly as long as that file
    // is open, so a closed layer or a slot that has since received another file is recognised.
    std::weak_ptr<const std::string> source;
};

// The to-plot list, in the order of the rows of clist_toplot_plot; empty at start.
extern std::vector<PlotItem> plot_items;

// The layer chosen at position p of the layer menu: the (p+1)-th slot of `state` in use, in slot
// order; 0 when there is none.
int plot_chosen_layer(const AppState& state, int position);

// An entry for channel `channel` of slot `layer` of `state`, bound to the file that slot holds now.
PlotItem make_plot_item(const AppState& state, int layer, int channel, int first_frame, int last_frame,
                        const std::string& legend, int line_type, bool dots, bool filled);

// Appends an entry to plot_items.
void plot_append_item(PlotItem item);

// Removes the entries at the given positions (any order, repeats ignored), keeping the order of
// the others; positions outside the list are ignored.
void plot_remove_positions(std::vector<int> positions);

// Why entry i cannot be plotted now from the slots of `state` (closed file, reused slot, channel
// or frames outside the layer); empty when it can.
std::string plot_item_problem(const AppState& state, const PlotItem& item, size_t i);
