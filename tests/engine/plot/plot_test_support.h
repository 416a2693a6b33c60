// Builders shared by the plot tests: small captures opened as layers, and entries on them.
#pragma once

#include <functional>
#include <string>

#include "engine/formats/capture_io.h"
#include "engine/plot/plot_files.h"
#include "engine/plot/plot_items.h"
#include "support/test_support.h"

// Writes a capture into the folder and opens it as the next layer; returns the slot.
inline int open_layer(const TempDir& dir, const std::string& name, int marks, int frames,
                      const std::function<double(int, int, int)>& value) {
    const std::string path = dir.path(name);
    write_file(path, make_idf_text(100, marks, frames, value));
    if (idf_read(path) != 0) return 0;
    return app.current_layer;
}

inline PlotItem entry(int layer, int channel, int first, int last, const std::string& legend, int line_type = 1,
                      bool dots = false, bool filled = false) {
    return make_plot_item(app, layer, channel, first, last, legend, line_type, dots, filled);
}

// Gathers the plot's files and writes them into `folder`, as the plot page and zemo-cli do.
inline Status write_plot(const std::string& folder, const PlotSettings& settings) {
    std::vector<PlotFile> files;
    const Status gathered = plot_gather_files(settings, files);
    return gathered.ok() ? plot_store_files(folder, files) : gathered;
}
