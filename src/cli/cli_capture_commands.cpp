// zemo-cli info and copy: a capture's summary, and a copy written as Save as writes it; and how every
// command reads a capture and reports a refusal.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/capture_summary.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/event_lines.h"
#include "engine/formats/capture_io.h"
#include "engine/gait/gait_events.h"
#include "engine/model/capture_model.h"
#include "platform/file_replace.h"

int cli_usage_error(const std::string& text, const char* usage) {
    std::fprintf(stderr, "zemo-cli: %s\nusage: %s\n", text.c_str(), usage);
    return EXIT_USAGE;
}

int cli_refused(const Status& status) {
    std::fprintf(stderr, "%s\n", status.message().c_str());
    return EXIT_REFUSED;
}

bool cli_read_capture(const std::string& path) {
    std::vector<std::string> warnings;
    const Status status = capture_read_layer(path, &warnings);
    if (!status.ok()) {
        cli_refused(status);
        return false;
    }
    for (const std::string& warning : warnings) {
        std::fprintf(stderr, "zemo-cli: %s: %s\n", path.c_str(), warning.c_str());
    }
    return true;
}

int cli_save_as(const std::string& path) {
    const Status status = capture_save_as(app, path);
    return status.ok() ? EXIT_DONE : cli_refused(status);
}

bool cli_write_report(const std::string& path, const std::function<bool(FILE*)>& write_lines) {
    const std::string failure = replace_file(path, IDF_TEMP_FILE_NAME, write_lines).reason;
    if (failure.empty()) return true;
    std::fprintf(stderr, "Error saving file:\n %s\n %s\n", path.c_str(), failure.c_str());
    return false;
}

bool cli_open_capture(const std::string& path) {
    app_reset();
    return cli_read_capture(path);
}

static int lost_coordinates(const Channel& channel, int frames) {
    int lost = 0;
    for (int f = 0; f < frames; ++f) {
        const Sample& s = channel.samples[f];
        lost += is_lost(s.x) + is_lost(s.y) + is_lost(s.z);
    }
    return lost;
}

int cli_info(const CliWords& words) {
    static const char* usage = "zemo-cli info CAPTURE";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 1) return cli_usage_error("info takes one capture file", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    std::fputs(capture_summary(app).c_str(), stdout);
    for (int m = 0; m < app.mark_count(); ++m) {
        std::printf("mark %d %s lost %d\n", m, app.channels[m].name_text().c_str(),
                    lost_coordinates(app.channels[m], app.num_frames));
    }
    std::fputs(trial_lines(app).c_str(), stdout);
    return EXIT_DONE;
}

int cli_events(const CliWords& words) {
    static const char* usage = "zemo-cli events CAPTURE";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 1) return cli_usage_error("events takes one capture file", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    for (int i : events_by_time(app)) std::printf("%s\n", event_line(app, i).c_str());
    return EXIT_DONE;
}

int cli_copy(const CliWords& words) {
    static const char* usage = "zemo-cli copy IN OUT";
    CliArgs args;
    const std::string problem = parse_cli_args(words, {}, {}, args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (args.positional.size() != 2) return cli_usage_error("copy takes an input and an output file", usage);
    if (!cli_open_capture(args.positional[0])) return EXIT_REFUSED;
    return cli_save_as(args.positional[1]);
}
