// What the user is told: one box per command however many messages it has, the status bar after
// a failed Open or Save, and the file's information gone with the last Close.
#include <gdk/gdk.h>

#include <string>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

const std::string TOO_MUCH = "Too Much Errors.\n It's impossible to interpolate.";

struct MessagesTest : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
    }

    // A click as the user makes it: the pointer moves onto the button, which is pressed and
    // released through the X server and GDK's own event handling.
    void press(const char* name) {
        GtkWidget* item = widget(name);
        GtkWidget* button = GTK_IS_TOOL_BUTTON(item) ? gtk_bin_get_child(GTK_BIN(item)) : item;
        GdkWindow* window = GTK_BUTTON(button)->event_window;
        const int x = button->allocation.width / 2, y = button->allocation.height / 2;
        gdk_window_raise(app_windows.main_window->window);  // nothing else may be under the pointer
        const size_t before = messages.size();
        for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
            ASSERT_TRUE(gdk_test_simulate_button(window, x, y, 1, GdkModifierType(0), type));
        }
        // The events come back from the server: wait until the command has reported.
        run_until([&] { return messages.size() != before; }, std::chrono::seconds(2));
    }

    int count(const std::string& text, const std::string& part) {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }
};

}  // namespace

TEST_F(MessagesTest, OneCommandShowsOneBoxForAllItsMessages) {
    // Mark B is never seen in 1000 frames: each of its 11 pieces (100 frames, then 99 each) fails
    // on each axis, 33 messages, and the result makes 34.
    const std::string path = dir.path("lost.idf");
    write_file(path, make_idf_text(100, 2, 1000, [](int m, int f, int a) { return m == 1 ? LOST_VALUE : f + a; }));
    open_capture(path);
    press("boton_herr_interpolar");
    ASSERT_EQ(messages.size(), 1u);
    std::string first_twenty = TOO_MUCH;
    for (int n = 1; n < 20; ++n) first_twenty += "\n" + TOO_MUCH;
    // The result follows the first twenty problems: a flood must not hide it.
    EXPECT_EQ(messages[0].text, first_twenty + "\n… and 13 more\n\nError Correction Finished.\nNumber of corrected "
                                               "errors of file: 0.\nThere're 3000 errors not corrected");
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_EQ(messages[0].buttons, 2);
    // All 34 are in the history log.
    const std::string history = history_text();
    EXPECT_EQ(count(history, TOO_MUCH + "\n"), 33);
    EXPECT_NE(history.find("Error Correction Finished.\nNumber of corrected errors of file: 0.\n"
                           "There're 3000 errors not corrected\n"),
              std::string::npos);

    // A command with one message shows it as it always did, and logs only its own line.
    open_small_capture("whole.idf", 2, 10);
    messages.clear();
    press("boton_herr_interpolar");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error Correction Finished.\nNumber of corrected errors of file: 0.\nThere're 0 errors not corrected");
    EXPECT_EQ(messages[0].type, 0);
    EXPECT_EQ(messages[0].buttons, 1);
    EXPECT_EQ(count(history_text(), "Error Correction Finished."), 1);
}

TEST_F(MessagesTest, AFailedOpenOrSaveAsLeavesTheErrorOnTheStatusBar) {
    open_small_capture("good.idf", 2, 5);
    // The header is read, so the data were being read when the file was refused.
    const std::string bad = dir.path("short.idf");
    write_file(bad, make_idf_text(100, 2, 10, [](int, int f, int) { return f; }).substr(0, 200));
    open_capture(bad);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text.rfind("Error opening file:\n " + bad + "\n", 0), 0u) << messages[0].text;
    EXPECT_EQ(status_text(), "Error opening file:");

    click("guardar_como1");
    ASSERT_NE(app_windows.file_selection, nullptr);
    const std::string nowhere = dir.path("missing/out.idf");
    gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), nowhere.c_str());
    gtk_button_clicked(GTK_BUTTON(GTK_FILE_SELECTION(app_windows.file_selection)->ok_button));
    process_pending_events();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text.rfind("Error saving file:\n", 0), 0u) << messages[1].text;
    EXPECT_EQ(status_text(), "Error saving file:");
}

TEST_F(MessagesTest, TheLastCloseEmptiesTheFileInformationAndTheSkeleton) {
    open_capture(shared_data("evart.idf"));
    click("boton_hue_abrir");
    ASSERT_NE(app_windows.file_selection, nullptr);
    gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), shared_data("evart.bon").c_str());
    gtk_button_clicked(GTK_BUTTON(GTK_FILE_SELECTION(app_windows.file_selection)->ok_button));
    process_pending_events();
    ASSERT_EQ(gtk_entry_get_text(GTK_ENTRY(widget("entry_hue_fichero"))), std::string("evart.bon"));
    ASSERT_FALSE(list_rows("clist_hue_huesos").empty());
    ASSERT_FALSE(label("label_frames").empty());

    click("boton_herr_cerrar");
    ASSERT_EQ(app.open_count, 0);
    for (const char* name : {"label_nombre", "label_frames", "label_primer_frame", "label_marcas", "label_hz",
                             "label_analogicos", "label_tipo", "label_errores"}) {
        EXPECT_EQ(label(name), "") << name;
    }
    EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(widget("entry_hue_fichero"))), std::string());
    EXPECT_TRUE(list_rows("clist_hue_marcas").empty());
    EXPECT_TRUE(list_rows("clist_hue_huesos").empty());
}
