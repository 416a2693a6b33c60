// The video panel and the record button: a recording starts and ends with the button, and the
// video script is started with the panel's settings when it ends.
#pragma once

#include <gtk/gtk.h>

#include <string>

// Fills clist_codecs_avi from "codecs.dat" (empty when the file is missing).
void fill_codec_list();
// The file dialog's video mode: the chosen name goes into entry_filename_avi.
void video_file_chosen(const std::string& path);

// Connects the record button and the video panel; a new window starts with no recording.
void connect_recording_controls(GtkWidget* window);
