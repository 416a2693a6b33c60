// The 3-D view drawn for real on the test display, read back from the GL back buffer, and the
// playback chain driven through the play button.
#include <GL/gl.h>
#include <unistd.h>
#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <chrono>

#include "engine/model/capture_model.h"
#include "engine/scene/camera.h"
#include "engine/scene/fill_preview.h"
#include "engine/scene/view_state.h"
#include "gui/gl/frame_state.h"
#include "gui/gl/gl_context.h"
#include "gui/gl/gl_view.h"
#include "gui/gl/overlay.h"
#include "gui/gl/redraw_tick.h"
#include "gui/gl/scene_render.h"
#include "gui/gl/unit_shapes.h"
#include "gui/gl/video_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/shell/startup.h"
#include "support/gui_fixture.h"

namespace {

struct Rgb {
    int r, g, b;
};

// Marks 0 and 1 span the bounds; 2 and 3 lie inside; 4 is lost at frame 1.
double position(int m, int f, int a) {
    static const double at[5][3] = {{0, 0, 0}, {200, 200, 200}, {60, 100, 140}, {140, 100, 60}, {100, 40, 100}};
    if (m == 4 && f == 1) return LOST_VALUE;
    return at[m][a];
}

struct ViewTest : GuiTest {
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;

    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
    }

    void open_scene() {
        const std::string path = dir.path("scene.idf");
        write_file(path, make_idf_text(100, 5, 3, position));
        open_capture(path);
        gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), 2);  // flat colours
        set_widget_active("checkbutton_drawbox", false);
        set_widget_value("spin_ver_marcas", 8);
        set_widget_value("hscale_frame", 1);
        app.mark_styles[2].colour = 6;  // Rojo Claro
        app.mark_styles[3].colour = 10;  // Verde Claro
        app.mark_styles[4].colour = 1;  // Violeta Oscuro
    }

    void render() {
        pixels = render_view_pixels(widget("gtkglext_modelo3D"), width, height);
        ASSERT_FALSE(pixels.empty()) << "the view could not draw";
    }

    Rgb pixel(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return {pixels[at], pixels[at + 1], pixels[at + 2]};
    }

    // Where mark m of the working copy lands, with the current layer's offset.
    std::array<double, 3> projected(int m, int frame, double offset_x = 0) {
        const Sample& s = app.channels[m].samples[frame];
        return project_point(view_matrices(widget_value("spin_ver_zoom"), false), {s.x + offset_x, s.y, s.z});
    }

    Rgb pixel_at_mark(int m, double offset_x = 0) {
        const auto p = projected(m, 1, offset_x);
        return pixel(static_cast<int>(p[0]), static_cast<int>(p[1]));
    }

    int count(Rgb colour) const {
        int n = 0;
        for (size_t i = 0; i < pixels.size(); i += 3) {
            n += pixels[i] == colour.r && pixels[i + 1] == colour.g && pixels[i + 2] == colour.b;
        }
        return n;
    }
};

void expect_near(Rgb actual, Rgb expected, int tolerance = 1) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
}

}  // namespace

TEST_F(ViewTest, WithoutAFileTheViewIsClearedToGrey) {
    render();
    expect_near(pixel(width / 2, height / 2), {217, 217, 217});
    EXPECT_EQ(width % 4, 0);
}

TEST_F(ViewTest, AMarkAppearsInItsColourWhereTheProjectionPutsIt) {
    open_scene();
    render();
    expect_near(pixel_at_mark(2), {249, 0, 0});
    expect_near(pixel_at_mark(3), {29, 249, 0});
    set_widget_value("spin_red_avi", 0.2);
    set_widget_value("spin_green_avi", 0.4);
    set_widget_value("spin_blue_avi", 0.6);
    render();
    expect_near(pixel(1, 1), {51, 102, 153});
}

TEST_F(ViewTest, HiddenMarksLostSamplesAndBonesWithAHiddenEndAreNotDrawn) {
    open_scene();
    render();
    EXPECT_EQ(count({114, 0, 143}), 0) << "a lost sample was drawn";
    app.bone_count = 1;
    app.bones[0] = {8, 2, 3};  // Azul Claro, between marks 2 and 3
    render();
    EXPECT_GT(count({0, 0, 249}), 0);
    app.mark_styles[3].visible = 0;
    render();
    EXPECT_EQ(count({0, 0, 249}), 0) << "a bone with a hidden end was drawn";
    EXPECT_EQ(count({29, 249, 0}), 0) << "a hidden mark was drawn";
    expect_near(pixel_at_mark(2), {249, 0, 0});
    set_widget_value("hscale_frame", 0);  // mark 4 is seen at frame 0
    render();
    EXPECT_GT(count({114, 0, 143}), 0);
}

TEST_F(ViewTest, LayersThatAreNotCurrentAreBlendedWithTheBlendingOpacity) {
    open_scene();
    open_scene();  // layer 2, current, moved aside so the two do not overlap
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), 2);
    set_widget_value("spinbutton_offsetx", 100);
    set_widget_value("spin_blending", 0.4);
    render();
    const Rgb background = pixel(1, 1);
    const Rgb blended = pixel_at_mark(2);
    const double a = 102 / 255.0;
    expect_near(blended, {static_cast<int>(249 * a + background.r * (1 - a)), static_cast<int>(background.g * (1 - a)),
                          static_cast<int>(background.b * (1 - a))},
                2);
    expect_near(pixel_at_mark(2, 100), {249, 0, 0});
    click("togglebutton_lay_view_1");
    render();
    expect_near(pixel_at_mark(2), background);
}

TEST_F(ViewTest, TheTextBlockShowsNoForALostMark) {
    open_scene();
    gtk_clist_select_row(GTK_CLIST(widget("list_ver_trazas")), 4, 0);
    render();
    // The same text printed alone on the same background, in red: a lost mark's line is red.
    const auto reference = [&](const char* text) {
        GlSection gl(widget("gtkglext_modelo3D"));
        const Rgb bg = pixel(1, 1);
        glClearColor(bg.r / 255.0f, bg.g / 255.0f, bg.b / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        overlay_set_size(9);
        overlay_set_colour(1, 0, 0);
        overlay_print(10, height - 15, "%s", text);
        std::vector<unsigned char> out(pixels.size());
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, out.data());
        return out;
    };
    const auto box_equal = [&](const std::vector<unsigned char>& other) {
        for (int y = height - 15; y < height - 6; ++y) {
            for (int x = 10; x < 46; ++x) {
                const size_t at = (static_cast<size_t>(y) * width + x) * 3;
                if (!std::equal(pixels.begin() + at, pixels.begin() + at + 3, other.begin() + at)) return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(box_equal(reference("[NO]")));
    EXPECT_FALSE(box_equal(reference("[OK]")));
}

// Prints drawn together come out as printed one by one, in their colours, sizes and styles.
TEST_F(ViewTest, TextPrintedTogetherLooksAsPrintedOneByOne) {
    open_scene();
    render();
    const auto print = [&](bool together) {
        GlSection gl(widget("gtkglext_modelo3D"));
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (together) overlay_begin_batch();
        int y = 10;
        for (const char* text : {"plain", "\\b+bold", "\\i+slanted", "two\nlines", "\\c(0 90 0)green"}) {
            overlay_set_size(12);
            overlay_set_colour(0.2f, 0, 0.6f);
            overlay_print(10, y, "%s", text);
            y += 30;
        }
        if (together) overlay_end_batch();
        std::vector<unsigned char> out(pixels.size());
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, out.data());
        return out;
    };
    const std::vector<unsigned char> one_by_one = print(false);
    EXPECT_EQ(print(true), one_by_one);
    EXPECT_NE(std::count(one_by_one.begin(), one_by_one.end(), 255), static_cast<long>(one_by_one.size()));
}

// The text is the drawing that binds a texture and sets a scissor box: after a frame with it, and
// after the text printed alone, GL is as it was before.
TEST_F(ViewTest, AFrameAndTheTextLeaveTheGlStateAsTheyFoundIt) {
    open_scene();
    gtk_clist_select_row(GTK_CLIST(widget("list_ver_trazas")), 2, 0);
    struct GlState {
        GLint texture, scissor_box[4], modelview_depth, projection_depth;
        GLboolean scissor_test, texturing;
    };
    const auto state = [] {
        GlState s{};
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.texture);
        glGetIntegerv(GL_SCISSOR_BOX, s.scissor_box);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelview_depth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projection_depth);
        s.scissor_test = glIsEnabled(GL_SCISSOR_TEST);
        s.texturing = glIsEnabled(GL_TEXTURE_2D);
        return s;
    };
    const auto expect_as_found = [](const GlState& s, const GlState& before, const char* after) {
        SCOPED_TRACE(after);
        EXPECT_EQ(s.texture, 0);
        EXPECT_FALSE(s.scissor_test);
        EXPECT_FALSE(s.texturing);
        EXPECT_TRUE(std::equal(s.scissor_box, s.scissor_box + 4, before.scissor_box));
        EXPECT_EQ(s.modelview_depth, 1);
        EXPECT_EQ(s.projection_depth, 1);
        EXPECT_EQ(gl_errors(), std::vector<std::string>{});
    };
    GlState before{};
    {
        GlSection gl(widget("gtkglext_modelo3D"));
        ASSERT_TRUE(gl.open());
        before = state();
    }
    render();
    GlSection gl(widget("gtkglext_modelo3D"));
    ASSERT_TRUE(gl.open());
    expect_as_found(state(), before, "a frame");
    overlay_set_size(9);
    overlay_print(10, 10, "%s", "text");
    expect_as_found(state(), before, "the text alone");
}

namespace {

std::vector<int> shown_frames;

void remember_frame(GtkRange* range, gpointer) { shown_frames.push_back(static_cast<int>(gtk_range_get_value(range))); }

// Runs the main loop until `count` frames have been shown or two seconds have passed.
void run_until_shown(GuiTest& test, size_t count) {
    test.run_until([count] { return shown_frames.size() >= count; }, std::chrono::seconds(2));
}

}  // namespace

TEST_F(ViewTest, PlaybackAtSpeedFourLoopsThroughTheFrames) {
    open_small_capture("ten.idf", 2, 10);
    set_widget_active("check_ver_tiempo_real", false);  // the speed spin paces playback alone
    set_widget_value("spin_ver_velocidad", 4);
    shown_frames.clear();
    const gulong handler = g_signal_connect(widget("hscale_frame"), "value-changed", G_CALLBACK(remember_frame), nullptr);
    set_widget_active("boton_play", true);
    run_until_shown(*this, 7);
    set_widget_active("boton_play", false);
    process_pending_events();
    g_signal_handler_disconnect(widget("hscale_frame"), handler);
    ASSERT_GE(shown_frames.size(), 7u);
    EXPECT_EQ(std::vector<int>(shown_frames.begin(), shown_frames.begin() + 7), (std::vector<int>{1, 6, 9, 0, 5, 9, 0}));
}

TEST_F(ViewTest, PlaybackOfAOneFrameCaptureStaysStill) {
    open_small_capture("one.idf", 2, 1);
    shown_frames.clear();
    const gulong handler = g_signal_connect(widget("hscale_frame"), "value-changed", G_CALLBACK(remember_frame), nullptr);
    set_widget_active("boton_play", true);
    redraw_view(widget("gtkglext_modelo3D"));
    run_until_shown(*this, 1);
    set_widget_active("boton_play", false);
    g_signal_handler_disconnect(widget("hscale_frame"), handler);
    EXPECT_TRUE(shown_frames.empty());
    EXPECT_EQ(value("hscale_frame"), 0);
}

TEST_F(ViewTest, RealTimePlaybackKeepsToTheClock) {
    open_small_capture("clock.idf", 3, 1000);  // 100 Hz
    for (const int rate : {2, 3}) {  // 1x, then 2x
        gtk_combo_box_set_active(GTK_COMBO_BOX(widget("combo_ver_rate")), rate);
        set_widget_value("hscale_frame", 0);
        const auto start = std::chrono::steady_clock::now();
        set_widget_active("boton_play", true);
        while (std::chrono::steady_clock::now() < start + std::chrono::milliseconds(600)) {
            g_main_context_iteration(nullptr, FALSE);
        }
        const int shown = value("hscale_frame");
        const double passed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        set_widget_active("boton_play", false);
        const double due = passed * 100 * (rate == 2 ? 1 : 2);
        EXPECT_LE(shown, due + 2) << "faster than the clock";
        EXPECT_GE(shown, due * 0.6) << "well behind the clock";
    }
}

namespace {

std::vector<std::uintptr_t> stack_marks;

void remember_stack(GtkRange*, gpointer) {
    int local = 0;
    stack_marks.push_back(reinterpret_cast<std::uintptr_t>(&local));
}

}  // namespace

TEST_F(ViewTest, PlaybackRunsForHundredsOfFramesWithoutGrowingTheStack) {
    open_small_capture("loop.idf", 3, 40);
    set_widget_active("check_ver_tiempo_real", false);
    stack_marks.clear();
    const gulong handler = g_signal_connect(widget("hscale_frame"), "value-changed", G_CALLBACK(remember_stack), nullptr);
    set_widget_active("boton_play", true);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (stack_marks.size() < 300 && std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, FALSE);
    set_widget_active("boton_play", false);
    g_signal_handler_disconnect(widget("hscale_frame"), handler);
    ASSERT_GE(stack_marks.size(), 300u);
    const auto [low, high] = std::minmax_element(stack_marks.begin(), stack_marks.end());
    EXPECT_LT(*high - *low, 64u * 1024) << "the playback chain nests its redraws";
}

namespace {

gboolean send_key(GtkWidget* window, guint keyval) {
    GdkEventKey event{};
    event.type = GDK_KEY_PRESS;
    event.window = window->window;
    event.keyval = keyval;
    gboolean handled = FALSE;
    g_signal_emit_by_name(window, "key_press_event", &event, &handled);
    return handled;
}

}  // namespace

TEST_F(ViewTest, ZoomKeysStepTheZoomAndTheSpinButtonClampsIt) {
    open_scene();
    set_widget_value("spin_ver_zoom", 0.7);
    for (int i = 0; i < 5; ++i) send_key(app_windows.main_window, GDK_plus);
    EXPECT_NEAR(value("spin_ver_zoom"), 0.75, 1e-9);
    send_key(app_windows.main_window, GDK_Page_Down);
    EXPECT_NEAR(value("spin_ver_zoom"), 0.80, 1e-9);
    send_key(app_windows.main_window, GDK_minus);
    EXPECT_NEAR(value("spin_ver_zoom"), 0.79, 1e-9);
    set_widget_value("spin_ver_zoom", 0.02);
    send_key(app_windows.main_window, GDK_Page_Up);
    EXPECT_EQ(value("spin_ver_zoom"), 0.0);
    EXPECT_FALSE(send_key(app_windows.main_window, GDK_a));  // every key still reaches the focused widget
}

TEST_F(ViewTest, DraggingRotatesAndAxisButtonsResetTheCamera) {
    open_scene();
    GtkWidget* area = widget("gtkglext_modelo3D");
    // The motions are hints, as the view asks for them: their own position and buttons count,
    // not those of the pointer (wherever it is, with no button held).
    GdkEventButton press{};
    press.type = GDK_BUTTON_PRESS;
    press.window = area->window;
    press.x = 40;
    press.y = 40;
    press.button = 1;
    gboolean handled = FALSE;
    g_signal_emit_by_name(area, "button_press_event", &press, &handled);
    GdkEventMotion motion{};
    motion.type = GDK_MOTION_NOTIFY;
    motion.window = area->window;
    motion.x = 140;
    motion.y = 40;
    motion.state = GDK_BUTTON1_MASK;
    motion.is_hint = TRUE;
    motion.device = gdk_display_get_core_pointer(gdk_display_get_default());
    g_signal_emit_by_name(area, "motion_notify_event", &motion, &handled);
    EXPECT_FLOAT_EQ(view.camera.rot_z, 50.0f);
    EXPECT_FLOAT_EQ(view.camera.rot_x, 270.0f);
    motion.state = GDK_BUTTON3_MASK;
    motion.x = 70;
    motion.y = 20;
    g_signal_emit_by_name(area, "motion_notify_event", &motion, &handled);
    EXPECT_FLOAT_EQ(view.camera.pan_x, -30.0f);
    EXPECT_FLOAT_EQ(view.camera.pan_y, -20.0f);
    click("button_ver_ejey");
    EXPECT_FLOAT_EQ(view.camera.rot_x, 0.0f);
    EXPECT_FLOAT_EQ(view.camera.rot_y, 270.0f);
    EXPECT_FLOAT_EQ(view.camera.pan_x, 0.0f);
}

TEST_F(ViewTest, TheViewReportsItsSizeAsAMultipleOfFour) {
    EXPECT_EQ(view.view_width % 4, 0);
    EXPECT_GT(view.view_width, 0);
    EXPECT_EQ(status_text(), "GLWindow [" + std::to_string(view.view_width) + " x " + std::to_string(view.view_height) + "]");
    EXPECT_EQ(label("label_avi_width"), std::to_string(view.view_width));
    EXPECT_EQ(label("label_avi_height"), std::to_string(view.view_height));
}

namespace {

// A mark in the middle of the view, alone, in "Detailed" (lit) render mode; where a file is named
// at start-up it is opened before the view is realized, otherwise through the Open button.
Rgb lit_mark_colour(GuiTest& test, bool named_at_start_up) {
    const std::string path = test.dir.path("lit.idf");
    write_file(path, make_idf_text(100, 3, 1, [](int m, int, int) { return m * 100.0; }));
    if (named_at_start_up) open_startup_capture(path.c_str());
    gtk_widget_show(app_windows.main_window);
    process_pending_events();
    if (!named_at_start_up) test.open_capture(path);
    set_widget_active("checkbutton_drawbox", false);
    set_widget_value("spin_ver_marcas", 20);
    app.mark_styles[0].visible = app.mark_styles[2].visible = 0;
    app.mark_styles[1].colour = 6;  // Rojo Claro, 249 red
    int width = 0, height = 0;
    const std::vector<unsigned char> pixels = render_view_pixels(test.widget("gtkglext_modelo3D"), width, height);
    if (pixels.empty()) return {-1, -1, -1};
    const size_t at = (static_cast<size_t>(height / 2) * width + width / 2) * 3;
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

}  // namespace

TEST_F(GuiTest, TheLightShinesOnTheSceneHoweverTheCaptureWasOpened) {
    const Rgb opened = lit_mark_colour(*this, false);
    TearDown();
    SetUp();
    const Rgb named = lit_mark_colour(*this, true);
    expect_near(named, opened);
    // Lit from the front, the mark's face towards the viewer shows most of its colour (lit from
    // behind, only the ambient 40 % would be left).
    EXPECT_GT(named.r, 249 * 0.6);
    EXPECT_EQ(named.g, 0);
}

TEST_F(ViewTest, ACancelledVideoExportLeavesNoFileAndTheFrameAsItWas) {
    open_small_capture("walk.idf", 3, 50);
    set_widget_value("hscale_frame", 7);
    VideoExport request;
    request.output = dir.path("walk.mp4");
    request.last = 49;
    request.rate = 100;
    video_size_of_view(request.width, request.height);
    int frames = 0;
    EXPECT_EQ(export_video(request, [&frames](int done, int) { return (frames = done) < 3; }), "Cancelled");
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(access(request.output.c_str(), F_OK), -1);
    EXPECT_EQ(access(video_temporary_path(request.output).c_str(), F_OK), -1);
    EXPECT_EQ(value("hscale_frame"), 7);
}

namespace {

// Marks 0 and 1 span the box; mark 2 walks across it over 50 frames.
double walk(int m, int f, int a) { return m == 2 ? (a == 0 ? 20 + 3.2 * f : 100) : m * 200.0; }

}  // namespace

TEST_F(ViewTest, AComputedSampleIsRingedAndAComputedTrajectoryDashed) {
    const std::string path = dir.path("walk.idf");
    write_file(path, make_idf_text(100, 3, 50, walk));
    open_capture(path);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), 2);
    set_widget_active("checkbutton_drawbox", false);
    set_widget_value("spin_ver_marcas", 8);
    set_widget_value("hscale_frame", 25);
    app.mark_styles[2].colour = 6;  // Rojo Claro
    const Rgb red{249, 0, 0};
    const auto set_origins = [](SampleOrigin origin) {
        SampleOrigin* origins = writable_origins(app, 2);
        std::fill(origins, origins + app.num_frames, origin);
        note_samples_changed(app);
    };
    render();
    const int measured_mark = count(red);
    set_origins(SampleOrigin::fill_spline);
    render();
    EXPECT_GT(count(red), measured_mark + 20) << "no ring around the computed sample";

    set_widget_active("check_ver_marcas", false);
    set_widget_active("check_ver_trazas", true);
    gtk_clist_select_row(GTK_CLIST(widget("list_ver_trazas")), 2, 0);
    render();
    const int dashed = count(red);
    set_origins(SampleOrigin::measured);
    render();
    const int solid = count(red);
    EXPECT_LT(dashed, solid * 3 / 4);
    EXPECT_GT(dashed, solid / 4);
}

// The pieces kept at unit size and the trajectories kept in arrays draw what tessellating
// everything again at each frame draws, in every render mode.
TEST_F(ViewTest, KeptPiecesDrawThePictureOfPiecesTessellatedAtEveryFrame) {
    const std::string path = dir.path("walk.idf");
    write_file(path, make_idf_text(100, 3, 50, walk));
    open_capture(path);
    set_widget_active("checkbutton_drawbox", false);
    set_widget_value("spin_ver_marcas", 6);
    set_widget_value("spin_ver_huesos", 4);
    set_widget_value("spin_ver_rastro", 5);
    set_widget_value("hscale_frame", 30);
    app.bone_count = 2;
    app.bones[0] = {8, 0, 2};
    app.bones[1] = {10, 2, 1};
    for (const char* check : {"check_ver_trazas", "checkbutton_velocity", "checkbutton_acceleration"}) {
        set_widget_active(check, true);
    }
    set_widget_value("spinbutton_velocity", 3);
    gtk_clist_select_row(GTK_CLIST(widget("list_ver_trazas")), 2, 0);
    gtk_clist_select_row(GTK_CLIST(widget("clist_entity")), 2, 0);
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(mode);
        gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), mode);
        render();
        const std::vector<unsigned char> kept = pixels;
        set_immediate_shapes(true);
        render();
        set_immediate_shapes(false);
        const Rgb background = pixel(1, 1);
        int changed = 0, drawn = 0;
        for (size_t i = 0; i < pixels.size(); i += 3) {
            bool differs = false;
            for (int c = 0; c < 3; ++c) differs |= std::abs(kept[i + c] - pixels[i + c]) > 24;
            changed += differs;
            drawn += kept[i] != background.r || kept[i + 1] != background.g || kept[i + 2] != background.b;
        }
        EXPECT_LT(changed, drawn / 50);
        EXPECT_GT(drawn, 1000) << "too little of the scene drawn to compare";
    }
}

// Very long trajectories are drawn once into a picture kept with its depth: laid over the scene,
// it shows what drawing them in place shows, hidden where a nearer mark stands in front.
TEST_F(ViewTest, TrajectoriesKeptAsAPictureLookAsTheyDoDrawnInPlace) {
    const std::string path = dir.path("walk.idf");
    write_file(path, make_idf_text(100, 3, 50, walk));
    open_capture(path);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), 0);
    set_widget_active("checkbutton_drawbox", false);
    set_widget_value("spin_ver_marcas", 20);
    set_widget_value("hscale_frame", 25);
    app.mark_styles[2].colour = 6;  // Rojo Claro
    set_widget_active("check_ver_trazas", true);
    gtk_clist_select_row(GTK_CLIST(widget("list_ver_trazas")), 2, 0);
    render();
    const std::vector<unsigned char> in_place = pixels;
    set_trajectory_picture_vertices(1);
    render();
    render();  // the second frame lays the kept picture without drawing it again
    set_trajectory_picture_vertices(200000);
    {
        GlSection gl(widget("gtkglext_modelo3D"));
        EXPECT_EQ(gl_errors(), std::vector<std::string>{});
    }
    int changed = 0;
    for (size_t i = 0; i < pixels.size(); ++i) changed += std::abs(in_place[i] - pixels[i]) > 8;
    EXPECT_LT(changed, 30);
    EXPECT_GT(std::count(in_place.begin(), in_place.end(), 249), 0) << "the trajectory was not drawn";
}

TEST_F(ViewTest, AFillBeingPreviewedIsDrawnInItsOwnColourOnItsLayerOnly) {
    const std::string path = dir.path("walk.idf");
    write_file(path, make_idf_text(100, 3, 50, walk));
    open_capture(path);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), 2);
    set_widget_active("checkbutton_drawbox", false);
    set_widget_value("spin_ver_marcas", 16);
    set_widget_value("hscale_frame", 25);
    const Rgb pink{255, 64, 160};
    FillPreview& preview = fill_preview();
    preview.layer = app.current_layer;
    preview.mark = 2;
    preview.first = 20;
    for (int f = 20; f < 30; ++f) preview.values.push_back({20 + 3.2 * f, 160, 160});
    render();
    const int with_mark = count(pink);
    set_widget_value("hscale_frame", 35);  // outside the gap: the path alone
    render();
    const int path_alone = count(pink);
    preview.layer = app.current_layer + 1;
    render();
    const int other_layer = count(pink);
    preview.clear();
    EXPECT_GT(path_alone, 50);
    EXPECT_GT(with_mark, path_alone + 100);
    EXPECT_EQ(other_layer, 0);
}
