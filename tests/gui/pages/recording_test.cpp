// Recording the view on the test display: the record button writes the drawn picture as
// numbered BMP files into a new folder under the temporary folder, and turning it off starts
// the video script in that folder.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "engine/model/seams.h"
#include "engine/scene/recording.h"
#include "engine/scene/view_state.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/pages/avi_page.h"
#include "platform/launch.h"
#include "support/gui_fixture.h"

namespace {

std::uint32_t u32(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8 |
           static_cast<unsigned char>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

struct RecordingTest : GuiTest {
    std::unique_ptr<WorkingDirectory> in_test_folder;
    std::string previous_tmpdir;
    std::vector<LaunchRequest> launched;

    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        if (const char* tmpdir = std::getenv("TMPDIR")) previous_tmpdir = tmpdir;
        // The test's folder stands for the program's folder, its "tmp" for the user's temporary folder.
        std::filesystem::copy_file(build_path("codecs.dat"), dir.path("codecs.dat"));
        std::filesystem::create_directory(dir.path("tmp"));
        setenv("TMPDIR", dir.path("tmp").c_str(), 1);
        in_test_folder = std::make_unique<WorkingDirectory>(dir.dir);
        set_launch_recorder([this](const LaunchRequest& launch) { launched.push_back(launch); });
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
    }

    void TearDown() override {
        set_launch_recorder(nullptr);
        if (previous_tmpdir.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", previous_tmpdir.c_str(), 1);
        }
        in_test_folder.reset();
        GuiTest::TearDown();
    }

    void set_rec(bool on) {
        set_widget_active("boton_rec", on);
        process_pending_events();
    }

    void redraw() { redraw_view(widget("gtkglext_modelo3D")); }

    // Runs the main loop for a while, to see that nothing more happens in that time.
    void wait_ms(int ms) { run_until([] { return false; }, std::chrono::milliseconds(ms)); }

    // An image of the last recording.
    bool exists(const std::string& name) {
        return std::filesystem::is_regular_file(recording_state.frames_folder + "/" + name);
    }
};

}  // namespace

TEST_F(RecordingTest, TheCodecListIsFilledAtStartUp) {
    const auto codecs = read_codec_list(build_path("codecs.dat"));
    ASSERT_FALSE(codecs.empty());
    const auto rows = list_rows("clist_codecs_avi");
    ASSERT_EQ(rows.size(), codecs.size());
    EXPECT_EQ(rows[0], "Motion JPEG (mjpeg)");
    EXPECT_EQ(rows.back(), codecs.back().description);
}

TEST_F(RecordingTest, AMissingCodecFileLeavesTheListEmpty) {
    std::filesystem::remove(dir.path("codecs.dat"));
    fill_codec_list();
    EXPECT_TRUE(list_rows("clist_codecs_avi").empty());
}

TEST_F(RecordingTest, SelectACodecMakesTheListAndQualitySensitive) {
    for (const char* name : {"clist_codecs_avi", "label_quality_avi", "hscale_quality_avi"}) EXPECT_FALSE(sensitive(name));
    set_widget_active("check_selcodec_avi", true);
    for (const char* name : {"clist_codecs_avi", "label_quality_avi", "hscale_quality_avi"}) EXPECT_TRUE(sensitive(name));
    set_widget_active("check_selcodec_avi", false);
    for (const char* name : {"clist_codecs_avi", "label_quality_avi", "hscale_quality_avi"}) EXPECT_FALSE(sensitive(name));
}

TEST_F(RecordingTest, TheSaveDialogWritesTheChosenNameIntoTheEntry) {
    click("button_select_avi");
    ASSERT_NE(app_windows.file_selection, nullptr);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(app_windows.file_selection)), "Save file");
    GtkFileSelection* selection = GTK_FILE_SELECTION(app_windows.file_selection);
    gtk_file_selection_set_filename(selection, dir.path("walk.avi").c_str());
    gtk_button_clicked(GTK_BUTTON(selection->ok_button));
    process_pending_events();
    EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(widget("entry_filename_avi"))), dir.path("walk.avi"));
}

TEST_F(RecordingTest, EveryRedrawWhileRecordingWritesTheViewAsTheNextImage) {
    open_small_capture("rec.idf", 3, 4);
    set_widget_value("spin_red_avi", 1.0);
    set_widget_value("spin_green_avi", 0.0);
    set_widget_value("spin_blue_avi", 0.0);
    set_rec(true);
    redraw();
    redraw();
    set_rec(false);
    // A new folder of its own under the temporary folder, and nothing beside the program.
    const std::filesystem::path frames = recording_state.frames_folder;
    EXPECT_EQ(frames.parent_path(), dir.path("tmp"));
    EXPECT_EQ(frames.filename().string().rfind("zemo-frames-", 0), 0u) << frames;
    ASSERT_TRUE(exists("img000000.bmp"));
    ASSERT_TRUE(exists("img000001.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir.path("img000000.bmp")));
    // The script runs in that folder and gets the video's path made absolute.
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], (LaunchRequest{{"ivc.bat", "20", dir.path("TempVideoZemo.avi"), "1"}, frames.string()}));
    const std::string bmp = read_file(frames / "img000000.bmp");
    const int w = view.view_width, h = view.view_height;
    ASSERT_GT(w, 0);
    EXPECT_EQ(w % 4, 0);
    EXPECT_EQ(bmp.size(), 54u + 3u * w * h);
    EXPECT_EQ(u32(bmp, 2), bmp.size());
    EXPECT_EQ(static_cast<int>(u32(bmp, 18)), w);
    EXPECT_EQ(static_cast<int>(u32(bmp, 22)), h);
    // The bottom-left corner shows the background: red, stored blue, green, red.
    EXPECT_EQ(static_cast<unsigned char>(bmp[54]), 0);
    EXPECT_EQ(static_cast<unsigned char>(bmp[55]), 0);
    EXPECT_EQ(static_cast<unsigned char>(bmp[56]), 255);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RecordingTest, TwoRecordingsBothStartAtTheFirstImage) {
    open_small_capture("rec.idf", 3, 4);
    set_rec(true);
    redraw();
    redraw();
    redraw();
    set_rec(false);
    EXPECT_TRUE(exists("img000002.bmp"));
    const int first = recording_state.frame_counter;
    const std::string first_folder = recording_state.frames_folder;
    EXPECT_GE(first, 3);
    set_widget_active("boton_rec", true);
    EXPECT_EQ(recording_state.frame_counter, 0);
    EXPECT_NE(recording_state.frames_folder, first_folder);
    process_pending_events();
    redraw();
    set_rec(false);
    EXPECT_TRUE(exists("img000000.bmp"));
    EXPECT_LT(recording_state.frame_counter, first);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0].folder, first_folder);
    EXPECT_EQ(launched[1].folder, recording_state.frames_folder);
}

TEST_F(RecordingTest, AThreeCharacterNameRecordsTheTemporaryVideo) {
    set_entry_text("entry_filename_avi", "a.v");
    set_rec(true);
    set_rec(false);
    set_entry_text("entry_filename_avi", "`id` $HOME.v");
    set_widget_value("spin_fps_avi", 25.0);
    set_widget_value("spin_kfps_avi", 3.0);
    set_rec(true);
    set_rec(false);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0].argv, (std::vector<std::string>{"ivc.bat", "20", dir.path("TempVideoZemo.avi"), "1"}));
    EXPECT_EQ(launched[1].argv, (std::vector<std::string>{"ivc.bat", "25", dir.path("`id` $HOME.v"), "3"}));
}

TEST_F(RecordingTest, ACodecWithNoSelectedRowIsDib) {
    set_entry_text("entry_filename_avi", "/videos/clip.avi");
    set_widget_active("check_selcodec_avi", true);
    set_rec(true);
    set_rec(false);
    gtk_clist_select_row(GTK_CLIST(widget("clist_codecs_avi")), 1, 0);
    set_widget_value("hscale_quality_avi", 4200.0);
    set_rec(true);
    set_rec(false);
    ASSERT_EQ(launched.size(), 2u);
    // "DIB " is passed without its trailing space.
    EXPECT_EQ(launched[0].argv, (std::vector<std::string>{"iv.bat", "20", "/videos/clip.avi", "1", "DIB", "7500"}));
    EXPECT_EQ(launched[1].argv, (std::vector<std::string>{"iv.bat", "20", "/videos/clip.avi", "1",
                                                          read_codec_list("codecs.dat")[1].code, "4200"}));
}

TEST_F(RecordingTest, TheTickRecordsTheStillPictureEvery66Ms) {
    open_small_capture("rec.idf", 3, 4);
    const auto start = std::chrono::steady_clock::now();
    set_rec(true);
    run_until([] { return recording_state.frame_counter >= 4; }, std::chrono::seconds(2));
    // Stopping may still let a tick that was due run, so the count is read once it has stopped.
    set_rec(false);
    const int recorded = recording_state.frame_counter;
    // A loaded machine can stretch the wait: the bound follows the time that really passed.
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(recorded, 4);
    EXPECT_LE(recorded, waited.count() / 66 + 2) << "in " << waited.count() << " ms";
    wait_ms(200);
    EXPECT_EQ(recording_state.frame_counter, recorded);  // the tick ended with the recording
    for (int n = 0; n < recorded; ++n) EXPECT_TRUE(exists(image_file_name(n))) << n;
}

TEST_F(RecordingTest, StoppingPlaybackWhileRecordingStartsTheTickAgain) {
    open_small_capture("rec.idf", 3, 4);
    set_widget_value("spin_ver_velocidad", -20);  // 40 ms a frame keeps the chain slow
    set_rec(true);
    set_widget_active("boton_play", true);
    run_until([] { return recording_state.frame_counter > 0; }, std::chrono::seconds(2));
    EXPECT_GT(recording_state.frame_counter, 0);  // playback records the frames it shows
    set_widget_active("boton_play", false);
    wait_ms(150);
    const int stopped_at = recording_state.frame_counter;
    run_until([&] { return recording_state.frame_counter - stopped_at >= 3; }, std::chrono::seconds(2));
    EXPECT_GE(recording_state.frame_counter - stopped_at, 3);
    set_rec(false);
}

TEST_F(RecordingTest, AnImageThatCannotBeWrittenIsReportedAndTheNextTakesItsNumber) {
    open_small_capture("rec.idf", 3, 4);
    set_rec(true);
    const std::string next = image_file_name(recording_state.frame_counter);
    const std::string in_the_way = recording_state.frames_folder + "/" + next;
    std::filesystem::create_directory(in_the_way);
    redraw();
    ASSERT_GE(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error opening BMP file");
    std::filesystem::remove(in_the_way);
    redraw();
    // No hole in the numbering: the video script stops at the first missing number.
    EXPECT_TRUE(exists(next));
    set_rec(false);
    EXPECT_EQ(recording_state.recording, 0);
    EXPECT_EQ(launched.size(), 1u);
}

TEST_F(RecordingTest, AFramesFolderThatCannotBeMadeSaysWhyAndNothingIsRecorded) {
    open_small_capture("rec.idf", 3, 4);
    setenv("TMPDIR", dir.path("no such folder").c_str(), 1);
    set_rec(true);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, MESSAGE_ERROR);
    EXPECT_NE(messages[0].text.find(dir.path("no such folder/zemo-frames-")), std::string::npos) << messages[0].text;
    EXPECT_NE(messages[0].text.find("No such file or directory"), std::string::npos) << messages[0].text;
    EXPECT_FALSE(active("boton_rec"));
    EXPECT_EQ(recording_state.recording, 0);
    redraw();
    wait_ms(150);
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("tmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.path("img000000.bmp")));
}
