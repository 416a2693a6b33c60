// zemo-cli plot: opens each capture named by the items once, as consecutive layers, builds the
// to-plot list from the items and writes the plot files; then runs the plot script and waits.
#include "cli/cli_plot.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "engine/model/capture_model.h"
#include "engine/plot/plot_files.h"
#include "engine/plot/plot_items.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "platform/program_folders.h"

namespace {

const char* usage =
    "zemo-cli plot [--type xyz|x|y|z] [--size W,H] [--title T] [--view RX,RZ] [--dir D] [--no-run] ITEM...\n"
    "       ITEM: CAPTURE:MARK:FROM:TO:LABEL:COLOUR[:dots|:filled], COLOUR 1..12";

struct ItemWords {
    std::string capture, mark, label;
    int first = 0, last = 0, colour = 0;
    bool dots = false, filled = false;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Fields are taken from the right, so a capture path may itself hold ":".
std::string parse_item(const std::string& word, ItemWords& out) {
    std::vector<std::string> parts = split(word, ':');
    if (!parts.empty() && (parts.back() == "dots" || parts.back() == "filled")) {
        (parts.back() == "dots" ? out.dots : out.filled) = true;
        parts.pop_back();
    }
    if (parts.size() < 6) return "item \"" + word + "\" is not CAPTURE:MARK:FROM:TO:LABEL:COLOUR[:dots|:filled]";
    const size_t n = parts.size();
    out.capture = parts[0];
    for (size_t i = 1; i + 5 < n; ++i) out.capture += ":" + parts[i];
    out.mark = parts[n - 5];
    out.label = parts[n - 2];
    if (out.capture.empty() || out.mark.empty()) return "item \"" + word + "\" names no capture or no mark";
    if (!parse_cli_int(parts[n - 4], out.first) || !parse_cli_int(parts[n - 3], out.last)) {
        return "item \"" + word + "\": FROM and TO are frame numbers";
    }
    if (!parse_cli_int(parts[n - 1], out.colour) || out.colour < 1 || out.colour > 12) {
        return "item \"" + word + "\": COLOUR is 1..12";
    }
    return {};
}

bool parse_pair(const std::string& text, int& a, int& b) {
    const std::vector<std::string> parts = split(text, ',');
    return parts.size() == 2 && parse_cli_int(parts[0], a) && parse_cli_int(parts[1], b);
}

std::string parse_settings(const CliArgs& args, PlotSettings& settings) {
    if (args.has("type")) {
        const std::string& type = args.options.at("type");
        if (type == "xyz") settings.type = PLOT_XYZ;
        else if (type == "x") settings.type = PLOT_X;
        else if (type == "y") settings.type = PLOT_Y;
        else if (type == "z") settings.type = PLOT_Z;
        else return "--type is xyz, x, y or z";
    }
    if (args.has("size") && (!parse_pair(args.options.at("size"), settings.width, settings.height) ||
                             settings.width < 1 || settings.height < 1)) {
        return "--size is W,H in pixels";
    }
    if (args.has("view") && !parse_pair(args.options.at("view"), settings.rotation_x, settings.rotation_z)) {
        return "--view is RX,RZ in degrees";
    }
    if (args.has("title")) settings.title = args.options.at("title");
    return {};
}

int open_layer(const std::string& path) { return cli_read_capture(path) ? app.current_layer : 0; }

int find_mark(const Layer& layer, const std::string& mark) {
    int index = -1;
    if (parse_cli_int(mark, index)) return index >= 0 && index < layer.mark_count() ? index : -1;
    for (int m = 0; m < layer.mark_count(); ++m) {
        if (layer.channels[m].name_text() == mark) return m;
    }
    return -1;
}

bool add_items(const std::vector<ItemWords>& items) {
    std::map<std::string, int> layers;
    for (const ItemWords& item : items) {
        int& layer = layers[item.capture];
        if (layer == 0 && (layer = open_layer(item.capture)) == 0) return false;
        const Layer& slot = app.layers[layer];
        const int mark = find_mark(slot, item.mark);
        if (mark < 0) {
            std::fprintf(stderr, "zemo-cli: no mark \"%s\" in %s (%d marks)\n", item.mark.c_str(),
                         item.capture.c_str(), slot.mark_count());
            return false;
        }
        plot_append_item(make_plot_item(app, layer, mark, item.first, item.last, item.label, item.colour, item.dots,
                                        item.filled));
    }
    return true;
}

// gp.bat works on gplot/ below its working directory: run the program's copy in `dir`, with
// no picture viewer opened, and wait for it.
int run_plot_script(const std::string& dir) {
    const std::string script = join_path(program_folders().runtime, "gp.bat");
    setenv("ZEMO_PLOT_NO_VIEW", "1", 1);
    std::fflush(nullptr);
    if (run_and_wait({"/bin/sh", script}, dir) != 0) {
        std::fprintf(stderr, "zemo-cli: the plot script %s failed in %s\n", script.c_str(), dir.c_str());
        return EXIT_REFUSED;
    }
    return EXIT_DONE;
}

}  // namespace

int cli_plot(const CliWords& words) {
    CliArgs args;
    std::string problem = parse_cli_args(words, {"type", "size", "title", "view", "dir"}, {"no-run"}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    PlotSettings settings;
    problem = parse_settings(args, settings);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.empty()) return cli_usage_error("plot takes at least one item", usage);
    std::vector<ItemWords> items(args.positional.size());
    for (size_t i = 0; i < items.size(); ++i) {
        problem = parse_item(args.positional[i], items[i]);
        if (!problem.empty()) return cli_usage_error(problem, usage);
    }

    app_reset();
    plot_items.clear();
    if (!add_items(items)) return EXIT_REFUSED;

    const std::string dir = args.has("dir") ? args.options.at("dir") : program_directory();
    const std::string folder = join_path(dir, "gplot");
    if (!make_folders(folder)) {
        std::fprintf(stderr, "zemo-cli: cannot create %s: %s\n", folder.c_str(), std::strerror(errno));
        return EXIT_REFUSED;
    }
    std::vector<PlotFile> files;
    const Status gathered = plot_gather_files(settings, files);
    if (!gathered.ok()) return cli_refused(gathered);
    const Status stored = plot_store_files(folder, files);
    if (!stored.ok()) {
        std::fprintf(stderr, "zemo-cli: cannot write the plot files in %s: %s\n", folder.c_str(),
                     stored.message().c_str());
        return EXIT_REFUSED;
    }
    if (args.has("no-run")) return EXIT_DONE;
    return run_plot_script(dir);
}
