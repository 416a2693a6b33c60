// Fitting the view to the capture: the sizes of marks, bones and arrows from its extent, its up
// axis, the framing of its samples (or of the current frame's marks), and following the marks.
#pragma once

#include <gtk/gtk.h>

// A capture was opened: sizes, up axis and framing follow its samples.
void fit_view_to_opened_capture();
// Another layer became current: its up axis and the framing of its samples.
void fit_view_to_current_layer();
// Frames the current frame's visible marks at the camera's present angles.
void frame_current_marks();
// Frames the positions a mark is seen at over first - margin .. last + margin, where the
// placement puts them, at the camera's present angles: a gap and the path around it.
void frame_mark_frames(int mark, int first, int last, int margin);
// With "Follow" on, the centre of the current frame's visible marks becomes the view's centre.
void follow_current_marks();

void connect_capture_view_controls(GtkWidget* window);
