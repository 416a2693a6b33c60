// Numbers typed into the spin buttons with real key events: the number typed is the number the
// program uses, although redraws, key handlers and the periodic refresh read the spins meanwhile.
#include <vector>

#include "gui/gl/scene_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

struct TypedNumber {
    const char* notebook;  // the notebook and page that show the spin
    int page;
    const char* spin;
    const char* typed;
    const char* commit;  // the key that ends the typing, as a user does: Return or Tab
    double expected;
    const char* choice = nullptr;  // the radio button under which the spin is sensitive
};

// Every spin button of the Vis, Ent, AVI, Marks and Channels pages (the Bones page has none).
const TypedNumber typed_numbers[] = {
    {"notebook_info", 1, "spin_ver_velocidad", "-5", "Return", -5},
    {"notebook_info", 1, "spin_ver_zoom", "1.25", "Tab", 1.25},
    {"notebook_info", 1, "spin_blending", "0.25", "Return", 0.25},
    {"notebook_info", 1, "spin_ver_marcas", "20", "Return", 20},
    {"notebook_info", 1, "spin_ver_huesos", "25", "Tab", 25},
    {"notebook_info", 1, "spin_ver_rastro", "12", "Return", 12},
    {"notebook_info", 1, "spin_ver_tamano_trazas", "12", "Return", 12},
    {"notebook_info", 1, "spin_ver_origen_trazas", "25", "Return", 25},
    {"notebook_info", 1, "spin_ver_destino_trazas", "195", "Tab", 195},
    {"notebook_info", 2, "spinbutton_velocity", "12.5", "Return", 12.5},
    {"notebook_info", 2, "spinbutton_acceleration", "7.5", "Tab", 7.5},
    {"notebook_info", 2, "spinbutton_offsetx", "-12.5", "Return", -12.5},
    {"notebook_info", 2, "spinbutton_offsety", "250", "Return", 250},
    {"notebook_info", 2, "spinbutton_offsetz", "3.75", "Tab", 3.75},
    {"notebook_info", 4, "spin_fps_avi", "25", "Return", 25},
    {"notebook_info", 4, "spin_kfps_avi", "5", "Tab", 5},
    {"notebook_info", 4, "spin_red_avi", "0.25", "Return", 0.25},
    {"notebook_info", 4, "spin_green_avi", "0.5", "Tab", 0.5},
    {"notebook_info", 4, "spin_blue_avi", "0.75", "Return", 0.75},
    {"notebook_edicion", 0, "spinbutton_mar_origen", "25", "Return", 25},
    {"notebook_edicion", 0, "spinbutton_mar_destino", "195", "Tab", 195},
    {"notebook_edicion", 1, "spinbutton_can_origen", "25", "Return", 25},
    {"notebook_edicion", 1, "spinbutton_can_destino", "195", "Tab", 195},
    {"notebook_edicion", 1, "spinbutton_can_maxgap", "40", "Return", 40, "radiobutton_can_rellenar"},
    {"notebook_edicion", 1, "spinbutton_can_factor_suavizado", "12", "Tab", 12, "radiobutton_can_suavizar"},
    {"notebook_edicion", 1, "spinbutton_can_corte", "8.5", "Return", 8.5, "radiobutton_can_filtrar"},
    {"notebook_edicion", 1, "spinbutton_can_orden", "6", "Tab", 6, "radiobutton_can_filtrar"},
    {"notebook_edicion", 1, "spinbutton_can_frameorigen", "25", "Return", 25},
    {"notebook_edicion", 1, "spinbutton_can_framedestino", "195", "Tab", 195},
};

struct TypedNumbersTest : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        // Marks of their own size, lit in the middle of the view; frames enough for every number.
        const std::string path = dir.path("walk.idf");
        write_file(path, make_idf_text(100, 3, 300, [](int m, int f, int a) { return m * 50.0 + (f % 7) + a * 10; }));
        open_capture(path);
        focus_main_window();
    }

    // The spin's page is shown, the spin takes the focus and its text is selected, as a click in it
    // would leave it.
    void select_spin(const TypedNumber& row) {
        gtk_notebook_set_current_page(GTK_NOTEBOOK(widget(row.notebook)), row.page);
        if (row.choice) set_widget_active(row.choice, true);
        GtkWidget* spin = widget(row.spin);
        gtk_widget_grab_focus(spin);
        gtk_editable_select_region(GTK_EDITABLE(spin), 0, -1);
        process_pending_events();
        ASSERT_TRUE(gtk_widget_has_focus(spin)) << row.spin;
    }
};

}  // namespace

TEST_F(TypedNumbersTest, EverySpinTakesTheNumberTyped) {
    for (const TypedNumber& row : typed_numbers) {
        select_spin(row);
        xdotool(std::string("xdotool type --delay 0 -- '") + row.typed + "'; xdotool key " + row.commit);
        EXPECT_DOUBLE_EQ(widget_value(row.spin), row.expected) << row.spin << " typed " << row.typed;
    }
    // The trajectory editor loaded the interval typed.
    GtkRuler* ruler = GTK_RULER(widget("hruler_mar_horizontal"));
    EXPECT_EQ(ruler->lower, 25);
    EXPECT_EQ(ruler->upper, 195);
}

TEST_F(TypedNumbersTest, EmptyingTheZoomKeepsThePictureUntilANumberIsTyped) {
    GtkWidget* view = widget("gtkglext_modelo3D");
    int width = 0, height = 0;
    const std::vector<unsigned char> before = render_view_pixels(view, width, height);
    ASSERT_FALSE(before.empty());
    select_spin({"notebook_info", 1, "spin_ver_zoom", "", "", 0});
    xdotool("xdotool key BackSpace");
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(widget("spin_ver_zoom"))), "");
    EXPECT_EQ(render_view_pixels(view, width, height), before) << "the view changed while the zoom was being typed";
    xdotool("xdotool type --delay 0 1.2; xdotool key Return");
    EXPECT_DOUBLE_EQ(widget_value("spin_ver_zoom"), 1.2);
    EXPECT_NE(render_view_pixels(view, width, height), before);
}
