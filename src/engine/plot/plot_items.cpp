// The to-plot list and the checks that keep its entries tied to the files they came from.
#include "engine/plot/plot_items.h"

#include <algorithm>

std::vector<PlotItem> plot_items;

int plot_chosen_layer(const AppState& state, int position) {
    if (position < 0) return 0;
    int seen = 0;
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (!state.layers[n].in_use) continue;
        if (seen++ == position) return n;
    }
    return 0;
}

PlotItem make_plot_item(const AppState& state, int layer, int channel, int first_frame, int last_frame,
                        const std::string& legend, int line_type, bool dots, bool filled) {
    PlotItem item;
    item.layer = layer;
    item.channel = channel;
    item.first_frame = first_frame;
    item.last_frame = last_frame;
    item.legend = legend;
    item.line_type = line_type;
    item.dots = dots ? 1 : 0;
    item.filled = filled ? 1 : 0;
    if (layer >= 1 && layer <= MAX_LAYERS) item.source = state.layers[layer].header;
    return item;
}

void plot_append_item(PlotItem item) { plot_items.push_back(std::move(item)); }

void plot_remove_positions(std::vector<int> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (auto p = positions.rbegin(); p != positions.rend(); ++p) {
        if (*p >= 0 && static_cast<size_t>(*p) < plot_items.size()) plot_items.erase(plot_items.begin() + *p);
    }
}

std::string plot_item_problem(const AppState& state, const PlotItem& item, size_t i) {
    const std::string entry = "The entry " + std::to_string(i) + " (" + item.legend + ") of the plot list";
    if (item.layer < 1 || item.layer > MAX_LAYERS) return entry + " names no layer.";
    const Layer& layer = state.layers[item.layer];
    const auto source = item.source.lock();
    if (!layer.in_use || !source || layer.header != source) {
        return entry + " comes from a file that has been closed.\n Remove it from the list.";
    }
    if (item.signal < 0 &&
        (item.channel < 0 || item.channel >= layer.mark_count() || !layer.channels[item.channel].samples)) {
        return entry + " names channel " + std::to_string(item.channel) + ", which its layer does not have.";
    }
    if (item.first_frame <= item.last_frame && (item.first_frame < 0 || item.last_frame >= layer.num_frames)) {
        return entry + " runs over frames " + std::to_string(item.first_frame) + " - " +
               std::to_string(item.last_frame) + ", outside the layer's 0 - " + std::to_string(layer.num_frames - 1) +
               ".";
    }
    return {};
}
