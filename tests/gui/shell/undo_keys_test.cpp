// Undo and redo as a user meets them: the Edit menu names the step, Ctrl+Z undoes it and
// Ctrl+Y or Ctrl+Shift+Z redo it, except while the focus is in a text entry.
#include <cmath>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "support/gui_fixture.h"

namespace {

std::vector<Sample> mark_samples(int m) {
    return {app.channels[m].samples.get(), app.channels[m].samples.get() + app.num_frames};
}

bool same(const std::vector<Sample>& a, const std::vector<Sample>& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z) return false;
    }
    return a.size() == b.size();
}

struct UndoKeysTest : GuiTest {
    std::string item_label(const char* name) {
        return gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(widget(name)))));
    }
};

}  // namespace

TEST_F(UndoKeysTest, CtrlZUndoesInTheViewButNotInATextEntry) {
    const std::string path = dir.path("wave.idf");
    write_file(path, make_idf_text(100, 3, 200, [](int m, int f, int a) { return 50 * std::sin(0.3 * f + m + a); }));
    focus_main_window();
    open_capture(path);
    EXPECT_EQ(item_label("deshacer1"), "Undo");
    EXPECT_FALSE(sensitive("deshacer1"));

    const std::vector<Sample> opened = mark_samples(1);
    click("boton_herr_suavizar");
    const std::vector<Sample> smoothed = mark_samples(1);
    ASSERT_FALSE(same(opened, smoothed));
    EXPECT_EQ(item_label("deshacer1"), "Undo Smooth");
    EXPECT_TRUE(sensitive("deshacer1"));

    // In the entry the key is the entry's: the capture stays smoothed.
    GtkWidget* entry = widget("entry_goto");
    gtk_widget_grab_focus(entry);
    xdotool("xdotool type 12");
    xdotool("xdotool key ctrl+z");
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(entry)), "12");
    EXPECT_TRUE(same(mark_samples(1), smoothed));

    gtk_window_set_focus(GTK_WINDOW(app_windows.main_window), nullptr);
    xdotool("xdotool key ctrl+z");
    EXPECT_TRUE(same(mark_samples(1), opened));
    EXPECT_NE(history_text().find("Undone: Smooth"), std::string::npos);
    EXPECT_EQ(item_label("deshacer1"), "Undo");
    EXPECT_EQ(item_label("rehacer1"), "Redo Smooth");
    EXPECT_FALSE(app.has_unsaved_work());

    xdotool("xdotool key ctrl+y");
    EXPECT_TRUE(same(mark_samples(1), smoothed));
    EXPECT_TRUE(app.has_unsaved_work());
    xdotool("xdotool key ctrl+z key ctrl+shift+z");
    EXPECT_TRUE(same(mark_samples(1), smoothed));
    EXPECT_NE(history_text().find("Redone: Smooth"), std::string::npos);
}
