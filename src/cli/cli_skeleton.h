// zemo-cli skeleton: a skeleton file loaded onto a capture, listed, and optionally saved again.
#pragma once

#include "cli/cli_commands.h"

// zemo-cli skeleton CAPTURE SKELETON.bon [--save OUT.bon]
int cli_skeleton(const CliWords& words);
