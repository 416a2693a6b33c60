// The mouse as the user moves it, through the X server: clicks that follow a click on a list all
// take effect, a drag turns the model to where the pointer went, and a plain move over the view
// with NumLock on leaves the camera alone.
#include "engine/scene/view_state.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

struct PointerInputTest : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        open_small_capture("walk.idf", 4, 20);
        focus_main_window();
    }

    // The middle of a row of a column list, on the screen.
    std::pair<int, int> list_row(const char* name, int row) {
        GtkCList* list = GTK_CLIST(widget(name));
        int x = 0, y = 0;
        gdk_window_get_origin(list->clist_window, &x, &y);
        // Rows are row_height apart with one pixel between them.
        return {x + 20, y + list->voffset + row * (list->row_height + 1) + 1 + list->row_height / 2};
    }

    std::pair<int, int> middle_of(const char* name) {
        GtkWidget* w = widget(name);
        return on_screen(w, w->allocation.width / 2, w->allocation.height / 2);
    }
};

}  // namespace

TEST_F(PointerInputTest, AClickAfterAClickOnAListTakesEffect) {
    // The window as wide as the screen shows the whole Vis page, with the trajectories list, beside
    // the Marks page with its axis buttons.
    gtk_window_move(GTK_WINDOW(app_windows.main_window), 0, 0);
    gtk_window_resize(GTK_WINDOW(app_windows.main_window), 1024, 740);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(widget("notebook_info")), 1);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(widget("notebook_edicion")), 0);
    settle();
    click_on_screen(list_row("list_ver_trazas", 2));
    GList* selection = GTK_CLIST(widget("list_ver_trazas"))->selection;
    ASSERT_NE(selection, nullptr) << "the click on the row was lost";
    EXPECT_EQ(GPOINTER_TO_INT(selection->data), 2);
    click_on_screen(middle_of("radiobutton_mar_ejez"));
    EXPECT_TRUE(active("radiobutton_mar_ejez")) << "the click on \"Z Axis\" was swallowed";
    click_on_screen(list_row("list_ver_trazas", 3));
    click_on_screen(middle_of("radiobutton_mar_ejey"));
    EXPECT_TRUE(active("radiobutton_mar_ejey"));
}

TEST_F(PointerInputTest, WithNumLockOnAMoveOverTheViewLeavesTheCameraAlone) {
    const auto [x, y] = middle_of("gtkglext_modelo3D");
    xdotool("xdotool mousemove " + std::to_string(x - 40) + " " + std::to_string(y - 30));
    xdotool("xdotool key Num_Lock");
    // Each move is reported once the last one is handled.
    for (int step = 1; step <= 4; ++step) {
        xdotool("xdotool mousemove " + std::to_string(x - 40 + 20 * step) + " " + std::to_string(y - 30 + 15 * step));
    }
    xdotool("xdotool key Num_Lock");
    EXPECT_EQ(view.camera.pan_x, 0.0f);
    EXPECT_EQ(view.camera.pan_y, 0.0f);
    EXPECT_EQ(view.camera.rot_x, 270.0f);
    EXPECT_EQ(view.camera.rot_z, 0.0f);
}

TEST_F(PointerInputTest, ADragTurnsTheModelToWhereThePointerWent) {
    const auto [x, y] = middle_of("gtkglext_modelo3D");
    xdotool("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1");
    // The view asks for motion hints: every step is reported once the one before has been drawn.
    for (int step = 1; step <= 5; ++step) {
        xdotool("xdotool mousemove " + std::to_string(x + 20 * step) + " " + std::to_string(y));
    }
    xdotool("xdotool mouseup 1");
    EXPECT_FLOAT_EQ(view.camera.rot_z, 50.0f);
    EXPECT_FLOAT_EQ(view.camera.rot_x, 270.0f);
}
