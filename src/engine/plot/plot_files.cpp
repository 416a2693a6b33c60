// Writing the plot: the data of every entry, gathered layer by layer, then order.gnu.
#include "engine/plot/plot_files.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "engine/formats/capture_io.h"
#include "engine/plot/plot_signals.h"
#include "platform/file_replace.h"
#include "platform/paths.h"

namespace {

// "%f" without the locale: six decimals and "." always.
void put_fixed(std::ostream& out, double value) {
    char text[512];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    out.write(text, result.ptr - text);
}

const char* axis_names[3] = {"X", "Y", "Z"};

const char* style_of(const PlotItem& item) {
    if (item.filled) return "filledcurves";
    if (item.dots) return "linespoints";
    return "lines";
}

}  // namespace

void PlotBounds::add_frames(int first, int last) {
    first_frame = any_entry ? std::min(first_frame, first) : first;
    last_frame = any_entry ? std::max(last_frame, last) : last;
    any_entry = true;
}

void PlotBounds::add_sample(const Sample& sample) {
    const double values[3] = {sample.x, sample.y, sample.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (is_lost(values[axis])) continue;
        const float v = static_cast<float>(values[axis]);
        low[axis] = valid[axis] ? std::min(low[axis], v) : v;
        high[axis] = valid[axis] ? std::max(high[axis], v) : v;
        valid[axis] = true;
    }
}

int PlotBounds::range_low(int axis) const { return static_cast<int>(low[axis]) - 1; }
int PlotBounds::range_high(int axis) const { return static_cast<int>(high[axis]) + 1; }

LostFrames plot_write_data(std::ostream& out, const Sample* samples, int first, int last, PlotBounds& bounds) {
    LostFrames lost;
    for (int f = first; f <= last; ++f) {
        const Sample& s = samples[f];
        const double values[3] = {s.x, s.y, s.z};
        bool any = false;
        for (int axis = 0; axis < 3; ++axis) {
            if (axis > 0) out << '\t';
            if (is_lost(values[axis])) {
                out << "NaN";
                ++lost.axis[axis];
                any = true;
            } else {
                put_fixed(out, values[axis]);
            }
        }
        out << '\n';
        lost.any += any;
        bounds.add_sample(s);
    }
    return lost;
}

std::string plot_data_name(size_t i) {
    char name[32];
    std::snprintf(name, sizeof name, "data%.2d.dat", static_cast<int>(i));
    return name;
}

std::string gnuplot_string(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        // A line break would end the command in the middle of the string.
        quoted += c == '\n' || c == '\r' ? ' ' : c;
    }
    return quoted + '"';
}

void plot_write_commands(std::ostream& out, const std::vector<PlotItem>& items, const PlotSettings& settings,
                         const PlotBounds& bounds, const std::vector<LostFrames>& lost) {
    const auto range = [&](const char* name, int low, int high) {
        out << "set " << name << " [" << low << ':' << high << "]\n";
    };
    out << "set parametric\n";
    out << "set output \"output.png\"\n";
    out << "set terminal png size " << settings.width << ',' << settings.height << "\n\n";
    out << "set grid\n";
    out << "set title " << gnuplot_string(settings.title) << '\n';
    const bool flat = settings.type != PLOT_XYZ;
    const int axis = flat ? settings.type - PLOT_X : 0;
    if (!flat) {
        out << "set view " << settings.rotation_x << ',' << settings.rotation_z << '\n';
        range("xrange", bounds.range_low(0), bounds.range_high(0));
        range("yrange", bounds.range_low(1), bounds.range_high(1));
        range("zrange", bounds.range_low(2), bounds.range_high(2));
        out << "splot ";
    } else {
        range("xrange", bounds.first_frame, bounds.last_frame);
        range("yrange", bounds.range_low(axis), bounds.range_high(axis));
        out << "plot ";
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const PlotItem& item = items[i];
        if (i > 0) out << ", \\\n";
        // gnuplot numbers the rows of a data file from 0 ($0); the file starts at the entry's first
        // frame, so each value is drawn at its frame.
        const std::string columns =
            flat ? "using ($0+" + std::to_string(item.first_frame) + "):" + std::to_string(axis + 1) : "";
        std::string legend = item.legend;
        const int left_out = i < lost.size() ? lost[i].left_out(settings.type) : 0;
        if (left_out > 0) {
            legend += " (" + std::to_string(left_out) + (left_out == 1 ? " lost frame" : " lost frames") + " left out)";
        }
        out << '"' << plot_data_name(i) << "\" " << columns << " title " << gnuplot_string(legend) << " with "
            << style_of(item) << ' ' << item.line_type;
    }
}

Status plot_gather_files(const PlotSettings& settings, std::vector<PlotFile>& files) {
    files.clear();
    if (plot_items.empty()) return Status::failure("There is nothing to plot.\n Add channels to the To Plot list first.");
    if (plot_has_signals()) return plot_gather_time_files(settings, files);
    for (size_t i = 0; i < plot_items.size(); ++i) {
        const std::string problem = plot_item_problem(app, plot_items[i], i);
        if (!problem.empty()) return Status::failure(problem);
    }

    const int current = app.current_layer;
    layer_store(current);
    PlotBounds bounds;
    std::vector<PlotFile> gathered;
    std::vector<LostFrames> lost;
    for (size_t i = 0; i < plot_items.size(); ++i) {
        const PlotItem& item = plot_items[i];
        layer_fetch(item.layer);
        bounds.add_frames(item.first_frame, item.last_frame);
        std::ostringstream out;
        lost.push_back(
            plot_write_data(out, app.channels[item.channel].samples.get(), item.first_frame, item.last_frame, bounds));
        gathered.push_back({plot_data_name(i), std::move(out).str()});
    }
    layer_fetch(current);

    for (int axis = 0; axis < 3; ++axis) {
        const bool needed = settings.type == PLOT_XYZ || settings.type - PLOT_X == axis;
        if (needed && !bounds.valid[axis]) {
            return Status::failure(std::string("There is no valid coordinate on the ") + axis_names[axis] +
                                   " axis of the channels to plot.\n Nothing has been plotted.");
        }
    }
    std::ostringstream commands;
    plot_write_commands(commands, plot_items, settings, bounds, lost);
    gathered.push_back({"order.gnu", std::move(commands).str()});
    files = std::move(gathered);
    return {};
}

Status plot_store_files(const std::string& folder, const std::vector<PlotFile>& files) {
    // Each file is replaced whole, so one that cannot be written keeps its older content.
    for (const PlotFile& file : files) {
        const std::string reason = replace_file(join_path(folder, file.name), IDF_TEMP_FILE_NAME, [&file](FILE* out) {
                                       return std::fwrite(file.text.data(), 1, file.text.size(), out) ==
                                              file.text.size();
                                   }).reason;
        if (!reason.empty()) return Status::failure(reason);
    }
    return {};
}
