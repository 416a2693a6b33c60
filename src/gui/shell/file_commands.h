// The File commands (Open, Save, Save as, Close) and the file-selection dialog they share with
// the other panels that ask for a file name.
#pragma once

#include <gtk/gtk.h>

// What the dispatcher does with the chosen name.
enum FileSelectMode {
    SELECT_OPEN_CAPTURE = 1,
    SELECT_SAVE_CAPTURE_AS = 2,
    SELECT_OPEN_SKELETON = 3,
    SELECT_SAVE_SKELETON_AS = 4,
    SELECT_RULES_FILE = 5,
    SELECT_VIDEO_FILE = 6,
};

// Opens the modal file-selection dialog with a title and a pattern; returns at once.
void file_select(const char* title, const char* pattern, int mode);
// The same dialog, waited for: returns 0 when a name was chosen and acted on successfully, 1 when
// the dialog was cancelled or the action failed or was refused.
int file_select_wait(const char* title, const char* pattern, int mode);
// Acts on the chosen name according to the mode; 0 when that succeeded.
int file_select_ok(int mode);
// Closes the current layer, whatever was not saved (the Close command asks first).
void file_close();

void connect_file_commands(GtkWidget* window);
