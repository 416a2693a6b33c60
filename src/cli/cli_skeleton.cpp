// zemo-cli skeleton: loads a BON file onto a capture as the Bones page's Open does, prints the
// marks and bones, and with --save writes the skeleton as Save as does.
#include "cli/cli_skeleton.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_args.h"
#include "cli/console_seams.h"
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

// The loader shows no message for a file it cannot read; the console says why.
bool load_skeleton(const std::string& path) {
    console_message_shown();
    errno = 0;
    if (skeleton_load(app, path) == 0) return true;
    if (console_message_shown()) return false;
    const int error = errno;
    std::fprintf(stderr, "Error opening file:\n %s\n %s\n", path.c_str(),
                 error ? std::strerror(error) : "It cannot be read.");
    return false;
}

}  // namespace

int cli_skeleton(const CliWords& words) {
    static const char* usage = "zemo-cli skeleton CAPTURE SKELETON.bon [--save OUT.bon]";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {"save"}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 2) return cli_usage_error("skeleton takes a capture file and a skeleton file", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    if (!load_skeleton(args.positional[1])) return EXIT_REFUSED;
    print_skeleton();
    std::fflush(stdout);
    if (args.has("save") && skeleton_save_as(app, args.options.at("save")) != 0) return EXIT_REFUSED;
    return EXIT_DONE;
}
