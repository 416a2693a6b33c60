// The " Marks " page through its widgets: the values list, loading the curve, Discard and Make.
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

struct MarksPageTest : GuiTest {
    GtkCurve* curve() { return GTK_CURVE(widget("curve_mar")); }

    std::vector<float> curve_ys() {
        std::vector<float> ys;
        for (int i = 0; i < curve()->num_ctlpoints; ++i) ys.push_back(curve()->ctlpoint[i][1]);
        return ys;
    }

    void choose_mark(int mark) {
        gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_mar_marcas")), mark);
        process_pending_events();
    }

    void choose_interval(int first, int last) {
        set_widget_value("spinbutton_mar_origen", first);
        set_widget_value("spinbutton_mar_destino", last);
        process_pending_events();
    }

    // Four marks: mark m, axis a at frame f holds 10 m + f + a / 10, except the lost ones given.
    void open_capture_with_lost(int frames, bool (*lost)(int m, int f, int a)) {
        const std::string path = dir.path("marks.idf");
        write_file(path, make_idf_text(100, 4, frames, [lost](int m, int f, int a) {
                       return lost(m, f, a) ? LOST_VALUE : 10.0 * m + f + a / 10.0;
                   }, {"LASI", "RASI", "SACR", "LKNE"}));
        open_capture(path);
    }
};

bool nothing_lost(int, int, int) { return false; }

}  // namespace

TEST_F(MarksPageTest, OpeningListsEveryFrameAndLoadsFramesOneAndTwo) {
    gint width = 0, height = 0;
    gtk_widget_get_size_request(GTK_WIDGET(curve()), &width, &height);
    open_small_capture("small.idf", 3, 12);
    ASSERT_TRUE(messages.empty());
    const std::vector<std::string> frames = list_rows("clist_mar", 0);
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(frames[0], "0");
    EXPECT_EQ(frames[11], "11");
    EXPECT_EQ(list_rows("clist_mar", 1)[7], "7.000000");

    ASSERT_EQ(curve()->num_ctlpoints, 2);
    EXPECT_EQ(curve()->ctlpoint[0][0], 0.0f);
    EXPECT_EQ(curve()->ctlpoint[1][0], 1.0f);
    EXPECT_EQ(curve_ys(), (std::vector<float>{0.0f, 1.0f}));
    GtkRuler* ruler = GTK_RULER(widget("hruler_mar_horizontal"));
    EXPECT_EQ(ruler->lower, 1);
    EXPECT_EQ(ruler->upper, 2);
    EXPECT_EQ(ruler->position, 1);
    // Setting the curve's range must not shrink the widget to the size of its range.
    gint after_width = 0, after_height = 0;
    gtk_widget_get_size_request(GTK_WIDGET(curve()), &after_width, &after_height);
    EXPECT_EQ(after_width, width);
    EXPECT_EQ(after_height, height);
}

TEST_F(MarksPageTest, MarkAxisAndIntervalReloadTheListAndTheCurve) {
    open_capture_with_lost(20, [](int m, int f, int a) { return m == 2 && a == 2 && f == 6; });
    choose_mark(2);
    EXPECT_EQ(list_rows("clist_mar", 1)[3], "23.000000");
    click("radiobutton_mar_ejez");
    const std::vector<std::string> values = list_rows("clist_mar", 1);
    ASSERT_EQ(values.size(), 20u);  // every frame, whatever the interval
    EXPECT_EQ(values[3], "23.200000");
    EXPECT_EQ(values[6], "999999.000000");

    choose_interval(4, 9);
    ASSERT_EQ(curve()->num_ctlpoints, 6);
    EXPECT_FLOAT_EQ(curve()->ctlpoint[2][0], 0.4f);
    // Frames 4..9 hold 24.2 .. 29.2 with 6 lost: the bounds come from the valid ones and the lost
    // frame sits at the top.
    const std::vector<float> ys = curve_ys();
    EXPECT_EQ(ys[0], 0.0f);
    EXPECT_FLOAT_EQ(ys[1], 0.2f);
    EXPECT_EQ(ys[2], 1.0f);
    EXPECT_EQ(ys[5], 1.0f);
    EXPECT_EQ(GTK_RULER(widget("hruler_mar_horizontal"))->upper, 9);

    // A first frame at or past the last gives two frames from the first; the spin buttons stay.
    choose_interval(12, 5);
    EXPECT_EQ(curve()->num_ctlpoints, 2);
    EXPECT_EQ(GTK_RULER(widget("hruler_mar_horizontal"))->lower, 12);
    EXPECT_EQ(GTK_RULER(widget("hruler_mar_horizontal"))->upper, 13);
    EXPECT_EQ(value("spinbutton_mar_origen"), 12);
    EXPECT_EQ(value("spinbutton_mar_destino"), 5);
}

TEST_F(MarksPageTest, DiscardRestoresTheShapeAndMakeWritesTheCurve) {
    open_capture_with_lost(12, nothing_lost);
    choose_mark(1);
    choose_interval(2, 8);  // values 12..18 on a scale of 12..18
    const std::vector<float> loaded = curve_ys();
    ASSERT_EQ(loaded.size(), 7u);

    curve()->ctlpoint[3][1] = 0.9f;  // as if dragged
    click("boton_mar_descartar");
    EXPECT_EQ(curve_ys(), loaded);

    curve()->ctlpoint[3][1] = 1.5f;  // above the top of the scale
    click("boton_mar_aceptar");
    EXPECT_TRUE(messages.empty());
    EXPECT_NEAR(app.channels[1].samples[5].x, 12.0 + 6 * 1.5, 1e-5);
    EXPECT_NEAR(app.channels[1].samples[4].x, 14.0, 1e-5);
    EXPECT_NEAR(app.channels[1].samples[6].x, 16.0, 1e-5);
    EXPECT_EQ(app.channels[1].samples[9].x, 19.0);
    EXPECT_EQ(app.channels[1].samples[5].y, 15.1);
    EXPECT_EQ(list_rows("clist_mar", 1)[5], "21.000000");
    EXPECT_NE(history_text().find("The interval [2,8] of RASI is edited manually\n"), std::string::npos);
    // The page reloads on the scale the user was editing on, so the point stays where it was put.
    EXPECT_NEAR(curve_ys()[3], 1.5f, 1e-5);
}

TEST_F(MarksPageTest, MakeRefusesAnIntervalWithoutValidValue) {
    open_capture_with_lost(10, [](int m, int, int a) { return m == 3 && a == 1; });
    choose_mark(3);
    click("radiobutton_mar_ejey");
    choose_interval(2, 6);
    click("boton_mar_aceptar");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The interval [2,6] of LKNE has no valid value to edit.");
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_EQ(app.channels[3].samples[4].y, LOST_VALUE);
    EXPECT_EQ(history_text().find("edited manually"), std::string::npos);
}

// In a shown window the widget redraws its curve from the new points at once.
TEST_F(MarksPageTest, ShownCurveFollowsTheLoadedPoints) {
    gtk_widget_show(app_windows.main_window);
    process_pending_events();
    open_capture_with_lost(12, nothing_lost);
    // Falling values: the widget's own reset of its points is a rising line.
    for (int f = 0; f < 12; ++f) app.channels[0].samples[f].x = 10.0 - f;
    choose_interval(0, 10);
    GtkCurve* c = curve();
    ASSERT_GT(c->num_points, 2);
    EXPECT_LT(c->point[0].y, c->point[c->num_points - 1].y) << "the drawn curve is not the loaded one";
    std::vector<gfloat> drawn(3);
    gtk_curve_get_vector(c, 3, drawn.data());
    EXPECT_NEAR(drawn[0], 1.0f, 1e-5);
    EXPECT_NEAR(drawn[1], 0.5f, 1e-5);
    EXPECT_NEAR(drawn[2], 0.0f, 1e-5);

    curve()->ctlpoint[5][1] = 0.0f;
    click("boton_mar_descartar");
    EXPECT_NEAR(c->ctlpoint[5][1], 0.5f, 1e-6);
    EXPECT_EQ(c->curve_type, GTK_CURVE_TYPE_SPLINE);
}

TEST_F(MarksPageTest, PageFollowsRepairAndTheLayerSwitch) {
    open_capture_with_lost(12, [](int m, int f, int a) { return m == 0 && a == 0 && f == 4; });
    EXPECT_EQ(list_rows("clist_mar", 1)[4], "999999.000000");
    click("boton_herr_interpolar");
    ASSERT_FALSE(is_lost(app.channels[0].samples[4].x));
    EXPECT_EQ(list_rows("clist_mar", 1)[4], std::to_string(app.channels[0].samples[4].x));  // "%f"

    open_small_capture("long.idf", 2, 30);
    EXPECT_EQ(list_rows("clist_mar").size(), 30u);
    click("togglebutton_lay_tool_1");
    EXPECT_EQ(list_rows("clist_mar").size(), 12u);
    EXPECT_EQ(curve()->num_ctlpoints, 2);
}

TEST_F(MarksPageTest, TheOriginColumnAndTheInfoPageTellComputedSamplesFromMeasuredOnes) {
    open_capture_with_lost(20, [](int m, int f, int) { return m == 2 && (f == 6 || f == 7); });
    choose_mark(2);
    EXPECT_EQ(list_rows("clist_mar", 2)[6], "lost");
    EXPECT_EQ(label("label_computados"), "0");
    click("boton_herr_interpolar");
    const std::vector<std::string> origins = list_rows("clist_mar", 2);
    ASSERT_EQ(origins.size(), 20u);
    EXPECT_EQ(origins[5], "measured");
    EXPECT_EQ(origins[6], "repair");
    EXPECT_EQ(origins[7], "repair");
    EXPECT_EQ(label("label_computados"), "2");
}
