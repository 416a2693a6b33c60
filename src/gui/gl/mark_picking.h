// Marks picked in the view with the mouse: a click without a drag picks the mark under the
// pointer (Ctrl+click adds it), each picked mark is ringed with its name and coordinates beside
// it; "Labels" writes every visible mark's name beside it.
#pragma once

#include <gtk/gtk.h>

#include <vector>

// A click moving the pointer less than this many pixels is a click, not a drag.
constexpr int CLICK_SLOP_PIXELS = 4;

// Told of every mark picked, so the pages can show it; `add` for Ctrl+click. A mark of another
// layer than the current one comes with its slot, which the listener makes current.
void set_mark_picked_listener(void (*listener)(int slot, int mark, bool add));

// Picks the mark at window pixel (x, y) from the top left; `add` keeps the marks picked before.
void pick_mark_at(int x, int y, bool add);
void clear_picked_marks();
// The current layer's mark becomes the one picked mark, as a click on it makes it.
void pick_mark(int mark);
const std::vector<int>& picked_marks();

gboolean on_gl_button_release(GtkWidget* widget, GdkEventButton* event, gpointer);

// Inside the view's GL section, after the layers: the frame shown, the rings, the picked marks'
// texts and the labels.
void draw_mark_annotations();
