// Start-up: the program's own directory becomes the working directory, the start-up script is
// launched, the configuration is read and a capture named on the command line becomes layer 1;
// then the GTK main loop runs until the program is told to quit.
#include "app/startup.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/config.h"
#include "app/console_seams.h"
#include "core/capture_model.h"
#include "core/idf_reader.h"
#include "platform/launch.h"
#include "platform/paths.h"

static gboolean quit_main_loop(gpointer) {
    gtk_main_quit();
    return G_SOURCE_REMOVE;
}

static void process_pending_events() {
    while (gtk_events_pending()) gtk_main_iteration();
}

int zemo_main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    // A full disk or a file size limit must fail the write, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "zemo: cannot open the display\n");
        return 1;
    }
    // The capture named on the command line is relative to where the user started the program.
    const std::string capture = argc > 1 ? absolute_path(argv[1]) : std::string();
    if (!enter_program_directory(argv[0])) {
        std::printf("Error changing working directory\n");
        return 1;
    }
    launch_detached("ic.bat");
    install_console_seams();
    config_load();
    if (!capture.empty()) {
        app.source_path = capture;
        if (idf_read(app.source_path) == 0) process_pending_events();
    }
    g_unix_signal_add(SIGINT, quit_main_loop, nullptr);
    g_unix_signal_add(SIGTERM, quit_main_loop, nullptr);
    gtk_main();
    return 0;
}
