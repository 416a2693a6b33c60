// Captures of the drawn view into the recording's numbered images, at the end of every redraw
// and from the tick of the still picture.
#include "gui/gl/record_tick.h"

#include <vector>

#include "engine/scene/recording.h"
#include "gui/gl/scene_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"

namespace {

guint tick_source = 0;
// A capture whose error box is open: redraws from the box's loop do not capture again.
bool capturing = false;

}  // namespace

void stop_record_tick() {
    if (tick_source != 0) g_source_remove(tick_source);
    tick_source = 0;
}

void capture_frame_bmp() {
    GtkWidget* view = main_widget("gtkglext_modelo3D");
    // Without a recording there is no frames folder to write into.
    if (!view || capturing || !recording_state.recording) return;
    int width = 0, height = 0;
    const std::vector<unsigned char> pixels = render_view_pixels(view, width, height);
    if (pixels.empty() || width <= 0 || height <= 0) return;
    capturing = true;
    save_frame_bmp(pixels, width, height);
    capturing = false;
}

void capture_if_recording() {
    if (recording_state.recording) capture_frame_bmp();
}

gboolean record_tick(gpointer) {
    if (!app_windows.main_window || !widget_active("boton_rec") || widget_active("boton_play")) {
        tick_source = 0;
        return FALSE;
    }
    capture_frame_bmp();
    return TRUE;
}

void start_record_tick() {
    stop_record_tick();
    tick_source = g_timeout_add(RECORD_TICK_MS, record_tick, nullptr);
}

void reset_recording() {
    stop_record_tick();
    recording_state = RecordingState{};
    capturing = false;
}
