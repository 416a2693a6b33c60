// "Export Video…" (File menu and AVI page): the file, frames and rate asked for, then the export
// with a progress bar and Cancel.
#pragma once

#include <gtk/gtk.h>

void export_video_command();
void connect_video_export(GtkWidget* window);
