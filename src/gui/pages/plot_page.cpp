// Handlers of the Plot page: they read the page's widgets, keep clist_toplot_plot paired with
// plot_items, and leave the files and the script to the engine.
#include "gui/pages/plot_page.h"

#include <sys/wait.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/plot/plot_files.h"
#include "engine/plot/plot_items.h"
#include "engine/plot/plot_outcome.h"
#include "engine/plot/plot_signals.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/menus.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/plot_image_window.h"
#include "platform/launch.h"
#include "platform/paths.h"

namespace {

// The frame spin keeps its value where the new range allows.
void set_frame_range(const char* name, int last) {
    const double value = std::clamp(widget_value(name), 0.0, static_cast<double>(std::max(last, 0)));
    set_widget_range(name, 0, last, value);
}

PlotType chosen_type() {
    if (widget_active("radiobutton_x_plot")) return PLOT_X;
    if (widget_active("radiobutton_y_plot")) return PLOT_Y;
    if (widget_active("radiobutton_z_plot")) return PLOT_Z;
    return PLOT_XYZ;
}

// Only the latest plot reports: an earlier one still running when Plot Image is pressed again
// ends unheard, as its files have been overwritten.
unsigned latest_plot = 0;

struct RunningPlot {
    unsigned number;
    std::string folder;  // the plot folder, absolute: the working directory may change meanwhile
};

void show_result(const std::string& text) {
    set_label_text("label_result_plot", text);
    if (GtkWidget* label = main_widget("label_result_plot")) gtk_widget_set_tooltip_text(label, text.c_str());
}

void report_outcome(const PlotOutcome& outcome, const std::string& folder) {
    show_result(outcome.text);
    if (outcome.show_picture) show_plot_image(join_path(folder, "output.png"));
}

// The main loop's report that gp.bat has ended.
void plot_script_ended(GPid pid, gint status, gpointer data) {
    const std::unique_ptr<RunningPlot> plot(static_cast<RunningPlot*>(data));
    g_spawn_close_pid(pid);
    if (plot->number != latest_plot || !app_windows.main_window) return;
    const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    report_outcome(plot_script_outcome(exit_status, plot->folder), plot->folder);
}

}  // namespace

void plot_layer_changed() {
    const int layer = plot_chosen_layer(app, option_position("option_layer_plot"));
    if (layer == 0 || app.current_layer == 0) {
        fill_option_menu(app_windows.main_window, "option_channel_plot", {});
        return;
    }
    const int current = app.current_layer;
    layer_store(current);
    layer_fetch(layer);
    // The marks, then what a C3D layer records beside them.
    std::vector<std::string> names;
    for (int m = 0; m < app.mark_count(); ++m) names.push_back(app.channels[m].name_text());
    for (const PlotSignal& signal : plot_signals(app)) names.push_back(signal.name + " (" + signal.units + ")");
    fill_option_menu(app_windows.main_window, "option_channel_plot", names);
    layer_fetch(current);
    const Layer& chosen = app.layers[layer];
    set_frame_range("spin_from_plot", chosen.num_frames - 1);
    set_frame_range("spin_to_plot", chosen.num_frames - 1);
    set_entry_text("entry_label_plot", last_path_component(chosen.file_name));
}

void plot_add_item() {
    const int layer = plot_chosen_layer(app, option_position("option_layer_plot"));
    const int channel = option_position("option_channel_plot");
    GtkWidget* list = main_widget("clist_toplot_plot");
    if (layer == 0 || channel < 0 || !list) return;
    const std::string label = entry_text("entry_label_plot");
    gchar* row[] = {const_cast<gchar*>(label.c_str())};
    gtk_clist_append(GTK_CLIST(list), row);
    PlotItem item = make_plot_item(app, layer, channel, widget_int("spin_from_plot"), widget_int("spin_to_plot"), label,
                                   option_position("option_colour_plot") + 1, widget_active("check_usedots_plot"),
                                   widget_active("check_filledcurves_plot"));
    // Positions past the marks are the layer's signals.
    const int marks = app.layers[layer].mark_count();
    if (channel >= marks) item.signal = channel - marks, item.channel = 0;
    plot_append_item(std::move(item));
}

void plot_remove_selected() {
    GtkWidget* list = main_widget("clist_toplot_plot");
    if (!list) return;
    std::vector<int> rows;
    for (GList* selected = GTK_CLIST(list)->selection; selected; selected = selected->next) {
        rows.push_back(GPOINTER_TO_INT(selected->data));
    }
    // From the last row up, so that the positions still to remove stay valid.
    std::sort(rows.rbegin(), rows.rend());
    gtk_clist_freeze(GTK_CLIST(list));
    for (int row : rows) gtk_clist_remove(GTK_CLIST(list), row);
    gtk_clist_thaw(GTK_CLIST(list));
    plot_remove_positions(rows);
}

void plot_run() {
    PlotSettings settings;
    settings.width = widget_int("spinbutton_xres_plot");
    settings.height = widget_int("spinbutton_yres_plot");
    settings.title = entry_text("entry_title_plot");
    settings.type = chosen_type();
    settings.rotation_x = widget_int("spinbutton_rx_plot");
    settings.rotation_z = widget_int("spinbutton_rz_plot");
    show_result("");
    const std::string folder = absolute_path(native_path("gplot"));
    std::vector<PlotFile> files;
    if (show_failure(plot_gather_files(settings, files)) != 0) return;
    const Status stored = plot_store_files(folder, files);
    if (!stored.ok()) {
        show_error("Error saving file:\n " + stored.message());
        return;
    }
    // gp.bat runs in the working directory, where it finds gplot/; its exit status comes back
    // through the main loop, so the window stays usable meanwhile.
    const unsigned number = ++latest_plot;
    const pid_t script = launch_watched({"gp.bat"}, directory_part(folder));
    if (script < 0) {
        report_outcome(plot_script_outcome(PROGRAM_NOT_RUN, folder), folder);
        return;
    }
    show_result("gnuplot is drawing the plot...");
    g_child_watch_add(script, plot_script_ended, new RunningPlot{number, folder});
}

void connect_plot_page(GtkWidget* window) {
    g_signal_connect_swapped(find_widget(window, "option_layer_plot"), "changed", G_CALLBACK(plot_layer_changed),
                             nullptr);
    const auto on_click = [window](const char* name, void (*command)()) {
        g_signal_connect_swapped(find_widget(window, name), "clicked", G_CALLBACK(command), nullptr);
    };
    on_click("button_add_plot", plot_add_item);
    on_click("button_remove_plot", plot_remove_selected);
    on_click("button_plot_plot", plot_run);
}
