// GTK implementations of the engine's seams, and the modal boxes they and the interface show.
#include "gui/kit/gtk_seams.h"

#include <gtk/gtk.h>

#include "engine/model/seams.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"

namespace {

// The status bar context that every status text uses.
constexpr guint STATUS_CONTEXT = 1;

GtkWidget* running_message = nullptr;

int gtk_show_message(const std::string& text, int type, int buttons) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(app_windows.main_window), GTK_DIALOG_DESTROY_WITH_PARENT,
                                            static_cast<GtkMessageType>(type), static_cast<GtkButtonsType>(buttons),
                                            "%s", text.c_str());
    const int response = run_modal(box);
    gtk_widget_destroy(box);
    return response;
}

void gtk_status_set(const std::string& text) {
    GtkWidget* bar = main_widget("statusbar_principal");
    if (!bar) return;
    gtk_statusbar_pop(GTK_STATUSBAR(bar), STATUS_CONTEXT);
    gtk_statusbar_push(GTK_STATUSBAR(bar), STATUS_CONTEXT, text.c_str());
}

void gtk_history_append(const std::string& text) { append_text_view("text_ver_historico", text); }

// Every command starts from an event (a click, a key, a menu item): what it shows while the event
// is handled, nested main loops included, is collected and shown as one box when it is done.
void handle_event_as_one_command(GdkEvent* event, gpointer) {
    MessageCollector command;
    gtk_main_do_event(event);
}

}  // namespace

LayerPlacement placement_from_widgets() {
    LayerPlacement placement;
    placement.offset_x = static_cast<float>(widget_value("spinbutton_offsetx"));
    placement.offset_y = static_cast<float>(widget_value("spinbutton_offsety"));
    placement.offset_z = static_cast<float>(widget_value("spinbutton_offsetz"));
    placement.initial_frame = widget_int("hscale_init");
    placement.scale = static_cast<float>(widget_value("hscale_scaledata"));
    placement.draw_box = widget_active("checkbutton_drawbox") ? 1 : 0;
    return placement;
}

int run_modal(GtkWidget* dialog) {
    GtkWidget* outer = running_message;
    running_message = dialog;
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    running_message = outer;
    return response;
}

int ask_question(const std::string& text, std::initializer_list<const char*> buttons) {
    show_collected_messages();  // what led to the question comes before it
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(app_windows.main_window), GTK_DIALOG_DESTROY_WITH_PARENT,
                                            GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", text.c_str());
    int index = 0;
    for (const char* label : buttons) gtk_dialog_add_button(GTK_DIALOG(box), label, index++);
    const int response = run_modal(box);
    gtk_widget_destroy(box);
    // GTK's own responses are negative: the box was closed without a button.
    return response >= 0 ? response : -1;
}

void dismiss_running_message() {
    if (running_message) gtk_dialog_response(GTK_DIALOG(running_message), GTK_RESPONSE_DELETE_EVENT);
}

void install_gtk_seams(void (*on_row_shown)(int), void (*on_row_hidden)(int), void (*on_samples_changed)()) {
    Seams seams;
    seams.show_message = gtk_show_message;
    seams.status_set = gtk_status_set;
    seams.history_append = gtk_history_append;
    seams.read_placement = placement_from_widgets;
    seams.layer_row_shown = on_row_shown;
    seams.layer_row_hidden = on_row_hidden;
    seams.samples_changed = on_samples_changed;
    seams.collect_messages = true;
    install_seams(seams);
    gdk_event_handler_set(handle_event_as_one_command, nullptr, nullptr);
}
