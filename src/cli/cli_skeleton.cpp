// zemo-cli skeleton: loads a BON file onto a capture as the Bones page's Open does, prints the
// marks and bones, and with --save writes the skeleton as Save as does.
#include "cli/cli_skeleton.h"

#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "engine/model/capture_model.h"
#include "engine/skeleton/skeleton_file.h"

namespace {

void print_skeleton() {
    std::printf("marks: %d\nbones: %d\n", app.mark_count(), app.bone_count);
    for (int m = 0; m < app.mark_count(); ++m) {
        const MarkStyle& style = app.mark_styles[m];
        std::printf("mark %d %s colour %d visible %d\n", m, app.channels[m].name_text().c_str(), style.colour,
                    style.visible);
    }
    for (int b = 0; b < app.bone_count; ++b) {
        const Bone& bone = app.bones[b];
        std::printf("bone %d %s %s colour %d\n", b, app.channels[bone.origin].name_text().c_str(),
                    app.channels[bone.destination].name_text().c_str(), bone.colour);
    }
}

}  // namespace

int cli_skeleton(const CliWords& words) {
    static const char* usage = "zemo-cli skeleton CAPTURE SKELETON.bon [--save OUT.bon]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"save"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 2) return cli_usage_error("skeleton takes a capture file and a skeleton file", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    const Status loaded = skeleton_load_file(app, args.positional[1]);
    if (!loaded.ok()) return cli_refused(loaded);
    print_skeleton();
    std::fflush(stdout);
    if (!args.has("save")) return EXIT_DONE;
    const Status saved = skeleton_write_file(app, args.options.at("save"));
    if (!saved.ok()) return cli_refused(saved);
    return EXIT_DONE;
}
