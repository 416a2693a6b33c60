// The video panel and the record button: frames read back from the view while recording, the
// 66 ms tick for the still picture, and the video script started when recording ends.
#pragma once

#include <gtk/gtk.h>

#include <string>

// Reads the view's pixels and writes the next numbered image.
void capture_frame_bmp();
// One capture when a recording is under way (the end of every redraw).
void capture_if_recording();
// The timer callback: captures while the record button is on and playback is off.
gboolean record_tick(gpointer);
// Installs record_tick every RECORD_TICK_MS, replacing a tick already running.
void start_record_tick();
// Fills clist_codecs_avi from "codecs.dat" (empty when the file is missing).
void fill_codec_list();
// The file dialog's video mode: the chosen name goes into entry_filename_avi.
void video_file_chosen(const std::string& path);

// Connects the record button and the video panel; a new window starts with no recording.
void connect_recording_controls(GtkWidget* window);
