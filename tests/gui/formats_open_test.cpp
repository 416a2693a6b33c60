// Opening a lab's C3D file through the real Open dialog: the capture is shown, Save refuses to
// put IDF text over it, and Save as writes an IDF file.
#include <sys/stat.h>

#include <filesystem>

#include "app/app_windows.h"
#include "core/capture_model.h"
#include "core/idf_reader.h"
#include "gui/gui_fixture.h"

TEST_F(GuiTest, AC3dCaptureOpensSaveRefusesAndSaveAsWritesIdf) {
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

    const std::string original = read_file(path);
    click("boton_herr_guardar");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("read from a C3D file: Save would replace it with IDF text. Use Save as"),
              std::string::npos);
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_TRUE(read_file(path) == original);

    click("guardar_como1");
    ASSERT_NE(app_windows.file_selection, nullptr);
    const std::string saved = dir.path("evart.idf");
    gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), saved.c_str());
    gtk_button_clicked(GTK_BUTTON(GTK_FILE_SELECTION(app_windows.file_selection)->ok_button));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(status_text(), " File Saved Successfully");
    EXPECT_TRUE(read_file(saved) == read_file(shared_data("evart.idf")));
    EXPECT_TRUE(read_file(path) == original);

    // The IDF written opens as a layer of its own, the same capture.
    open_capture(saved);
    EXPECT_EQ(messages.size(), 1u);
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
