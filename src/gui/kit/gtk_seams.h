// The desktop program's reporting: message boxes and questions over the main window, the status
// bar, the history log, and the placement widgets of the current layer.
#pragma once

#include <gtk/gtk.h>

#include <initializer_list>
#include <string>

#include "engine/model/capture_model.h"

// Installs the seams: boxes, status bar and history over the main window, the placement from its
// widgets, and what the pages do when a layer's row is shown or hidden and when samples change
// (given by the shell, which knows the pages).
void install_gtk_seams(void (*on_row_shown)(int), void (*on_row_hidden)(int), void (*on_samples_changed)());

// The current layer's placement as its widgets hold it.
LayerPlacement placement_from_widgets();

// Runs a dialog modally until it is answered and returns its response; meanwhile it is the box
// that dismiss_running_message answers.
int run_modal(GtkWidget* dialog);

// A modal question over the main window with one button per label, first to last. Returns the
// position of the button pressed, or -1 when the box was closed without one.
int ask_question(const std::string& text, std::initializer_list<const char*> buttons);

// Answers the message box or question being shown, if any, as if its window had been closed.
void dismiss_running_message();
