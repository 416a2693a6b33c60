// The main window's hook-ups: each subsystem connects the handlers of its own widgets.
#include "app/app_commands.h"
#include "app/file_commands.h"
#include "app/main_window.h"
#include "app/refresh.h"
#include "view/layers_panel.h"

void connect_main_window_signals(GtkWidget* window) {
    connect_file_commands(window);
    connect_app_commands(window);
    connect_panel_toggles(window);
    connect_layers_panel(window);
}
