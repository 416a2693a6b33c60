// The channel panels and the toolbar's trajectory commands through their widgets.
#include <cmath>
#include <cstdio>

#include "engine/model/capture_model.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

struct ChannelsPageTest : GuiTest {
    std::string open_gappy(int frames = 40) {
        const std::string path = dir.path("gappy.idf");
        write_file(path, make_idf_text(100, 3, frames, [](int m, int f, int a) {
                       if (m == 1 && f >= 10 && f <= 12) return LOST_VALUE;
                       return 50 * std::sin(0.2 * f + m) + a;
                   }, {"LASI", "RASI", "SACR"}));
        open_capture(path);
        return path;
    }
};

}  // namespace

TEST_F(ChannelsPageTest, ToolbarRepairRepairsEveryChannelAndReports) {
    open_gappy();
    click("boton_herr_interpolar");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error Correction Finished.\nNumber of corrected errors of file: 9.\nThere're 0 errors not corrected");
    EXPECT_EQ(messages[0].type, 0);
    EXPECT_EQ(messages[0].buttons, 1);
    EXPECT_EQ(app.error_count, 0);
    EXPECT_EQ(label("label_errores"), "0");
    EXPECT_EQ(list_rows("list_can").size(), 3u);
    EXPECT_NE(history_text().find("File repaired [0, 39], with 0 errors\n"), std::string::npos);
    EXPECT_FALSE(is_lost(app.channels[1].samples[11].x));
}

TEST_F(ChannelsPageTest, ProceedWorksOnTheSelectedChannelsOverTheChosenFrames) {
    open_gappy();
    gtk_clist_select_row(GTK_CLIST(widget("list_can")), 0, 0);
    set_widget_value("spinbutton_can_origen", 0);
    set_widget_value("spinbutton_can_destino", 20);
    click("boton_can_proceder");
    EXPECT_TRUE(is_lost(app.channels[1].samples[11].x)) << "an unselected channel was repaired";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error Correction Finished.\nNumber of corrected errors of file: 0.\nThere're 9 errors not corrected");

    // Smoothing: the factor follows the radio button; a channel with lost frames is refused.
    EXPECT_FALSE(sensitive("spinbutton_can_factor_suavizado"));
    click("radiobutton_can_suavizar");
    EXPECT_TRUE(sensitive("spinbutton_can_factor_suavizado"));
    click("boton_can_seltodos");
    messages.clear();
    click("boton_can_proceder");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "The selected interval can't have \n errors to make a smooth.\n The interval 0 - 20 of channel [RASI] has 9 errors.");
    EXPECT_EQ(messages[1].text, "Smooth Finished.");
    EXPECT_NE(history_text().find("The trayectories have been smoothed [0, 20] SF: 5\n"), std::string::npos);
}

TEST_F(ChannelsPageTest, BothRepairsThenSmoothsWithTwoReports) {
    open_gappy();
    click("boton_herr_ambos");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text.rfind("Error Correction Finished.", 0), 0u);
    EXPECT_EQ(messages[1].text, "Smooth Finished.");
    EXPECT_TRUE(active("radiobutton_can_suavizar"));
    EXPECT_EQ(value("spinbutton_can_factor_suavizado"), 5);
}

TEST_F(ChannelsPageTest, InterchangeRefusesBadChoicesAndSwapsOtherwise) {
    open_gappy();
    const double a = app.channels[0].samples[5].x, b = app.channels[2].samples[5].x;
    set_widget_value("spinbutton_can_frameorigen", 5);
    set_widget_value("spinbutton_can_framedestino", 5);
    click("boton_can_intercambiar");
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("optionmenu_can_destino")), 2);
    set_widget_value("spinbutton_can_framedestino", 8);
    click("boton_can_intercambiar");
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("optionmenu_can_destino")), 0);
    click("boton_can_intercambiar");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, "Please, select an origin frame minor than destination frame.");
    EXPECT_EQ(messages[1].text, "Channels Interchange Finished.");
    EXPECT_EQ(messages[2].text, "Please, select two distinct frames to interchange.");
    EXPECT_EQ(app.channels[0].samples[5].x, b);
    EXPECT_EQ(app.channels[2].samples[5].x, a);
    EXPECT_NE(history_text().find("Interchange LASI <--> SACR in [5, 8]\n"), std::string::npos);
}

TEST_F(ChannelsPageTest, ScaleDataAppliesTheSliderAndSetsItBackToZero) {
    open_gappy();
    const double before = app.channels[0].samples[3].y;
    set_widget_value("spinbutton_offsetx", 12);
    set_widget_value("hscale_scaledata", -0.5);
    click("button_scaledata");
    EXPECT_DOUBLE_EQ(app.channels[0].samples[3].y, before * 0.5);
    EXPECT_EQ(app.channels[1].samples[11].x, LOST_VALUE);
    EXPECT_EQ(value("hscale_scaledata"), 0);
    EXPECT_EQ(value("spinbutton_offsetx"), 12);
    EXPECT_EQ(app.layers[1].scale, 0.0f);
}

TEST_F(ChannelsPageTest, AccurateFillUsesTheMaxGapOnlyWhileChosen) {
    open_gappy();
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(widget("radiobutton_can_rellenar"))), "Accurate Fill");
    EXPECT_FALSE(sensitive("spinbutton_can_maxgap"));
    EXPECT_EQ(upper("spinbutton_can_maxgap"), 10000);
    click("radiobutton_can_rellenar");
    EXPECT_TRUE(sensitive("spinbutton_can_maxgap"));
    EXPECT_FALSE(sensitive("spinbutton_can_factor_suavizado"));
    click("boton_can_seltodos");
    set_widget_value("spinbutton_can_origen", 0);
    set_widget_value("spinbutton_can_destino", 39);

    set_widget_value("spinbutton_can_maxgap", 2);  // the 3-frame gap is longer
    click("boton_can_proceder");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Gap Filling Finished.\nNumber of filled gaps: 0 (0 from other marks).\nThere're 9 errors not corrected");
    EXPECT_TRUE(is_lost(app.channels[1].samples[11].x));

    set_widget_value("spinbutton_can_maxgap", 0);
    click("boton_can_proceder");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text,
              "Gap Filling Finished.\nNumber of filled gaps: 1 (0 from other marks).\nThere're 0 errors not corrected\n"
              "Largest estimated error: 0.8 (mark RASI, frames 10-12)");
    EXPECT_EQ(app.error_count, 0);
    EXPECT_EQ(label("label_errores"), "0");
    EXPECT_NEAR(app.channels[1].samples[11].x, 50 * std::sin(0.2 * 11 + 1), 0.5);
    EXPECT_NE(history_text().find("Gaps filled [0, 39]: 1 gaps, 0 errors left\n"), std::string::npos);

    click("radiobutton_can_interpolar");
    EXPECT_FALSE(sensitive("spinbutton_can_maxgap"));
}

TEST_F(ChannelsPageTest, MaxGapStartsAtHalfASecondOfFramesOfEachLayer) {
    open_gappy();
    EXPECT_EQ(value("spinbutton_can_maxgap"), 50);  // 100 Hz
    const std::string slow = dir.path("slow.idf");
    write_file(slow, make_idf_text(20, 2, 30, [](int m, int f, int a) { return m + f + a; }));
    open_capture(slow);
    EXPECT_EQ(value("spinbutton_can_maxgap"), 10);
    click("togglebutton_lay_tool_1");
    EXPECT_EQ(value("spinbutton_can_maxgap"), 50);
}

TEST_F(ChannelsPageTest, FilterSuggestsACutoffFiltersAndRefusesOneTooHigh) {
    open_gappy();
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(widget("radiobutton_can_filtrar"))), "Filter (Hz)");
    EXPECT_EQ(value("spinbutton_can_corte"), 6);
    EXPECT_EQ(upper("spinbutton_can_corte"), 50);  // half of 100 Hz
    EXPECT_EQ(value("spinbutton_can_orden"), 4);
    EXPECT_FALSE(sensitive("boton_can_sugerir"));
    click("radiobutton_can_filtrar");
    EXPECT_TRUE(sensitive("spinbutton_can_corte") && sensitive("spinbutton_can_orden") && sensitive("boton_can_sugerir"));
    click("boton_can_seltodos");

    click("boton_can_sugerir");
    EXPECT_TRUE(messages.empty());
    const std::string history = history_text();
    for (const char* mark : {"Cutoff of LASI: ", "Cutoff of RASI: ", "Cutoff of SACR: "}) {
        EXPECT_NE(history.find(mark), std::string::npos) << history;
    }
    char overall[64];
    std::snprintf(overall, sizeof overall, "Suggested cutoff [0, 39]: %.1f Hz, order 4\n", value("spinbutton_can_corte"));
    EXPECT_NE(history.find(overall), std::string::npos) << history;

    // Order 6 needs 13 frames: RASI's frames 0..9 before its gap stay as they are.
    const Sample before = app.channels[1].samples[5];
    const double lasi = app.channels[0].samples[20].x;
    set_widget_value("spinbutton_can_corte", 10);
    set_widget_value("spinbutton_can_orden", 6);
    click("boton_can_proceder");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Filter Finished.\nFiltered 3 channels at 10.0 Hz; 1 stretches too short were left as they are");
    EXPECT_NE(history_text().find("Filtered [0, 39] at 10.0 Hz, order 6\n"), std::string::npos);
    EXPECT_NE(app.channels[0].samples[20].x, lasi);
    EXPECT_EQ(app.channels[1].samples[5].x, before.x);
    EXPECT_EQ(app.channels[1].samples[11].x, LOST_VALUE);

    set_widget_value("spinbutton_can_corte", 45);
    click("boton_can_proceder");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "The cutoff 45.00 Hz is too high for a capture at 100 Hz.\nThe highest cutoff allowed is 43.16 Hz.");
    EXPECT_EQ(messages[1].type, 3);
}
