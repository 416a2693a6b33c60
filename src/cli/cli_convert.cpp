// zemo-cli convert: a capture moved between IDF, TRC and C3D; the output's format is told by
// its extension, the input's by its content.
#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/formats/capture_format.h"
#include "engine/formats/capture_io.h"
#include "engine/gait/forces_mot.h"
#include "engine/model/capture_model.h"
#include "engine/formats/c3d/c3d_trial.h"

int cli_convert(const CliWords& words) {
    static const char* usage = "zemo-cli convert IN OUT [--forces OUT.mot]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"forces"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 2) return cli_usage_error("convert takes an input and an output file", usage);
    const std::string& output = args.positional[1];
    if (!capture_name_has_format(output)) {
        return cli_usage_error("the output's name must end in .idf, .trc or .c3d: " + output, usage);
    }
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    if (capture_format_of_name(output) == CaptureFormat::c3d) {
        // C3D has one residual per point, so a point is either seen or lost as a whole.
        const long long partly = partly_lost_samples(app);
        if (partly > 0) {
            std::fprintf(stderr,
                         "zemo-cli: %lld samples have only some coordinates lost; C3D writes them as lost points\n",
                         partly);
        }
    }
    const auto forces = args.options.find("forces");
    if (forces == args.options.end()) return cli_save_as(output);
    if (!app.trial || app.trial->plates.empty()) {
        return cli_refused(Status::failure(args.positional[0] + " holds no force plates: nothing for " + forces->second));
    }
    const int saved = cli_save_as(output);
    if (saved != EXIT_DONE) return saved;
    const Status written = forces_mot_write(app, forces->second);
    return written.ok() ? EXIT_DONE : cli_refused(written);
}
