// The " Gaps " page through its widgets: the rows, going to a row, sorting, the fill dialog's
// preview, Cancel and Apply, Fill all and Cut.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/scene/fill_preview.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/fill_dialog.h"
#include "support/gui_fixture.h"

namespace {

struct GapsPageTest : GuiTest {
    // Four marks 100 apart on smooth paths at 100 Hz: RASI loses frames 20..24, SACR frame 40,
    // LKNE is 90 off its path on frame 60.
    void open_gappy() {
        const std::string path = dir.path("gaps.idf");
        write_file(path, make_idf_text(100, 4, 100, [](int m, int f, int a) {
                       if ((m == 1 && f >= 20 && f <= 24) || (m == 2 && f == 40)) return LOST_VALUE;
                       return 100.0 * m * (a == 0) + 200 * std::sin(0.04 * f + m + a) + (m == 3 && f == 60 && a == 1 ? 90 : 0);
                   }, {"LASI", "RASI", "SACR", "LKNE"}));
        open_capture(path);
        gtk_notebook_set_current_page(GTK_NOTEBOOK(widget("notebook_edicion")), 2);
        process_pending_events();
    }

    GtkTreeView* view() { return GTK_TREE_VIEW(widget("treeview_gap")); }

    // The rows as "MARK FIRST LAST FRAMES KIND", in the order shown.
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        GtkTreeModel* model = gtk_tree_view_get_model(view());
        GtkTreeIter iter;
        for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more; more = gtk_tree_model_iter_next(model, &iter)) {
            gchar *mark = nullptr, *kind = nullptr;
            gint first = 0, last = 0, frames = 0;
            gtk_tree_model_get(model, &iter, 0, &mark, 1, &first, 2, &last, 3, &frames, 5, &kind, -1);
            out.push_back(std::string(mark) + " " + std::to_string(first) + " " + std::to_string(last) + " " +
                          std::to_string(frames) + " " + kind);
            g_free(mark);
            g_free(kind);
        }
        return out;
    }

    void select_row(int index) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(index, -1);
        gtk_tree_view_set_cursor(view(), path, nullptr, FALSE);
        gtk_tree_path_free(path);
        process_pending_events();
    }

    std::string bytes_of(int mark) {
        const Channel& c = app.channels[mark];
        std::string bytes(reinterpret_cast<const char*>(c.samples.get()), app.num_frames * sizeof(Sample));
        for (int f = 0; f < app.num_frames; ++f) bytes += static_cast<char>(c.origin(f));
        return bytes;
    }
};

}  // namespace

TEST_F(GapsPageTest, ListsGapsAndSuspectsGoesToARowAndSorts) {
    open_gappy();
    EXPECT_EQ(rows(), (std::vector<std::string>{"RASI 20 24 5 gap", "SACR 40 40 1 gap", "LKNE 60 60 1 jump"}));
    select_row(2);
    EXPECT_EQ(value("hscale_frame"), 60);
    EXPECT_EQ(option_position("option_mar_marcas"), 3);
    select_row(0);
    EXPECT_EQ(value("hscale_frame"), 20);
    EXPECT_EQ(option_position("option_mar_marcas"), 1);

    // A click on the "Frames" header sorts by length.
    gtk_tree_view_column_clicked(gtk_tree_view_get_column(view(), 3));
    process_pending_events();
    EXPECT_EQ(rows().back(), "RASI 20 24 5 gap");

    // Cut on the jump row makes it lost, and the list follows.
    gtk_tree_view_column_clicked(gtk_tree_view_get_column(view(), 1));
    process_pending_events();
    select_row(2);
    click("boton_gap_cut");
    EXPECT_TRUE(is_lost(app.channels[3].samples[60].y));
    EXPECT_EQ(rows().back(), "LKNE 60 60 1 gap");
}

TEST_F(GapsPageTest, PreviewThenCancelChangesNothingAndApplyFills) {
    open_gappy();
    select_row(0);
    const std::string before = bytes_of(1);
    click("boton_gap_fill");
    ASSERT_NE(fill_dialog(), nullptr);
    ASSERT_TRUE(fill_preview().active());
    EXPECT_EQ(fill_preview().mark, 1);
    EXPECT_EQ(fill_preview().first, 20);
    EXPECT_EQ(fill_preview().values.size(), 5u);
    // Another method previews again.
    set_option_position(fill_dialog(), "optionmenu_fill_method", 3);
    process_pending_events();
    const double linear = fill_preview().values[2].x;
    EXPECT_NEAR(linear, (app.channels[1].samples[19].x + app.channels[1].samples[25].x) / 2, 1e-6);

    // "marks" with the donors chosen here: the three marks seen across the gap.
    set_option_position(fill_dialog(), "optionmenu_fill_method", 2);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(find_widget(fill_dialog(), "radiobutton_fill_chosen")), TRUE);
    process_pending_events();
    EXPECT_TRUE(gtk_widget_is_sensitive(find_widget(fill_dialog(), "optionmenu_fill_donor3")));
    const std::string said = gtk_label_get_text(GTK_LABEL(find_widget(fill_dialog(), "label_fill_preview")));
    EXPECT_NE(said.find("rigid:"), std::string::npos) << said;
    for (const char* donor : {"LASI", "SACR", "LKNE"}) EXPECT_NE(said.find(donor), std::string::npos) << said;

    gtk_dialog_response(GTK_DIALOG(fill_dialog()), GTK_RESPONSE_CANCEL);
    process_pending_events();
    EXPECT_EQ(fill_dialog(), nullptr);
    EXPECT_FALSE(fill_preview().active());
    EXPECT_EQ(bytes_of(1), before);
    EXPECT_FALSE(app.samples_changed);

    click("boton_gap_fill");
    set_option_position(fill_dialog(), "optionmenu_fill_method", 3);
    gtk_dialog_response(GTK_DIALOG(fill_dialog()), GTK_RESPONSE_APPLY);
    process_pending_events();
    EXPECT_FALSE(fill_preview().active());
    EXPECT_DOUBLE_EQ(app.channels[1].samples[22].x, linear);
    EXPECT_NE(app.channels[1].origin(22), SampleOrigin::measured);
    EXPECT_EQ(rows()[0], "RASI 20 24 5 filled");
    EXPECT_EQ(rows()[1], "SACR 40 40 1 gap");

    // "Fill all" fills what is left, up to the max gap; the jump stays listed, the fills beside it.
    click("boton_gap_fill_all");
    EXPECT_EQ(rows(), (std::vector<std::string>{"RASI 20 24 5 filled", "SACR 40 40 1 filled", "LKNE 60 60 1 jump"}));
}
