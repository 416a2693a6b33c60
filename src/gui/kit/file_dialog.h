// The file-selection dialog that every command asking for a file name shares, and what is done
// with the name chosen in it.
#pragma once

#include <gtk/gtk.h>

#include <string>

// What the dispatcher does with the chosen name.
enum FileSelectMode {
    SELECT_OPEN_CAPTURE = 1,
    SELECT_SAVE_CAPTURE_AS = 2,
    SELECT_OPEN_SKELETON = 3,
    SELECT_SAVE_SKELETON_AS = 4,
    SELECT_RULES_FILE = 5,
    SELECT_VIDEO_FILE = 6,
};

// What a mode does with the chosen name; 0 when that succeeded. The command or page that owns a
// mode sets its action when it connects its widgets.
using FileChosenAction = int (*)(const std::string& path);
void set_file_select_action(int mode, FileChosenAction action);

// Opens the modal file-selection dialog with a title and a pattern; returns at once.
void file_select(const char* title, const char* pattern, int mode);
// The same dialog, waited for: returns 0 when a name was chosen and acted on successfully, 1 when
// the dialog was cancelled or the action failed or was refused.
int file_select_wait(const char* title, const char* pattern, int mode);
// Acts on the chosen name according to the mode; 0 when that succeeded.
int file_select_ok(int mode);
