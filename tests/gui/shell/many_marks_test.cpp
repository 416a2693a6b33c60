// Captures of hundreds of marks in the real window: an IDF and a C3D of 300 marks open with
// every mark in the lists and menus, play, are repaired and written back; the Info panel shows
// the rate as the file gives it, the first frame and the analog channels.
#include <chrono>
#include <cmath>
#include <functional>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/idf/idf_reader.h"
#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/shell/refresh.h"
#include "support/c3d_test_builder.h"
#include "support/gui_fixture.h"

namespace {

constexpr int MARKS = 300;
constexpr int FRAMES = 40;

// Rings of marks moving forward; the last mark is lost on frames 10 to 14.
bool lost_at(int m, int f) { return m == MARKS - 1 && f >= 10 && f <= 14; }
double walk(int m, int f, int a) {
    if (lost_at(m, f)) return LOST_VALUE;
    const double angle = (m % 20) * 0.314;
    const double at[3] = {300 * std::cos(angle) + 5.0 * f, 300 * std::sin(angle), 100.0 + (m / 20) * 110 + f % 7};
    return at[a];
}

int frames_shown = 0;
void count_frame(GtkRange*, gpointer) { ++frames_shown; }

struct ManyMarksTest : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
    }

    // Playback through the play button until `count` frames have been drawn.
    void play(int count) {
        frames_shown = 0;
        const gulong handler = g_signal_connect(widget("hscale_frame"), "value-changed", G_CALLBACK(count_frame), nullptr);
        set_widget_active("boton_play", true);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (frames_shown < count && std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, FALSE);
        set_widget_active("boton_play", false);
        process_pending_events();
        g_signal_handler_disconnect(widget("hscale_frame"), handler);
        EXPECT_GE(frames_shown, count);
    }

    void save_as(const std::string& path) {
        click("guardar_como1");
        ASSERT_NE(app_windows.file_selection, nullptr);
        GtkFileSelection* selection = GTK_FILE_SELECTION(app_windows.file_selection);
        gtk_file_selection_set_filename(selection, path.c_str());
        gtk_button_clicked(GTK_BUTTON(selection->ok_button));
        process_pending_events();
    }
};

}  // namespace

TEST_F(ManyMarksTest, ThreeHundredMarksOpenPlayAreRepairedAndWrittenBack) {
    const std::string idf = dir.path("crowd.idf");
    write_file(idf, make_idf_text(100, MARKS, FRAMES, walk));
    C3dBuild build;
    build.rate = 59.94f;
    build.frames = FRAMES;
    build.labels.clear();
    for (int m = 0; m < MARKS; ++m) build.labels.push_back("M" + std::to_string(m));
    build.labels_in_first = 255;  // the rest in LABELS2, as C3D files hold more than 255 points
    build.point = [](int p, int f) {
        if (lost_at(p, f)) return std::array<double, 4>{0, 0, 0, -1};
        return std::array<double, 4>{walk(p, f, 0), walk(p, f, 1), walk(p, f, 2), 1};
    };
    const std::string c3d = dir.path("crowd.c3d");
    write_file(c3d, build_c3d(build));

    const struct {
        std::string path, rate, written;
        std::function<int(std::string_view, const std::string&, CaptureData&, ReadError&)> parse;
    } cases[] = {{idf, "100", dir.path("back.idf"), idf_parse},
                 {c3d, "59.94", dir.path("back.c3d"), [](std::string_view bytes, const std::string& name,
                                                          CaptureData& out, ReadError& error) {
                      return c3d_parse(bytes, name, out, error);
                  }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        open_capture(c.path);
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(app.mark_count(), MARKS);
        EXPECT_EQ(label("label_marcas"), "900");
        EXPECT_EQ(label("label_hz"), c.rate);
        EXPECT_EQ(label("label_errores"), "15");
        for (const char* list : {"list_can", "clist_entity", "list_ver_trazas", "clist_hue_marcas"}) {
            EXPECT_EQ(list_rows(list).size(), size_t{MARKS}) << list;
        }
        for (const char* menu : {"option_mar_marcas", "optionmenu_can_origen", "optionmenu_hue_destino"}) {
            const std::vector<std::string> items = menu_items(menu);
            ASSERT_EQ(items.size(), size_t{MARKS}) << menu;
            EXPECT_EQ(items.back(), app.channels[MARKS - 1].name_text()) << menu;
        }

        play(5);
        click("boton_herr_interpolar");
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].text.find("Number of corrected errors of file: 15."), std::string::npos) << messages[0].text;
        EXPECT_EQ(app.error_count, 0);
        const Sample repaired = app.channels[MARKS - 1].samples[12];

        save_as(c.written);
        EXPECT_EQ(messages.size(), 1u) << "a whole rate, or a format that holds it: no warning";
        CaptureData back;
        ReadError error;
        ASSERT_EQ(c.parse(read_file(c.written), c.written, back, error), 0) << error.text;
        ASSERT_EQ(back.mark_count(), MARKS);
        EXPECT_EQ(back.error_count, 0);
        EXPECT_NEAR(back.channels[MARKS - 1].samples[12].y, repaired.y, 1e-3);
        EXPECT_EQ(back.channels[MARKS - 1].name_text(), app.channels[MARKS - 1].name_text());
        messages.clear();
    }

    // Written as IDF, the 59.94 Hz layer is rounded with a warning box.
    save_as(dir.path("rounded.idf"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, 1);
    EXPECT_NE(messages[0].text.find("holds it as 60 Hz"), std::string::npos) << messages[0].text;
}

TEST_F(ManyMarksTest, InfoShowsTheFirstFrameAndTheAnalogChannels) {
    open_small_capture("small.idf", 2, 5);
    EXPECT_EQ(label("label_primer_frame"), "0");
    EXPECT_EQ(label("label_analogicos"), "None");
    // What a C3D reader finds: its first frame and analog channels.
    app.first_frame = 63;
    app.analog_channels = 16;
    app.analog_rate = 1000;
    app.capture_rate = double(59.94f);
    ui_refresh_layer();
    EXPECT_EQ(label("label_primer_frame"), "63");
    EXPECT_EQ(label("label_analogicos"), "16 at 1000 Hz");
    EXPECT_EQ(label("label_hz"), "59.94");
}
