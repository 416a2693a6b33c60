// The video panel and the record button: a recording starts and ends with the button, and its
// end starts the video script with what the panel holds.
#include "gui/pages/avi_page.h"

#include <string>
#include <vector>

#include "engine/scene/recording.h"
#include "gui/gl/record_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/file_dialog.h"
#include "gui/kit/menus.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "platform/launch.h"
#include "platform/program_folders.h"

namespace {

int selected_codec_row() {
    GtkWidget* list = main_widget("clist_codecs_avi");
    if (!list || !GTK_CLIST(list)->selection) return -1;
    return GPOINTER_TO_INT(GTK_CLIST(list)->selection->data);
}

void make_video() {
    VideoRequest request;
    request.entry_text = entry_text("entry_filename_avi");
    request.fps = widget_int("spin_fps_avi");
    request.kfps = widget_int("spin_kfps_avi");
    request.quality = widget_int("hscale_quality_avi");
    request.select_codec = widget_active("check_selcodec_avi");
    if (request.select_codec) {
        request.codec = codec_at_row(read_codec_list(runtime_path("codecs.dat")), selected_codec_row());
    }
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

void fill_codec_list() {
    std::vector<std::vector<std::string>> rows;
    for (const CodecEntry& codec : read_codec_list(runtime_path("codecs.dat"))) rows.push_back({codec.description});
    fill_list("clist_codecs_avi", rows);
}

void video_file_chosen(const std::string& path) { set_entry_text("entry_filename_avi", path); }

void connect_recording_controls(GtkWidget* window) {
    reset_recording();
    g_signal_connect(find_widget(window, "boton_rec"), "toggled", G_CALLBACK(rec_toggled), nullptr);
    g_signal_connect(find_widget(window, "check_selcodec_avi"), "toggled", G_CALLBACK(selcodec_toggled), nullptr);
    g_signal_connect_swapped(find_widget(window, "button_select_avi"), "clicked", G_CALLBACK(select_video_file), nullptr);
    set_file_select_action(SELECT_VIDEO_FILE, [](const std::string& path) {
        video_file_chosen(path);
        return 0;
    });
}
