// Start-up: the program's own directory becomes the working directory, the start-up script is
// launched, the splash is shown while the main window is built, the configuration is read and the
// captures named on the command line (up to ten) become layers; then the GTK main loop runs until Quit.
#include "gui/shell/startup.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/config.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "gui/gl/gl_view.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"
#include "gui/kit/layer_refresh.h"
#include "gui/kit/ui_helpers.h"
#include "gui/pages/avi_page.h"
#include "gui/pages/layers_panel.h"
#include "gui/pages/marks_page.h"
#include "gui/shell/app_commands.h"
#include "gui/shell/capture_opening.h"
#include "gui/shell/export_video_command.h"
#include "gui/shell/refresh.h"
#include "gui/shell/signal_wiring.h"
#include "gui/windows/main_window.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "platform/program_folders.h"

namespace {

constexpr unsigned SPLASH_MILLISECONDS = 3000;

// The first idle moment of the main loop: the splash stays for its time, then the main window
// takes its place.
gboolean show_main_window(gpointer) {
    g_usleep(SPLASH_MILLISECONDS * 1000);
    gtk_widget_hide(app_windows.splash_window);
    gtk_widget_show(app_windows.main_window);
    return G_SOURCE_REMOVE;
}

bool quit_requested = false;

gboolean quit_when_idle(gpointer) {
    quit_command();
    return G_SOURCE_REMOVE;
}

// SIGINT and SIGTERM quit as the Quit command does: a message box being shown is answered
// first, and the layers are closed once back in the main loop (or, during start-up, once
// start-up has finished).
gboolean quit_on_signal(gpointer) {
    if (quit_requested) return G_SOURCE_CONTINUE;
    quit_requested = true;
    dismiss_running_message();
    if (gtk_main_level() > 0) g_idle_add(quit_when_idle, nullptr);
    return G_SOURCE_CONTINUE;
}

}  // namespace

void create_interface() {
    // Building the view may already have something to say ("OpenGL not supported"). The Marks
    // page follows every change of the samples: Make must never write back values loaded before
    // a command changed them.
    install_gtk_seams(layer_row_show_widgets, layer_row_hide_widgets, refresh_after_samples_changed);
    install_layer_refresh(ui_refresh_layer);
    app_windows.splash_window = create_splash_window();
    gtk_widget_show(app_windows.splash_window);
    GtkWidget* main_window = create_main_window();
    connect_main_window_signals(main_window);
    app_windows.main_window = main_window;
    fill_codec_list();
    ui_reset_no_file();
}

void open_startup_capture(const char* path) {
    open_capture_layer(path);
    process_pending_events();
}

int zemo_main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (is_export_video_command(argc, argv)) return export_video_command(argc, argv);
    // A full disk or a file size limit must fail the write, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!init_toolkit()) {
        std::fprintf(stderr, "zemo: cannot open the display\n");
        return 1;
    }
    // The captures named on the command line are relative to where the user started the program.
    std::vector<std::string> captures;
    for (int i = 1; i < argc; ++i) captures.push_back(absolute_path(argv[i]));
    if (captures.size() > static_cast<size_t>(MAX_LAYERS)) {
        std::fprintf(stderr, "zemo: at most %d captures open at once; %s and those after it are not opened\n",
                     MAX_LAYERS, argv[MAX_LAYERS + 1]);
        captures.resize(MAX_LAYERS);
    }
    if (!enter_program_directory(argv[0])) {
        std::printf("Error changing working directory\n");
        return 1;
    }
    g_unix_signal_add(SIGINT, quit_on_signal, nullptr);
    g_unix_signal_add(SIGTERM, quit_on_signal, nullptr);
    launch_detached({"ic.bat"});
    create_interface();
    g_idle_add(show_main_window, nullptr);
    g_timeout_add(PERIODIC_REFRESH_MS, periodic_refresh, nullptr);
    config_seed(program_folders());
    config_load(config_file_path(program_folders()));
    for (const std::string& capture : captures) open_startup_capture(capture.c_str());
    if (quit_requested) {
        quit_command();
    } else {
        gtk_main();
    }
    return 0;
}
