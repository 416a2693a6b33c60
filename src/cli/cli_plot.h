// zemo-cli plot: channels of one or more captures drawn into a PNG through gnuplot, with the
// same data and command files as the Plot page writes.
#pragma once

#include "cli/cli_commands.h"

// zemo-cli plot [--type xyz|x|y|z] [--size W,H] [--title T] [--view RX,RZ] [--dir D] [--no-run] ITEM...
// ITEM is CAPTURE:MARK:FROM:TO:LABEL:COLOUR[:dots|:filled], COLOUR 1..12. The files go into
// D/gplot (D: the program's folder unless given; gplot is created when missing). Unless --no-run,
// the program folder's gp.bat is then run with D as its working directory, and the command
// waits for it: gnuplot leaves D/gplot/output.png (no viewer is opened).
int cli_plot(const CliWords& words);
