// zemo-cli: the engine without a window, for scripts and batch work on many captures.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/cli_batch.h"
#include "cli/cli_commands.h"
#include "cli/cli_diagnose.h"
#include "cli/cli_plot.h"
#include "cli/cli_skeleton.h"
#include "cli/console_seams.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CliWords&);
};

const Command commands[] = {
    {"info", cli_info},
    {"events", cli_events},
    {"copy", cli_copy},
    {"convert", cli_convert},
    {"repair", cli_repair},
    {"smooth", cli_smooth},
    {"both", cli_both},
    {"interchange", cli_interchange},
    {"scale", cli_scale},
    {"fill", cli_fill},
    {"filter", cli_filter},
    {"cutoff", cli_cutoff},
    {"check", cli_check},
    {"diagnose", cli_diagnose},
    {"skeleton", cli_skeleton},
    {"plot", cli_plot},
};

int usage() {
    std::fprintf(stderr,
                 "usage: zemo-cli COMMAND ARGUMENTS\n"
                 "  info CAPTURE        the capture's rate, columns, marks, frames and lost coordinates;\n"
                 "                      a C3D's analog channels, force plates and events\n"
                 "  events CAPTURE      one line per event: context, label, frame, time (s)\n"
                 "  copy IN OUT         writes IN to OUT as Save as does\n"
                 "  convert IN OUT [--forces OUT.mot]\n"
                 "                      moves a capture between IDF, TRC and C3D (IN told by its content,\n"
                 "                      OUT by its extension .idf, .trc or .c3d); --forces also writes the\n"
                 "                      force plates as an OpenSim external-loads file\n"
                 "  repair IN OUT [--from F] [--to F] [--marks LIST]\n"
                 "                      fills lost coordinates from the spline\n"
                 "  smooth IN OUT [--factor K] [--from F] [--to F] [--marks LIST]\n"
                 "                      rebuilds trajectories from every K-th frame (K = 5)\n"
                 "  both IN OUT         repair, then smooth with factor 5\n"
                 "  interchange IN OUT --marks A,B --from F --to F\n"
                 "                      exchanges two marks' coordinates over the frames\n"
                 "  scale IN OUT --factor S\n"
                 "                      multiplies every valid coordinate by 1 + S (S in -1..1)\n"
                 "  fill IN OUT [--method spline|rigid|auto] [--max-gap N] [--from F] [--to F] [--marks LIST]\n"
                 "       [--report FILE]\n"
                 "                      fills gaps from a spline at the real frame spacing (spline), from the\n"
                 "                      motion of three neighbouring marks (rigid), or spline up to 10 frames\n"
                 "                      and neighbours above (auto, the default); gaps longer than N frames stay\n"
                 "                      lost (half a second of frames when not given, 0 for no limit); the\n"
                 "                      report lists each gap\n"
                 "  filter IN OUT --cutoff HZ [--order N] [--from F] [--to F] [--marks LIST]\n"
                 "                      zero-lag Butterworth low-pass at HZ, order 2, 4 (default) or 6\n"
                 "  cutoff IN [--marks LIST]\n"
                 "                      the cutoff residual analysis suggests, per mark and overall\n"
                 "  check IN [--threshold A] [--report FILE]\n"
                 "                      marks that jump (acceleration above A, chosen from the capture when\n"
                 "                      not given) or swap with another: \"mark first last kind\" per stretch\n"
                 "  diagnose IN --rules FILE.fim [--repair OUT]\n"
                 "                      the expert-system run: findings on standard output,\n"
                 "                      progress on standard error; --repair repairs and writes OUT\n"
                 "  skeleton CAPTURE SKELETON.bon [--save OUT.bon]\n"
                 "                      loads a skeleton onto the capture, lists marks and bones\n"
                 "  plot [--type xyz|x|y|z] [--size W,H] [--title T] [--view RX,RZ] [--dir D] [--no-run] ITEM...\n"
                 "                      ITEM CAPTURE:MARK:FROM:TO:LABEL:COLOUR[:dots|:filled]: writes D/gplot, runs gp.bat\n"
                 "Batch: copy, convert, repair, smooth, both, interchange, scale, fill and diagnose --repair\n"
                 "also take IN... --out-dir DIR [--ext idf|trc|c3d] [-j N]: each output is named after its\n"
                 "input, N worker processes (all cores when not given).\n"
                 "MARK and LIST entries are 0-based mark indices or mark names, LIST separated by\n"
                 "commas. Exit codes: 0 done, 1 refused, 2 wrong usage.\n");
    return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::signal(SIGXFSZ, SIG_IGN);
    install_console_seams();
    if (argc < 2) return usage();
    const CliWords words(argv + 2, argv + argc);
    const BatchCommand* batch = find_batch_command(argv[1]);
    if (batch && batch_requested(words)) return cli_batch(*batch, words);
    for (const Command& command : commands) {
        if (std::strcmp(argv[1], command.name) == 0) return command.run(CliWords(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "zemo-cli: unknown command %s\n", argv[1]);
    return usage();
}
