// zemo-cli diagnose: the expert-system run on a capture file, without a window.
#pragma once

#include "cli/cli_commands.h"

// zemo-cli diagnose IN --rules FILE.fim [--repair OUT]: the findings on standard output, the
// headers and progress on standard error; with --repair the findings are repaired and the
// capture written to OUT.
int cli_diagnose(const CliWords& words);
