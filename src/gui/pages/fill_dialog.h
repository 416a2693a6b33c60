// The "Fill…" dialog on the gap rows selected in the gap list: the method, and for "marks" the
// three donor marks, chosen automatically or by the user. The first gap's fill is previewed in the
// view and on the " Marks " curve; "Apply" fills every selected gap, "Cancel" changes nothing.
#pragma once

#include <gtk/gtk.h>

void open_fill_dialog();
// The open dialog, or nullptr.
GtkWidget* fill_dialog();
void fill_dialog_apply();
void fill_dialog_cancel();
