// zemo-cli repair, smooth, both, interchange and scale: the trajectory commands on a capture
// file, written to a new file as Save as writes it.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/interchange_check.h"
#include "engine/processing/trajectory_edit.h"

bool read_interval(const CliArgs& args, Interval& out) {
    out = {0, app.num_frames - 1};
    for (const auto& [option, target] : {std::pair{"from", &out.first}, std::pair{"to", &out.last}}) {
        if (!args.has(option)) continue;
        if (!parse_cli_int(args.options.at(option), *target) || *target < 0 || *target > app.num_frames - 1) {
            std::fprintf(stderr, "zemo-cli: --%s must be a frame from 0 to %d\n", option, app.num_frames - 1);
            return false;
        }
    }
    return true;
}

// --marks: indices or names separated by commas; every mark when not given.
bool read_marks(const CliArgs& args, std::vector<int>& out) {
    if (!args.has("marks")) {
        out = all_channels(app);
        return true;
    }
    out.clear();
    const std::string& list = args.options.at("marks");
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int mark = -1;
        if (!parse_cli_int(item, mark)) {
            for (int m = 0; m < app.mark_count(); ++m) {
                if (app.channels[m].name_text() == item) {
                    mark = m;
                    break;
                }
            }
        }
        if (mark < 0 || mark >= app.mark_count()) {
            std::fprintf(stderr, "zemo-cli: no mark \"%s\" in the capture (%d marks)\n", item.c_str(), app.mark_count());
            return false;
        }
        out.push_back(mark);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

namespace {

struct Job {
    CliArgs args;
    Interval interval;
    std::vector<int> marks;
};

// Parses the words, opens IN and reads the interval and marks; returns -1 to go on, else the
// exit code.
int prepare(const CliWords& words, const std::set<std::string>& options, const char* usage, Job& job) {
    const std::string problem = parse_cli_args(words, options, {}, job.args);
    if (!problem.empty()) return cli_usage_error(problem, usage);
    if (job.args.positional.size() != 2) return cli_usage_error("an input and an output file are needed", usage);
    if (!cli_open_capture(job.args.positional[0])) return EXIT_REFUSED;
    if (!read_interval(job.args, job.interval) || !read_marks(job.args, job.marks)) return EXIT_REFUSED;
    return -1;
}

int save_result(const Job& job) { return cli_save_as(job.args.positional[1]); }

// The fill report: one line "mark first last method estimated_error" per filled gap,
// tab-separated; the method names the donors ("rigid:A,B,C"), the error is in capture units.
bool write_fill_report(const std::string& path, const std::vector<FilledGap>& filled) {
    return cli_write_report(path, [&filled](FILE* out) {
        for (const FilledGap& gap : filled) {
            const std::string& method = gap.method_name.empty() ? fill_method_name(gap.method) : gap.method_name;
            if (std::fprintf(out, "%s\t%d\t%d\t%s\t%.4g\n", app.channels[gap.mark].name_text().c_str(), gap.first,
                             gap.last, method.c_str(), gap.estimated_error) < 0) {
                return false;
            }
        }
        return true;
    });
}

// --donors A,B,C: three different marks, by index or name, none of them filled. Without --marks
// every other mark is filled.
bool read_donors(const CliArgs& args, Job& job, std::vector<int>& donors) {
    donors.clear();
    if (!args.has("donors")) return true;
    CliArgs as_marks;
    as_marks.options["marks"] = args.options.at("donors");
    if (!read_marks(as_marks, donors)) return false;
    std::vector<int> sorted = donors;
    std::sort(sorted.begin(), sorted.end());
    if (donors.size() != 3 || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        std::fprintf(stderr, "zemo-cli: --donors needs three different marks\n");
        return false;
    }
    if (!args.has("marks")) {
        std::erase_if(job.marks, [&](int m) { return std::find(donors.begin(), donors.end(), m) != donors.end(); });
        return true;
    }
    for (int d : donors) {
        if (std::find(job.marks.begin(), job.marks.end(), d) != job.marks.end()) {
            std::fprintf(stderr, "zemo-cli: the donor %s is one of the marks to fill\n", app.channels[d].name_text().c_str());
            return false;
        }
    }
    return true;
}

bool read_factor(const CliArgs& args, int& factor) {
    factor = 5;
    if (args.has("factor") && (!parse_cli_int(args.options.at("factor"), factor) || factor < 1)) {
        std::fprintf(stderr, "zemo-cli: --factor must be a whole number of at least 1\n");
        return false;
    }
    return true;
}

}  // namespace

int cli_repair(const CliWords& words) {
    Job job;
    if (int code = prepare(words, {"from", "to", "marks"}, "zemo-cli repair IN OUT [--from F] [--to F] [--marks LIST]", job);
        code >= 0) {
        return code;
    }
    run_repair(app, job.interval.first, job.interval.last, job.marks);
    return save_result(job);
}

int cli_smooth(const CliWords& words) {
    static const char* usage = "zemo-cli smooth IN OUT [--factor K] [--from F] [--to F] [--marks LIST]";
    Job job;
    if (int code = prepare(words, {"factor", "from", "to", "marks"}, usage, job); code >= 0) return code;
    int factor;
    if (!read_factor(job.args, factor)) return EXIT_USAGE;
    // Marks refused for their lost coordinates have said so on standard error; OUT holds the rest.
    run_smooth(app, job.interval.first, job.interval.last, job.marks, factor);
    return save_result(job);
}

int cli_both(const CliWords& words) {
    Job job;
    if (int code = prepare(words, {}, "zemo-cli both IN OUT", job); code >= 0) return code;
    run_repair(app, 0, app.num_frames - 1, job.marks);
    run_smooth(app, 0, app.num_frames - 1, job.marks, 5);
    return save_result(job);
}

int cli_interchange(const CliWords& words) {
    static const char* usage = "zemo-cli interchange IN OUT --marks A,B --from F --to F";
    Job job;
    if (int code = prepare(words, {"from", "to", "marks"}, usage, job); code >= 0) return code;
    if (!job.args.has("marks") || !job.args.has("from") || !job.args.has("to") || job.marks.size() != 2) {
        return cli_usage_error("interchange needs --marks A,B, --from and --to", usage);
    }
    const InterchangeFault fault =
        interchange_fault(app, job.interval.first, job.interval.last, job.marks[0], job.marks[1]);
    if (fault != InterchangeFault::none) {
        show_error(interchange_fault_text(fault));
        return EXIT_REFUSED;
    }
    interchange_channels(app, job.interval.first, job.interval.last, job.marks[0], job.marks[1]);
    show_message("Channels Interchange Finished.", MESSAGE_INFO, BUTTONS_OK);
    return save_result(job);
}

int cli_scale(const CliWords& words) {
    static const char* usage = "zemo-cli scale IN OUT --factor S";
    Job job;
    if (int code = prepare(words, {"factor"}, usage, job); code >= 0) return code;
    double s = 0;
    if (!job.args.has("factor") || !parse_cli_number(job.args.options.at("factor"), s) || s < -1.0 || s > 1.0) {
        return cli_usage_error("--factor must be a number from -1 to 1 (the data are scaled by 1 + S)", usage);
    }
    scale_data(app, static_cast<float>(s));
    return save_result(job);
}

int cli_fill(const CliWords& words) {
    static const char* usage =
        "zemo-cli fill IN OUT [--method auto|spline|rigid|linear] [--donors A,B,C] [--max-gap N] [--from F] [--to F] "
        "[--marks LIST] [--report FILE]";
    Job job;
    if (int code = prepare(words, {"method", "donors", "max-gap", "from", "to", "marks", "report"}, usage, job);
        code >= 0) {
        return code;
    }
    FillMethod method = FillMethod::automatic;
    if (job.args.has("method") && !parse_fill_method(job.args.options.at("method"), method)) {
        return cli_usage_error("--method must be auto, spline, rigid or linear", usage);
    }
    std::vector<int> donors;
    if (!read_donors(job.args, job, donors)) return EXIT_REFUSED;
    if (!donors.empty() && (method == FillMethod::spline || method == FillMethod::linear)) {
        return cli_usage_error("--donors fills from those marks: it goes with --method auto or rigid", usage);
    }
    int max_gap = default_max_gap(app.capture_rate);
    if (job.args.has("max-gap") && (!parse_cli_int(job.args.options.at("max-gap"), max_gap) || max_gap < 0)) {
        return cli_usage_error("--max-gap must be a whole number of frames, 0 for no limit", usage);
    }
    std::vector<UnfilledGap> left_lost;
    const std::vector<FilledGap> filled =
        run_fill(app, job.interval.first, job.interval.last, job.marks, method, max_gap, donors, &left_lost);
    for (const UnfilledGap& gap : left_lost) {
        std::fprintf(stderr, "zemo-cli: %s frames %d-%d left lost: %s\n", app.channels[gap.mark].name_text().c_str(),
                     gap.first, gap.last, gap.reason.c_str());
    }
    const int saved = save_result(job);
    if (saved != EXIT_DONE || !job.args.has("report")) return saved;
    return write_fill_report(job.args.options.at("report"), filled) ? EXIT_DONE : EXIT_REFUSED;
}
