// What a desktop program is expected to do with files: captures dragged from another window open
// as layers, File > Recent lists the captures opened last and reopens them, and the Open dialog
// starts in the folder of the capture opened last.
#include <gtk/gtk.h>

#include <filesystem>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/shell/capture_opening.h"
#include "support/gui_fixture.h"

namespace {

// A window standing for a file manager: dragging from its button offers `uris`.
GtkWidget* drag_source_window(const std::string& uris) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    // A window of another program: the modal main window does not hold its events.
    GtkWindowGroup* group = gtk_window_group_new();
    gtk_window_group_add_window(group, GTK_WINDOW(window));
    g_object_unref(group);
    GtkWidget* button = gtk_button_new_with_label("captures");
    gtk_container_add(GTK_CONTAINER(window), button);
    static const GtkTargetEntry uri_list[] = {{const_cast<gchar*>("text/uri-list"), 0, 0}};
    gtk_drag_source_set(button, GDK_BUTTON1_MASK, uri_list, 1, GDK_ACTION_COPY);
    auto* text = new std::string(uris);
    g_signal_connect(button, "drag-data-get",
                     G_CALLBACK(+[](GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer text) {
                         const auto* list = static_cast<std::string*>(text);
                         gtk_selection_data_set(data, gdk_atom_intern("text/uri-list", FALSE), 8,
                                                reinterpret_cast<const guchar*>(list->data()), int(list->size()));
                     }),
                     text);
    g_signal_connect_swapped(window, "destroy", G_CALLBACK(+[](gpointer text) { delete static_cast<std::string*>(text); }),
                             text);
    gtk_widget_set_size_request(window, 120, 60);
    gtk_window_move(GTK_WINDOW(window), 880, 680);
    gtk_widget_show_all(window);
    gdk_window_raise(window->window);
    return window;
}

std::string uri_of(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string text = uri;
    g_free(uri);
    return text;
}

}  // namespace

TEST_F(GuiTest, DroppedCapturesOpenAsLayersAndRecentReopensThem) {
    std::filesystem::create_directories(dir.path("trials"));
    const std::string walk = dir.path("trials/walk.idf"), gait = dir.path("trials/gait raw.idf");
    std::filesystem::copy_file(shared_data("evart.idf"), walk);
    std::filesystem::copy_file(shared_data("gait-raw.idf"), gait);
    write_file(dir.path("trials/notes.txt"), "not a capture\n");

    focus_main_window();
    GtkWidget* source = drag_source_window(uri_of(walk) + "\r\n" + uri_of(dir.path("trials/notes.txt")) + "\r\n" +
                                           uri_of(gait) + "\r\n");
    settle();
    GtkWidget* button = gtk_bin_get_child(GTK_BIN(source));
    const auto from = on_screen(button, 30, 30);
    const auto to = on_screen(widget("statusbar_principal"), 20, 5);
    auto move = [&](int x, int y) { xdotool("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); };
    move(from.first, from.second);
    xdotool("xdotool mousedown 1");
    for (int step = 1; step <= 4; ++step) move(from.first - 10 * step, from.second - 10 * step);
    move(to.first, to.second);
    move(to.first + 5, to.second + 5);
    xdotool("xdotool mouseup 1");
    for (int i = 0; i < 100 && app.open_count < 2; ++i) settle();
    gtk_widget_destroy(source);

    EXPECT_EQ(app.open_count, 2);
    EXPECT_EQ(label("label_nombre"), "gait raw.idf");
    ASSERT_EQ(messages.size(), 1u);  // the text file is named in its message
    EXPECT_NE(messages[0].text.find("notes.txt"), std::string::npos) << messages[0].text;

    // Newest first, by name.
    ASSERT_GE(recent_captures().size(), 2u);
    EXPECT_EQ(recent_captures()[0], gait);
    EXPECT_EQ(recent_captures()[1], walk);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(widget("recent_capture_2"))))), "walk.idf");
    click("recent_capture_2");
    EXPECT_EQ(app.open_count, 3);
    EXPECT_EQ(label("label_nombre"), "walk.idf");
    EXPECT_EQ(recent_captures()[0], walk);

    // A capture that has gone since says so and leaves the list.
    const size_t remembered = recent_captures().size();
    std::filesystem::remove(gait);
    click("recent_capture_2");
    EXPECT_EQ(messages.back().text, "Error opening file:\n " + gait + "\n The file is no longer there.");
    EXPECT_EQ(recent_captures().size(), remembered - 1);
    EXPECT_EQ(recent_captures()[0], walk);
    EXPECT_EQ(app.open_count, 3);

    // The Open dialog starts where the last capture came from.
    click("boton_herr_abrir");
    ASSERT_NE(app_windows.file_selection, nullptr);
    const std::string shown = gtk_file_selection_get_filename(GTK_FILE_SELECTION(app_windows.file_selection));
    EXPECT_EQ(shown, dir.path("trials/*"));
}
