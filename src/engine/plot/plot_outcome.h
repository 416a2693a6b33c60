// What the Plot page says once the plot script has ended: read from the script's exit status and
// the messages gnuplot left beside the picture.
#pragma once

#include <string>

// gp.bat's exit status when the picture is drawn but no image viewer could be started.
constexpr int PLOT_SCRIPT_NO_VIEWER = 3;
// The exit status of a program that could not be run at all.
constexpr int PROGRAM_NOT_RUN = 127;

struct PlotOutcome {
    std::string text;           // shown on the Plot page
    bool show_picture = false;  // Zemo shows gplot/output.png itself, when there is one
};

// `exit_status` is the script's exit status (-1 when it did not exit normally); `folder` is the
// plot folder, whose gnuplot.log holds what gnuplot said.
PlotOutcome plot_script_outcome(int exit_status, const std::string& folder);
