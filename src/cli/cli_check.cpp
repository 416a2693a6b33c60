// zemo-cli check: the marks that jump off their path or swap with another, listed on standard
// output and, with --report, written as a tab-separated file.
#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/processing/suspect_stretches.h"

namespace {

// One line "mark first last kind" per stretch, tab-separated, frames from 0.
bool write_check_report(const std::string& path, const std::vector<SuspectStretch>& stretches) {
    return cli_write_report(path, [&stretches](FILE* out) {
        for (const SuspectStretch& s : stretches) {
            if (std::fprintf(out, "%s\t%d\t%d\t%s\n", app.channels[s.mark].name_text().c_str(), s.first, s.last,
                             suspect_kind_name(s.kind)) < 0) {
                return false;
            }
        }
        return true;
    });
}

}  // namespace

int cli_check(const CliWords& words) {
    static const char* usage = "zemo-cli check IN [--threshold A] [--report FILE]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"threshold", "report"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 1) return cli_usage_error("check takes one capture file", usage);
    double threshold = 0;
    if (args.has("threshold") && (!parse_cli_number(args.options.at("threshold"), threshold) || threshold <= 0)) {
        return cli_usage_error("--threshold must be an acceleration above 0, in capture units per second squared", usage);
    }
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    const SuspectSearch search = find_suspect_stretches(app, threshold);
    for (const SuspectStretch& s : search.stretches) {
        std::printf("%s %d %d %s\n", app.channels[s.mark].name_text().c_str(), s.first, s.last, suspect_kind_name(s.kind));
    }
    std::printf("%zu suspect stretches (acceleration above %.0f per second squared)\n", search.stretches.size(),
                search.threshold);
    if (!args.has("report")) return EXIT_DONE;
    return write_check_report(args.options.at("report"), search.stretches) ? EXIT_DONE : EXIT_REFUSED;
}
