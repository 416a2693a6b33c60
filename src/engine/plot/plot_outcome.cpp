// Reading the end of a plot: gp.bat's exit status says whether a picture was drawn and shown;
// when gnuplot failed, its own error lines say why.
#include "engine/plot/plot_outcome.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/paths.h"

namespace {

// gnuplot echoes the failing command and points at it with "^" before its message; the message
// lines are what the user needs, with their runs of blanks closed up.
std::string gnuplot_messages(const std::string& folder) {
    std::ifstream log(join_path(folder, "gnuplot.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        std::string text;
        for (char c : line) {
            if (c == '\r') continue;
            if (c == ' ' || c == '\t') {
                if (!text.empty() && text.back() != ' ') text += ' ';
            } else {
                text += c;
            }
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        if (text.empty() || text.rfind("gnuplot>", 0) == 0 || text.find_first_not_of("^ ") == std::string::npos) {
            continue;
        }
        lines.push_back(text);
    }
    const size_t kept = 3;
    std::string messages;
    for (size_t i = lines.size() > kept ? lines.size() - kept : 0; i < lines.size(); ++i) {
        messages += (messages.empty() ? "" : " ") + lines[i];
    }
    return messages;
}

}  // namespace

PlotOutcome plot_script_outcome(int exit_status, const std::string& folder) {
    switch (exit_status) {
        case 0:
            return {"The plot is drawn in gplot/output.png.", false};
        case PLOT_SCRIPT_NO_VIEWER:
            return {"No image viewer could be started: the plot is shown in a window of its own.", true};
        case PROGRAM_NOT_RUN:
            return {"The plot script gp.bat could not be run.", false};
        default: {
            const std::string messages = gnuplot_messages(folder);
            return {"gnuplot failed: " + (messages.empty() ? std::string("no picture was drawn.") : messages), true};
        }
    }
}
