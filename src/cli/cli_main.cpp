// zemo-cli: the engine without a window, for scripts and batch work on many captures.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/console_seams.h"
#include "cli/cli_commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CliWords&);
};

const Command commands[] = {
    {"info", cli_info},
    {"copy", cli_copy},
};

int usage() {
    std::fprintf(stderr,
                 "usage: zemo-cli COMMAND ARGUMENTS\n"
                 "  info CAPTURE        the capture's rate, columns, marks, frames and lost coordinates\n"
                 "  copy IN OUT         writes IN to OUT as Save as does\n");
    return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::signal(SIGXFSZ, SIG_IGN);
    install_console_seams();
    if (argc < 2) return usage();
    for (const Command& command : commands) {
        if (std::strcmp(argv[1], command.name) == 0) return command.run(CliWords(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "zemo-cli: unknown command %s\n", argv[1]);
    return usage();
}
