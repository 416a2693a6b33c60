// The view fitted to the capture; the arithmetic lives in the engine's scene extent and framing.
#include "gui/gl/capture_view.h"

#include <algorithm>
#include <utility>

#include "engine/model/capture_model.h"
#include "engine/scene/scene_extent.h"
#include "engine/scene/scene_math.h"
#include "engine/scene/view_state.h"
#include "gui/gl/frame_display.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

// The entries of the up menu, in order: Z, Y, X.
int up_menu_index(int axis) { return 2 - axis; }
int up_menu_axis(int index) { return 2 - index; }

bool setting_up_menu = false;

void show_size(const char* name, double value) {
    GtkWidget* spin = main_widget(name);
    if (!spin) return;
    const SizeSpin scale = size_spin_for(value);
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(spin), static_cast<guint>(scale.digits));
    gtk_spin_button_set_increments(GTK_SPIN_BUTTON(spin), scale.step, scale.step * 10);
    set_widget_range(name, 0, scale.upper, value);
}

UpAxis chosen_up() {
    GtkWidget* menu = main_widget("option_ver_up");
    const UpAxis file = capture_up_axis(app);
    if (!menu) return file;
    return chosen_up_axis(up_menu_axis(gtk_option_menu_get_history(GTK_OPTION_MENU(menu))), file, view.bounds);
}

double view_aspect() {
    return view.view_width > 0 && view.view_height > 0 ? static_cast<double>(view.view_width) / view.view_height : 4.0 / 3;
}

void frame_whole(const UpAxis& up) { view.framing = frame_box(view.bounds, view.bounds, view.camera, up, view_aspect()); }

void up_changed() {
    if (setting_up_menu || app.current_layer == 0) return;
    reset_camera(view.camera);
    frame_whole(chosen_up());
    request_redraw();
}

}  // namespace

void fit_view_to_opened_capture() {
    const ViewBounds extent = capture_extent(app);
    const SceneSizes sizes = default_sizes(extent);
    show_size("spin_ver_marcas", sizes.mark);
    show_size("spin_ver_huesos", sizes.bone);
    show_size("spinbutton_velocity", sizes.velocity);
    show_size("spinbutton_acceleration", sizes.acceleration);
    const UpAxis up = capture_up_axis(app, extent);
    if (GtkWidget* menu = main_widget("option_ver_up")) {
        setting_up_menu = true;
        gtk_option_menu_set_history(GTK_OPTION_MENU(menu), static_cast<guint>(up_menu_index(up.up)));
        setting_up_menu = false;
    }
    frame_whole(up);
}

void fit_view_to_current_layer() { frame_whole(chosen_up()); }

void frame_current_marks() {
    if (app.current_layer == 0) return;
    const LayerPlacement placement = placement_from_widgets();
    const int frame = clamp_frame(widget_int("hscale_frame") + placement.initial_frame, app.num_frames);
    view.camera.pan_x = view.camera.pan_y = 0;
    view.framing = frame_box(frame_extent(app, frame, placement), view.bounds, view.camera, view.framing.up, view_aspect());
    request_redraw();
}

void frame_mark_frames(int mark, int first, int last, int margin) {
    if (app.current_layer == 0 || mark < 0 || mark >= app.mark_count() || app.channels[mark].empty()) return;
    const LayerPlacement placement = placement_from_widgets();
    ViewBounds box = empty_extent();
    const Sample* samples = app.channels[mark].samples.get();
    for (int f = std::max(0, first - margin); f <= std::min(app.num_frames - 1, last + margin); ++f) {
        if (is_lost(samples[f].x) || is_lost(samples[f].y) || is_lost(samples[f].z)) continue;
        const ScenePoint p = scene_position(samples[f], placement);
        box = {std::min(box.min_x, p.x), std::max(box.max_x, p.x), std::min(box.min_y, p.y),
               std::max(box.max_y, p.y), std::min(box.min_z, p.z), std::max(box.max_z, p.z)};
    }
    if (extent_empty(box)) return;
    // A mark standing still would be framed as a point: the box spans at least a fifth of the
    // capture, which shows the marks around it too.
    const double least = 0.1 * largest_side(view.bounds);
    const std::pair<double*, double*> sides[] = {{&box.min_x, &box.max_x}, {&box.min_y, &box.max_y}, {&box.min_z, &box.max_z}};
    for (auto [low, high] : sides) {
        const double grow = std::max(0.0, least - (*high - *low) / 2);
        *low -= grow;
        *high += grow;
    }
    view.camera.pan_x = view.camera.pan_y = 0;
    view.framing = frame_box(box, view.bounds, view.camera, view.framing.up, view_aspect());
    request_redraw();
}

void follow_current_marks() {
    if (app.current_layer == 0 || !widget_active("check_ver_follow") || view.framing.distance <= 0) return;
    const LayerPlacement placement = placement_from_widgets();
    const int frame = clamp_frame(widget_int("hscale_frame") + placement.initial_frame, app.num_frames);
    ScenePoint centre;
    if (frame_centroid(app, frame, placement, centre)) view.framing = recentred(view.framing, view.bounds, centre);
}

void connect_capture_view_controls(GtkWidget* window) {
    connect_frame_display(window);
    g_signal_connect_swapped(find_widget(window, "option_ver_up"), "changed", G_CALLBACK(up_changed), nullptr);
    g_signal_connect_swapped(find_widget(window, "check_ver_follow"), "toggled", G_CALLBACK(+[] {
                                 follow_current_marks();
                                 request_redraw();
                             }),
                             nullptr);
    g_signal_connect_swapped(find_widget(window, "check_ver_labels"), "toggled", G_CALLBACK(request_redraw), nullptr);
}
