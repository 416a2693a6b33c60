// The " Marks " page: the values list of one mark and axis and the curve on which an interval of
// it is reshaped by hand.
#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "engine/processing/curve_editor.h"

// Refills clist_mar with every frame's value of the chosen mark and axis.
void marks_values_refresh();
// Loads the chosen mark, axis and interval into curve_mar; with `rescale` the value scale is
// taken again from the interval.
void marks_curve_load(int rescale);
// " Discard Changes  ": the curve reloaded from the samples on the same scale.
void curve_discard();
// " Make   ": the curve written into the samples, then the page reloaded on the same scale.
void curve_accept();
// The page follows the data: its values list and its curve, rescaled.
void refresh_marks_page();

// What the curve shows: its mark, axis and frames and the value scale; nothing without a mark.
struct MarksCurveShown {
    CurveTarget target;
    CurveScale scale;
};
std::optional<MarksCurveShown> marks_curve_shown();

void connect_marks_page(GtkWidget* window);
