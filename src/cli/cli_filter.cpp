// zemo-cli filter and cutoff: the zero-lag Butterworth low-pass of a capture written to a new
// file, and the cutoff that residual analysis suggests for each mark and for all of them.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/processing/filter_commands.h"

namespace {

// --order: 2, 4 or 6, the default when not given; false for anything else.
bool read_order(const CliArgs& args, int& order) {
    order = FILTER_DEFAULT_ORDER;
    return !args.has("order") || (parse_cli_int(args.options.at("order"), order) && valid_filter_order(order));
}

}  // namespace

int cli_filter(const CliWords& words) {
    static const char* usage = "zemo-cli filter IN OUT --cutoff HZ [--order N] [--from F] [--to F] [--marks LIST]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"cutoff", "order", "from", "to", "marks"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 2) return cli_usage_error("an input and an output file are needed", usage);
    double cutoff = 0;
    if (!args.has("cutoff") || !parse_cli_number(args.options.at("cutoff"), cutoff) || cutoff <= 0) {
        return cli_usage_error("--cutoff must be a frequency in Hz above 0", usage);
    }
    int order;
    if (!read_order(args, order)) return cli_usage_error("--order must be 2, 4 or 6", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    Interval interval;
    std::vector<int> marks;
    if (!read_interval(args, interval) || !read_marks(args, marks)) return EXIT_REFUSED;
    if (run_filter(app, interval.first, interval.last, marks, cutoff, order).refused) return EXIT_REFUSED;
    return cli_save_as(args.positional[1]);
}

int cli_cutoff(const CliWords& words) {
    static const char* usage = "zemo-cli cutoff IN [--marks LIST]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"marks"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 1) return cli_usage_error("cutoff takes one capture file", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    std::vector<int> marks;
    if (!read_marks(args, marks)) return EXIT_REFUSED;
    const CutoffSuggestion suggestion = residual_cutoff(app, marks, 0, app.num_frames - 1, FILTER_DEFAULT_ORDER);
    if (suggestion.refused) return EXIT_REFUSED;
    for (const MarkCutoff& mark : suggestion.marks) {
        const std::string& name = app.channels[mark.mark].name_text();
        if (mark.cutoff > 0) {
            std::printf("mark %d %s cutoff %.1f\n", mark.mark, name.c_str(), mark.cutoff);
        } else {
            std::printf("mark %d %s cutoff none\n", mark.mark, name.c_str());
        }
    }
    if (suggestion.overall == 0) {
        std::fprintf(stderr, "No mark has a stretch without lost frames long enough to choose a cutoff from.\n");
        return EXIT_REFUSED;
    }
    std::printf("overall cutoff %.1f\n", suggestion.overall);
    return EXIT_DONE;
}
