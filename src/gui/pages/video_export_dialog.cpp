// The video export's dialogs: a save dialog with the frames and the rate, and a progress window.
#include "gui/pages/video_export_dialog.h"

#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/scene/recording.h"
#include "gui/gl/video_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

GtkWidget* spin(double value, double lower, double upper, int digits) {
    GtkWidget* s = gtk_spin_button_new_with_range(lower, upper, digits ? 0.01 : 1);
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(s), static_cast<guint>(digits));
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(s), value);
    return s;
}

void add_labelled(GtkWidget* box, const char* text, GtkWidget* widget) {
    gtk_box_pack_start(GTK_BOX(box), gtk_label_new(text), FALSE, FALSE, 2);
    gtk_box_pack_start(GTK_BOX(box), widget, FALSE, FALSE, 2);
}

// The AVI page's codec when "Select a Codec" is on; raw video otherwise, as recording does.
std::string avi_codec() {
    if (!widget_active("check_selcodec_avi")) return "DIB";
    GtkWidget* list = main_widget("clist_codecs_avi");
    const int row = list && GTK_CLIST(list)->selection ? GPOINTER_TO_INT(GTK_CLIST(list)->selection->data) : -1;
    const std::string code = codec_at_row(read_codec_list("codecs.dat"), row);
    return code.empty() ? "DIB" : code;
}

struct Progress {
    GtkWidget* window;
    GtkWidget* bar;
    bool cancelled = false;
};

bool show_progress(Progress& p, int done, int total) {
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(p.bar), static_cast<double>(done) / total);
    const std::string text = std::to_string(done) + " / " + std::to_string(total);
    gtk_progress_bar_set_text(GTK_PROGRESS_BAR(p.bar), text.c_str());
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    return !p.cancelled;
}

void run_export(const VideoExport& request) {
    Progress p;
    p.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(p.window), "Export Video");
    gtk_window_set_modal(GTK_WINDOW(p.window), TRUE);
    gtk_window_set_transient_for(GTK_WINDOW(p.window), GTK_WINDOW(app_windows.main_window));
    gtk_window_set_deletable(GTK_WINDOW(p.window), FALSE);
    GtkWidget* box = gtk_vbox_new(FALSE, 6);
    gtk_container_set_border_width(GTK_CONTAINER(box), 10);
    gtk_container_add(GTK_CONTAINER(p.window), box);
    gtk_box_pack_start(GTK_BOX(box), gtk_label_new(("Exporting " + request.output).c_str()), FALSE, FALSE, 0);
    p.bar = gtk_progress_bar_new();
    gtk_widget_set_size_request(p.bar, 320, -1);
    gtk_box_pack_start(GTK_BOX(box), p.bar, FALSE, FALSE, 0);
    GtkWidget* cancel = gtk_button_new_from_stock(GTK_STOCK_CANCEL);
    register_widget(p.window, "button_cancel_export", cancel);
    g_signal_connect(cancel, "clicked", G_CALLBACK(+[](GtkButton*, gpointer flag) { *static_cast<bool*>(flag) = true; }),
                     &p.cancelled);
    gtk_box_pack_start(GTK_BOX(box), cancel, FALSE, FALSE, 0);
    gtk_widget_show_all(p.window);
    const std::string outcome = export_video(request, [&p](int done, int total) { return show_progress(p, done, total); });
    gtk_widget_destroy(p.window);
    if (outcome.empty()) {
        status_set("Video exported: " + request.output);
    } else if (p.cancelled) {
        status_set("Video export cancelled: nothing was written");
    } else {
        show_message("Error exporting the video:\n" + outcome, MESSAGE_ERROR, BUTTONS_CLOSE);
    }
}

}  // namespace

void export_video_command() {
    if (app.current_layer == 0 || app.num_frames <= 0) {
        show_message("Open a capture to export its video", MESSAGE_INFO, BUTTONS_CLOSE);
        return;
    }
    GtkWidget* dialog = gtk_file_chooser_dialog_new("Export Video", GTK_WINDOW(app_windows.main_window),
                                                    GTK_FILE_CHOOSER_ACTION_SAVE, GTK_STOCK_CANCEL, GTK_RESPONSE_CANCEL,
                                                    GTK_STOCK_SAVE, GTK_RESPONSE_ACCEPT, nullptr);
    gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(dialog), TRUE);
    const std::string base = app.file_name.substr(0, app.file_name.rfind('.'));
    gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(dialog), (base.empty() ? "capture" : base + ".mp4").c_str());
    GtkWidget* options = gtk_hbox_new(FALSE, 2);
    GtkWidget* from = spin(0, 0, app.num_frames - 1, 0);
    GtkWidget* to = spin(app.num_frames - 1, 0, app.num_frames - 1, 0);
    GtkWidget* rate = spin(app.capture_rate > 0 ? app.capture_rate : 25, 1, 1000, 2);
    add_labelled(options, "Frames from", from);
    add_labelled(options, "to", to);
    add_labelled(options, "Rate (Hz)", rate);
    add_labelled(options, "  .mp4: H.264; .avi: the AVI page's codec", gtk_label_new(""));
    gtk_widget_show_all(options);
    gtk_file_chooser_set_extra_widget(GTK_FILE_CHOOSER(dialog), options);
    VideoExport request;
    bool chosen = false;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
        if (name) {
            request.output = name;
            g_free(name);
            chosen = true;
        }
        request.first = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(from));
        request.last = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(to));
        request.rate = gtk_spin_button_get_value(GTK_SPIN_BUTTON(rate));
    }
    gtk_widget_destroy(dialog);
    if (!chosen) return;
    request.codec = avi_codec();
    video_size_of_view(request.width, request.height);
    run_export(request);
}

void connect_video_export(GtkWidget* window) {
    for (const char* name : {"exportar_video1", "button_export_video_avi"}) {
        GtkWidget* w = find_widget(window, name);
        g_signal_connect_swapped(w, GTK_IS_MENU_ITEM(w) ? "activate" : "clicked", G_CALLBACK(export_video_command), nullptr);
    }
}
