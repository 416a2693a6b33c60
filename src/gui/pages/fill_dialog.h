// The "Fill…" dialog on the gap rows selected in the gap list: the method, and for "marks" the
// three donor marks, chosen automatically or by the user. The first gap's fill is previewed in the
// view and on the " Marks " curve; "Apply" fills every selected gap, "Cancel" changes nothing.
#pragma once

#include <gtk/gtk.h>

void open_fill_dialog();
// The open dialog, or nullptr.
GtkWidget* fill_dialog();
// The samples or the current layer changed: the preview is worked out again, or the dialog
// closes when its layer is no longer current.
void fill_dialog_follow_samples();
void fill_dialog_apply();
void fill_dialog_cancel();
