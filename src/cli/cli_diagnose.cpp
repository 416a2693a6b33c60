// zemo-cli diagnose: what the expert-system page writes into its two views goes to the two
// output streams, findings on standard output and progress on standard error.
#include "cli/cli_diagnose.h"

#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "engine/formats/capture_io.h"
#include "engine/fuzzy/expert_system.h"
#include "engine/scene/view_state.h"

int cli_diagnose(const CliWords& words) {
    static const char* usage = "zemo-cli diagnose IN --rules FILE.fim [--repair OUT]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"rules", "repair"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 1) return cli_usage_error("diagnose takes one capture file", usage);
    if (!args.has("rules")) return cli_usage_error("diagnose needs --rules FILE.fim", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    // "Losed Marks" reads the bounds of the 3-D view, which a freshly opened capture gets.
    compute_view_bounds();

    const bool repair = args.has("repair");
    DiagnosisReport report;
    report.rules_append = [](const std::string& text) { std::fputs(text.c_str(), stderr); };
    report.actions_append = [](const std::string& text) { std::fputs(text.c_str(), stdout); };
    report.repair_mode = [repair] { return repair; };
    const RunResult result = expert_system_run(app, view.bounds, args.options.at("rules"), report);
    std::fflush(stdout);
    if (result != RUN_DONE) return EXIT_REFUSED;
    if (repair) return cli_save_as(args.options.at("repair"));
    return EXIT_DONE;
}
