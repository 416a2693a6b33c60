// Batch work: each file is done by a worker process of its own (the engine keeps one capture per
// process), at most N at once; what a worker prints is shown whole when it ends, followed by one
// progress line.
#include "cli/cli_batch.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "cli/batch_plan.h"
#include "cli/cli_args.h"
#include "cli/cli_diagnose.h"
#include "platform/program_folders.h"

namespace {

const std::set<std::string> RANGE_OPTIONS = {"from", "to", "marks"};

// Adding a one-in-one-out command to batch work is one line here.
const BatchCommand batch_commands[] = {
    {"copy", cli_copy, {}, nullptr},
    {"convert", cli_convert, {}, nullptr},
    {"repair", cli_repair, RANGE_OPTIONS, nullptr},
    {"smooth", cli_smooth, {"factor", "from", "to", "marks"}, nullptr},
    {"both", cli_both, {}, nullptr},
    {"interchange", cli_interchange, RANGE_OPTIONS, nullptr},
    {"scale", cli_scale, {"factor"}, nullptr},
    {"fill", cli_fill, {"method", "donors", "max-gap", "from", "to", "marks"}, nullptr},
    {"filter", cli_filter, {"cutoff", "order", "from", "to", "marks"}, nullptr},
    {"diagnose", cli_diagnose, {"rules"}, "repair"},
};

const char* const BATCH_USAGE = "zemo-cli COMMAND IN... --out-dir DIR [--ext idf|trc|c3d] [-j N] [OPTIONS]";

struct BatchRequest {
    std::vector<std::string> inputs;
    CliWords options;  // the command's own options, passed to every file
    std::string out_dir, ext;
    int workers = 0;
};

int available_cores() {
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    return cores > 0 ? static_cast<int>(cores) : 1;
}

// Splits the words into inputs, the batch's own options and the command's; an empty text or the
// usage error.
std::string parse_batch(const BatchCommand& command, const CliWords& words, BatchRequest& out) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= words.size()) return false;
            target = words[++i];
            return true;
        };
        std::string jobs;
        if (word == "--out-dir") {
            if (!value(out.out_dir)) return "option --out-dir needs a folder";
        } else if (word == "--ext") {
            if (!value(out.ext)) return "option --ext needs an extension";
        } else if (word.compare(0, 2, "-j") == 0) {
            if (word.size() > 2) {
                jobs = word.substr(2);
            } else if (!value(jobs)) {
                return "option -j needs a number";
            }
            if (!parse_cli_int(jobs, out.workers) || out.workers < 1) return "-j must be a whole number of at least 1";
        } else if (command.output_option && word == std::string("--") + command.output_option) {
            continue;  // the output is named from the input
        } else if (word == "--report") {
            return "--report names one file and cannot be used with --out-dir";
        } else if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            out.options.push_back(word);
            if (command.value_options.count(word.substr(2)) && i + 1 < words.size()) out.options.push_back(words[++i]);
        } else {
            out.inputs.push_back(word);
        }
    }
    // The command's options are checked once, before any file is worked on.
    CliArgs known;
    const std::string problem = parse_cli_args(out.options, command.value_options, {}, known);
    if (!problem.empty()) return problem;
    if (out.out_dir.empty()) return "--out-dir needs a folder";
    if (out.inputs.empty()) return "no input files";
    if (!out.ext.empty()) {
        const std::string ext = out.ext[0] == '.' ? out.ext.substr(1) : out.ext;
        if (ext != "idf" && ext != "trc" && ext != "c3d") return "--ext must be idf, trc or c3d";
    }
    if (out.workers == 0) out.workers = available_cores();
    return {};
}

// The words one worker runs the command with.
CliWords file_words(const BatchCommand& command, const BatchRequest& request, const BatchFile& file) {
    CliWords words{file.input};
    if (!command.output_option) words.push_back(file.output);
    words.insert(words.end(), request.options.begin(), request.options.end());
    if (command.output_option) {
        words.push_back(std::string("--") + command.output_option);
        words.push_back(file.output);
    }
    return words;
}

struct Worker {
    size_t file;
    FILE* out;
    FILE* err;
};

// Runs one file in a child process whose output goes to two temporary files.
bool start_worker(const BatchCommand& command, const CliWords& words, size_t file, std::map<pid_t, Worker>& running) {
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    std::fflush(nullptr);
    const pid_t pid = out && err ? fork() : -1;
    if (pid == 0) {
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(err), STDERR_FILENO);
        const int code = command.run(words);
        std::fflush(nullptr);
        _exit(code);
    }
    if (pid < 0) {
        if (out) std::fclose(out);
        if (err) std::fclose(err);
        return false;
    }
    running[pid] = {file, out, err};
    return true;
}

void copy_out(FILE* from, FILE* to) {
    std::rewind(from);
    char buffer[8192];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;) std::fwrite(buffer, 1, n, to);
    std::fclose(from);
}

// The progress bar, redrawn in place on a terminal.
void draw_bar(size_t done, size_t total) {
    constexpr size_t WIDTH = 30;
    const size_t filled = total ? done * WIDTH / total : WIDTH;
    std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(), std::string(WIDTH - filled, ' ').c_str(),
                 done, total);
    std::fflush(stderr);
}

}  // namespace

const BatchCommand* find_batch_command(const std::string& name) {
    for (const BatchCommand& command : batch_commands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

bool batch_requested(const CliWords& words) {
    for (const std::string& word : words) {
        if (word == "--out-dir") return true;
    }
    return false;
}

int cli_batch(const BatchCommand& command, const CliWords& words) {
    BatchRequest request;
    const std::string problem = parse_batch(command, words, request);
    if (!problem.empty()) return cli_usage_error(problem, BATCH_USAGE);

    std::vector<std::string> refusals;
    const std::vector<BatchFile> files = plan_batch(request.inputs, request.out_dir, request.ext, refusals);
    if (refusals.empty() && !make_folders(request.out_dir)) {
        refusals.push_back("cannot create the folder " + request.out_dir + ": " + std::strerror(errno));
    }
    if (!refusals.empty()) {
        std::fprintf(stderr, "zemo-cli: nothing was written:\n");
        for (const std::string& line : refusals) std::fprintf(stderr, "  %s\n", line.c_str());
        return EXIT_REFUSED;
    }

    const bool terminal = isatty(STDERR_FILENO);
    std::map<pid_t, Worker> running;
    std::vector<std::string> failed;
    bool wrong_usage = false;
    size_t next = 0, finished = 0;
    if (terminal) draw_bar(0, files.size());
    while (finished < files.size()) {
        while (next < files.size() && running.size() < static_cast<size_t>(request.workers)) {
            if (!start_worker(command, file_words(command, request, files[next]), next, running)) {
                if (running.empty()) {
                    std::fprintf(stderr, "zemo-cli: cannot start a worker process: %s\n", std::strerror(errno));
                    return EXIT_REFUSED;
                }
                break;  // try again when a worker has ended
            }
            ++next;
        }
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0 && errno != EINTR) {
            std::fprintf(stderr, "zemo-cli: lost the worker processes: %s\n", std::strerror(errno));
            return EXIT_REFUSED;
        }
        const auto found = running.find(pid);
        if (found == running.end()) continue;
        const Worker worker = found->second;
        running.erase(found);
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : EXIT_REFUSED;
        const BatchFile& file = files[worker.file];
        ++finished;
        if (terminal) std::fputs("\r\033[K", stderr);
        copy_out(worker.out, stdout);
        std::fflush(stdout);
        copy_out(worker.err, stderr);
        if (code == EXIT_DONE) {
            std::fprintf(stderr, "zemo-cli: [%zu/%zu] %s -> %s\n", finished, files.size(), file.input.c_str(),
                         file.output.c_str());
        } else {
            std::fprintf(stderr, "zemo-cli: [%zu/%zu] %s failed\n", finished, files.size(), file.input.c_str());
            failed.push_back(file.input);
            wrong_usage = wrong_usage || code == EXIT_USAGE;
        }
        if (terminal && finished < files.size()) draw_bar(finished, files.size());
    }
    if (failed.empty()) return EXIT_DONE;
    std::fprintf(stderr, "zemo-cli: %zu of %zu files failed:\n", failed.size(), files.size());
    for (const std::string& input : failed) std::fprintf(stderr, "  %s\n", input.c_str());
    return wrong_usage ? EXIT_USAGE : EXIT_REFUSED;
}
