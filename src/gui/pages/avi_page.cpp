// Recording the 3-D view: the record button's two states, the captures of the drawn picture,
// the tick for the still picture and the widgets of the video panel.
#include "view/recording_ui.h"

#include <vector>

#include "app/app_windows.h"
#include "app/file_commands.h"
#include "app/ui_helpers.h"
#include "app/widgets.h"
#include "platform/launch.h"
#include "view/recording.h"
#include "view/scene_render.h"

namespace {

guint tick_source = 0;
// A capture whose error box is open: redraws from the box's loop do not capture again.
bool capturing = false;

void stop_record_tick() {
    if (tick_source != 0) g_source_remove(tick_source);
    tick_source = 0;
}

int selected_codec_row() {
    GtkWidget* list = main_widget("clist_codecs_avi");
    if (!list || !GTK_CLIST(list)->selection) return -1;
    return GPOINTER_TO_INT(GTK_CLIST(list)->selection->data);
}

void make_video() {
    VideoRequest request;
    GtkWidget* entry = main_widget("entry_filename_avi");
    request.entry_text = entry ? gtk_entry_get_text(GTK_ENTRY(entry)) : "";
    request.fps = widget_int("spin_fps_avi");
    request.kfps = widget_int("spin_kfps_avi");
    request.quality = widget_int("hscale_quality_avi");
    request.select_codec = widget_active("check_selcodec_avi");
    if (request.select_codec) request.codec = codec_at_row(read_codec_list("codecs.dat"), selected_codec_row());
    // The script runs in the frames folder and removes it when the video is made.
    launch_detached(video_command(request), recording_state.frames_folder);
}

void rec_toggled(GtkToggleButton* button, gpointer) {
    if (gtk_toggle_button_get_active(button)) {
        if (recording_state.recording) return;
        if (recording_start() != 0) {
            // Its box has said why; the button goes back off, which records nothing.
            gtk_toggle_button_set_active(button, FALSE);
            return;
        }
        if (!widget_active("boton_play")) start_record_tick();
        return;
    }
    if (!recording_state.recording) return;
    recording_state.recording = 0;
    stop_record_tick();
    make_video();
}

void selcodec_toggled(GtkToggleButton* button, gpointer) {
    const bool on = gtk_toggle_button_get_active(button);
    for (const char* name : {"clist_codecs_avi", "label_quality_avi", "hscale_quality_avi"}) set_widget_sensitive(name, on);
}

void select_video_file() { file_select("Save file", "*.avi", SELECT_VIDEO_FILE); }

}  // namespace

void capture_frame_bmp() {
    GtkWidget* view = main_widget("gtkglext_modelo3D");
    // Without a recording there is no frames folder to write into.
    if (!view || capturing || !recording_state.recording) return;
    int width = 0, height = 0;
    const std::vector<unsigned char> pixels = render_view_pixels(view, width, height);
    if (pixels.empty() || width <= 0 || height <= 0) return;
    capturing = true;
    save_frame_bmp(pixels, width, height);
    capturing = false;
}

void capture_if_recording() {
    if (recording_state.recording) capture_frame_bmp();
}

gboolean record_tick(gpointer) {
    if (!app_windows.main_window || !widget_active("boton_rec") || widget_active("boton_play")) {
        tick_source = 0;
        return FALSE;
    }
    capture_frame_bmp();
    return TRUE;
}

void start_record_tick() {
    stop_record_tick();
    tick_source = g_timeout_add(RECORD_TICK_MS, record_tick, nullptr);
}

void fill_codec_list() {
    GtkWidget* list = main_widget("clist_codecs_avi");
    if (!list) return;
    GtkCList* clist = GTK_CLIST(list);
    gtk_clist_freeze(clist);
    gtk_clist_clear(clist);
    for (const CodecEntry& codec : read_codec_list("codecs.dat")) {
        gchar* row[] = {const_cast<gchar*>(codec.description.c_str())};
        gtk_clist_append(clist, row);
    }
    gtk_clist_thaw(clist);
}

void video_file_chosen(const std::string& path) { set_entry_text("entry_filename_avi", path); }

void connect_recording_controls(GtkWidget* window) {
    stop_record_tick();
    recording_state = RecordingState{};
    capturing = false;
    g_signal_connect(find_widget(window, "boton_rec"), "toggled", G_CALLBACK(rec_toggled), nullptr);
    g_signal_connect(find_widget(window, "check_selcodec_avi"), "toggled", G_CALLBACK(selcodec_toggled), nullptr);
    g_signal_connect_swapped(find_widget(window, "button_select_avi"), "clicked", G_CALLBACK(select_video_file), nullptr);
}
