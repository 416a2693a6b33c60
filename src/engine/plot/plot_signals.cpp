// Time plots. A mark's frame f is at f / rate seconds and an analog sample s at s / analog rate,
// both counted from the layer's first frame, so marks and forces line up.
#include "engine/plot/plot_signals.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "engine/formats/c3d/c3d_trial.h"

namespace {

const char* const COMPONENTS[9] = {"Fx", "Fy", "Fz", "COPx", "COPy", "COPz", "Mx", "My", "Mz"};

void put(std::ostream& out, double value) {
    if (!std::isfinite(value) || is_lost(value)) {
        out << "NaN";
        return;
    }
    char text[64];
    out.write(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9).ptr - text);
}

std::string length_units(const CaptureData& data) {
    std::string units;
    for (char c : data.units) {
        if (c != ' ') units += c;
    }
    return units.empty() ? "mm" : units;
}

// The rows of one entry; false when it has no value at all.
bool write_rows(std::ostream& out, const CaptureData& data, const PlotItem& item, int axis) {
    bool any = false;
    if (item.signal < 0) {
        const Sample* samples = data.channels[item.channel].samples.get();
        for (int f = item.first_frame; f <= item.last_frame; ++f) {
            const double v = axis_coordinate(samples[f], axis);
            put(out, data.capture_rate > 0 ? f / data.capture_rate : f);
            out << '\t';
            put(out, v);
            out << '\n';
            any = any || !is_lost(v);
        }
        return any;
    }
    const C3dTrial& trial = *data.trial;
    const auto per_frame = static_cast<size_t>(trial.samples_per_frame);
    const size_t end = std::min(trial.sample_count(), static_cast<size_t>(item.last_frame + 1) * per_frame);
    for (size_t s = static_cast<size_t>(item.first_frame) * per_frame; s < end; ++s) {
        const double v = plot_signal_value(data, item.signal, s);
        put(out, trial.analog_rate > 0 ? s / trial.analog_rate : static_cast<double>(s));
        out << '\t';
        put(out, v);
        out << '\n';
        any = any || std::isfinite(v);
    }
    return any;
}

}  // namespace

std::vector<PlotSignal> plot_signals(const CaptureData& data) {
    std::vector<PlotSignal> out;
    if (!data.trial) return out;
    for (const AnalogChannel& c : data.trial->channels) out.push_back({c.label, c.units});
    const std::string length = length_units(data);
    for (size_t n = 1; n <= data.trial->plates.size(); ++n) {
        for (int k = 0; k < 9; ++k) {
            out.push_back({"Plate " + std::to_string(n) + " " + COMPONENTS[k], k < 3 ? "N" : k < 6 ? length : "N" + length});
        }
    }
    return out;
}

double plot_signal_value(const CaptureData& data, int signal, size_t sample) {
    const C3dTrial& trial = *data.trial;
    if (signal < trial.channel_count()) return sample < trial.sample_count() ? trial.value(sample, signal) : NAN;
    const int k = signal - trial.channel_count();
    const auto& series = trial.forces[static_cast<size_t>(k / 9)];
    if (sample >= series.size()) return NAN;
    const PlateSample& p = series[sample];
    const int c = k % 9;
    return c < 3 ? p.force[c] : c < 6 ? p.cop[c - 3] : p.moment[c - 6];
}

bool plot_has_signals() {
    for (const PlotItem& item : plot_items) {
        if (item.signal >= 0) return true;
    }
    return false;
}

Status plot_gather_time_files(const PlotSettings& settings, std::vector<PlotFile>& files) {
    files.clear();
    for (size_t i = 0; i < plot_items.size(); ++i) {
        const std::string problem = plot_item_problem(app, plot_items[i], i);
        if (!problem.empty()) return Status::failure(problem);
    }
    const int axis = settings.type == PLOT_XYZ ? 0 : settings.type - PLOT_X;
    const int current = app.current_layer;
    layer_store(current);
    std::vector<PlotFile> gathered;
    std::vector<std::string> legends;
    bool any = false;
    for (size_t i = 0; i < plot_items.size(); ++i) {
        const PlotItem& item = plot_items[i];
        layer_fetch(item.layer);
        std::string units = length_units(app);
        if (item.signal >= 0) {
            const std::vector<PlotSignal> signals = plot_signals(app);
            if (static_cast<size_t>(item.signal) >= signals.size()) {
                layer_fetch(current);
                return Status::failure("The entry " + std::to_string(i) + " (" + item.legend +
                                       ") of the plot list names a signal its layer does not have.");
            }
            units = signals[item.signal].units;
        }
        legends.push_back(item.legend + (item.signal < 0 ? std::string(" ") + "XYZ"[axis] : "") +
                          (units.empty() ? "" : " (" + units + ")"));
        std::ostringstream out;
        any = write_rows(out, app, item, axis) || any;
        gathered.push_back({plot_data_name(i), std::move(out).str()});
    }
    layer_fetch(current);
    if (!any) return Status::failure("There is no value to plot in the channels of the list.\n Nothing has been plotted.");

    std::ostringstream commands;
    commands << "set output \"output.png\"\n";
    commands << "set terminal png size " << settings.width << ',' << settings.height << "\n\n";
    commands << "set grid\n";
    commands << "set title " << gnuplot_string(settings.title) << '\n';
    commands << "set xlabel \"Time (s)\"\n";
    commands << "plot ";
    for (size_t i = 0; i < plot_items.size(); ++i) {
        const PlotItem& item = plot_items[i];
        if (i > 0) commands << ", \\\n";
        commands << '"' << plot_data_name(i) << "\" using 1:2 title " << gnuplot_string(legends[i]) << " with "
                 << (item.filled ? "filledcurves" : item.dots ? "linespoints" : "lines") << ' ' << item.line_type;
    }
    commands << '\n';
    gathered.push_back({"order.gnu", std::move(commands).str()});
    files = std::move(gathered);
    return {};
}
