// Opening a lab's C3D file through the real Open dialog: the capture is shown, Save writes the
// C3D file back, Save as writes an IDF file, and a file that had to be repaired says so.
#include <sys/stat.h>

#include <filesystem>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "support/gui_fixture.h"

TEST_F(GuiTest, AC3dCaptureOpensSaveWritesItBackAndSaveAsWritesIdf) {
    const std::string path = dir.path("evart.c3d");
    std::filesystem::copy_file(shared_data("c3d/evart.c3d"), path);
    click("boton_herr_abrir");
    ASSERT_NE(app_windows.file_selection, nullptr);
    // The dialog lists every file, not only *.idf ones.
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(GTK_FILE_SELECTION(app_windows.file_selection)->selection_entry)), "*");
    gtk_widget_destroy(app_windows.file_selection);
    open_capture(path);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(label("label_nombre"), "evart.c3d");
    EXPECT_EQ(label("label_frames"), "243");
    EXPECT_EQ(label("label_marcas"), "66");
    EXPECT_EQ(label("label_hz"), "60");
    EXPECT_EQ(label("label_errores"), "2031");
    EXPECT_EQ(label("label_tipo"), "C3D");
    const auto rows = list_rows("list_can");
    ASSERT_EQ(rows.size(), 22u);
    EXPECT_EQ(rows[0], "RSHO");
    EXPECT_EQ(rows[21], "LTOE");
    EXPECT_EQ(history_text(), "The file: " + path + " was opened.\n");

    // Save with nothing changed writes the same file.
    const std::string original = read_file(path);
    click("boton_herr_guardar");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(status_text(), " File Saved Successfully");
    EXPECT_TRUE(read_file(path) == original);

    click("guardar_como1");
    ASSERT_NE(app_windows.file_selection, nullptr);
    const std::string saved = dir.path("evart.idf");
    gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), saved.c_str());
    gtk_button_clicked(GTK_BUTTON(GTK_FILE_SELECTION(app_windows.file_selection)->ok_button));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(status_text(), " File Saved Successfully");
    EXPECT_TRUE(read_file(saved) == read_file(shared_data("evart.idf")));
    EXPECT_TRUE(read_file(path) == original);

    // The IDF written opens as a layer of its own, the same capture.
    open_capture(saved);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(app.current_layer, 2);
    EXPECT_EQ(app.source_format, CaptureFormat::idf);
    EXPECT_EQ(label("label_errores"), "2031");
    EXPECT_EQ(label("label_tipo"), "IDF");
}

TEST_F(GuiTest, AFifoNamedInTheOpenDialogGivesABoxAndTheLayersStay) {
    const std::string walk = open_small_capture("walk.idf", 2, 5);
    const std::string fifo = dir.path("capture.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    open_capture(fifo);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error opening file:\n " + fifo + "\n not a regular file");
    EXPECT_EQ(app.open_count, 1);
    EXPECT_EQ(app.file_name, walk);
    EXPECT_EQ(label("label_nombre"), "walk.idf");
}

TEST_F(GuiTest, AC3dFileThatHadToBeRepairedOpensAndTheStatusBarSaysWhatWasWrong) {
    open_capture(shared_data("c3d-suite/Dance.c3d"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(label("label_frames"), "499");
    const std::string status = status_text();
    EXPECT_EQ(status.rfind(" File opened with repairs: POINT:DATA_START is 0; the header's data start (block 8) was used.",
                           0),
              0u)
        << status;
    EXPECT_NE(status.find("FORCE_PLATFORM:USED is missing"), std::string::npos) << status;
}
