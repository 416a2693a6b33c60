// Console reporting for zemo-cli and for the desktop program before its windows exist.
#include "cli/console_seams.h"

#include <cstdio>

#include "engine/model/seams.h"

void install_console_seams() {
    Seams seams;
    seams.show_message = [](const std::string& text, int type, int) {
        // Results go to standard output, errors and warnings to standard error.
        std::fprintf(type == MESSAGE_INFO ? stdout : stderr, "%s\n", text.c_str());
        return 0;
    };
    install_seams(seams);
}
