// The gap list's widgets and handlers: the rows come from the engine's gap list, the buttons call
// the cut and the fills, and the page refreshes with the samples.
#include "gui/pages/gaps_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/history/undo_step.h"
#include "engine/model/seams.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/suspect_stretches.h"
#include "gui/gl/capture_view.h"
#include "gui/gl/mark_picking.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/curve_preview.h"
#include "gui/pages/fill_dialog.h"
#include "gui/pages/picked_mark.h"

namespace {

enum Column { MARK_NAME, FIRST, LAST, FRAMES, SECONDS, KIND_NAME, ESTIMATE, MARK, KIND, COLUMNS };

// Frames shown on each side of a row framed in the view or on the curve.
constexpr int FRAMED_MARGIN = 10;

// Rebuilding the rows clears the selection; that must not move the frame.
bool refreshing = false;
// The detector reads the whole capture, so the rows are rebuilt only while the page is shown;
// a change while it is hidden waits for the page to be shown.
bool stale = false;

bool page_shown() {
    GtkWidget* notebook = main_widget("notebook_edicion");
    GtkWidget* page = main_widget("frame_gap");
    return notebook && page &&
           gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook)) == gtk_notebook_page_num(GTK_NOTEBOOK(notebook), page);
}

GtkTreeView* list_view() {
    GtkWidget* widget = main_widget("treeview_gap");
    return widget ? GTK_TREE_VIEW(widget) : nullptr;
}

GapRow row_at(GtkTreeModel* model, GtkTreeIter* iter) {
    gint mark = 0, first = 0, last = 0, kind = 0;
    gtk_tree_model_get(model, iter, MARK, &mark, FIRST, &first, LAST, &last, KIND, &kind, -1);
    return {mark, first, last, static_cast<GapRowKind>(kind)};
}

// The seconds and the estimated error of a filled gap are shown with two decimals; a row with no
// estimate shows nothing.
void show_decimal(GtkTreeViewColumn*, GtkCellRenderer* cell, GtkTreeModel* model, GtkTreeIter* iter, gpointer column) {
    gdouble value = 0;
    gtk_tree_model_get(model, iter, GPOINTER_TO_INT(column), &value, -1);
    char text[32] = "";
    if (!std::isnan(value)) std::snprintf(text, sizeof text, "%.2f", value);
    g_object_set(cell, "text", text, nullptr);
}

void add_column(GtkTreeView* view, const char* title, int column, bool number) {
    GtkCellRenderer* cell = gtk_cell_renderer_text_new();
    if (number) g_object_set(cell, "xalign", 1.0, nullptr);
    GtkTreeViewColumn* shown = gtk_tree_view_column_new_with_attributes(title, cell, "text", column, nullptr);
    if (column == SECONDS || column == ESTIMATE) {
        gtk_tree_view_column_set_attributes(shown, cell, nullptr);
        gtk_tree_view_column_set_cell_data_func(shown, cell, show_decimal, GINT_TO_POINTER(column), nullptr);
    }
    gtk_tree_view_column_set_sort_column_id(shown, column);
    gtk_tree_view_column_set_resizable(shown, TRUE);
    gtk_tree_view_append_column(view, shown);
}

// The row under the cursor when it is selected, else the first selected row.
bool chosen_row(GapRow& row) {
    GtkTreeView* view = list_view();
    if (!view) return false;
    GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
    GtkTreeModel* model = gtk_tree_view_get_model(view);
    GtkTreePath* cursor = nullptr;
    gtk_tree_view_get_cursor(view, &cursor, nullptr);
    GtkTreeIter iter;
    bool found = false;
    if (cursor && gtk_tree_selection_path_is_selected(selection, cursor) && gtk_tree_model_get_iter(model, &iter, cursor)) {
        row = row_at(model, &iter);
        found = true;
    }
    if (cursor) gtk_tree_path_free(cursor);
    if (found) return true;
    const std::vector<GapRow> rows = selected_gap_rows();
    if (rows.empty()) return false;
    row = rows.front();
    return true;
}

// Selecting a row goes to its first frame and its mark.
void selection_changed(GtkTreeSelection*, gpointer) {
    GapRow row;
    if (refreshing || app.current_layer == 0 || !chosen_row(row)) return;
    const int slider = row.first - placement_from_widgets().initial_frame;
    set_widget_value("hscale_frame", slider < 0 ? 0 : slider);
    show_mark_on_pages(row.mark, false);
    // The " Marks " curve shows the row's frames and some on each side, where a fill's preview
    // is drawn.
    set_widget_value("spinbutton_mar_origen", std::max(0, row.first - FRAMED_MARGIN));
    set_widget_value("spinbutton_mar_destino", std::min(app.num_frames - 1, row.last + FRAMED_MARGIN));
    pick_mark(row.mark);
}

void row_activated(GtkTreeView* view, GtkTreePath* path, GtkTreeViewColumn*, gpointer) {
    GtkTreeIter iter;
    GtkTreeModel* model = gtk_tree_view_get_model(view);
    if (!gtk_tree_model_get_iter(model, &iter, path)) return;
    const GapRow row = row_at(model, &iter);
    frame_mark_frames(row.mark, row.first, row.last, std::max(FRAMED_MARGIN, row.frames()));
}

void clear_rows() {
    GtkTreeView* view = list_view();
    if (!view) return;
    refreshing = true;
    gtk_list_store_clear(GTK_LIST_STORE(gtk_tree_view_get_model(view)));
    refreshing = false;
}

}  // namespace

GtkWidget* gaps_list_new() {
    GtkListStore* store = gtk_list_store_new(COLUMNS, G_TYPE_STRING, G_TYPE_INT, G_TYPE_INT, G_TYPE_INT, G_TYPE_DOUBLE,
                                             G_TYPE_STRING, G_TYPE_DOUBLE, G_TYPE_INT, G_TYPE_INT);
    GtkWidget* widget = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
    g_object_unref(store);
    GtkTreeView* view = GTK_TREE_VIEW(widget);
    add_column(view, "Mark", MARK_NAME, false);
    add_column(view, "First", FIRST, true);
    add_column(view, "Last", LAST, true);
    add_column(view, "Frames", FRAMES, true);
    add_column(view, "Seconds", SECONDS, true);
    add_column(view, "Kind", KIND_NAME, false);
    add_column(view, "Estimated error", ESTIMATE, true);
    gtk_tree_view_set_rules_hint(view, TRUE);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(view), GTK_SELECTION_MULTIPLE);
    return widget;
}

void clear_gaps_page() {
    fill_dialog_follow_samples();
    clear_rows();
}

void refresh_gaps_page() {
    fill_dialog_follow_samples();
    GtkTreeView* view = list_view();
    if (!view) return;
    if (!page_shown()) {
        stale = true;
        return;
    }
    stale = false;
    clear_rows();
    if (app.current_layer == 0) return;
    GtkListStore* store = GTK_LIST_STORE(gtk_tree_view_get_model(view));
    refreshing = true;
    for (const GapRow& row : gap_list(app)) {
        GtkTreeIter iter;
        gtk_list_store_append(store, &iter);
        gtk_list_store_set(store, &iter, MARK_NAME, app.channels[row.mark].name_text().c_str(), FIRST, row.first, LAST,
                           row.last, FRAMES, row.frames(), SECONDS, gap_row_seconds(app, row), KIND_NAME,
                           gap_row_kind_name(row.kind), ESTIMATE, row.estimated_error, MARK, row.mark, KIND, static_cast<int>(row.kind), -1);
    }
    refreshing = false;
}

std::vector<GapRow> selected_gap_rows() {
    std::vector<GapRow> rows;
    GtkTreeView* view = list_view();
    if (!view) return rows;
    GtkTreeModel* model = gtk_tree_view_get_model(view);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
    GtkTreeIter iter;
    for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more; more = gtk_tree_model_iter_next(model, &iter)) {
        if (gtk_tree_selection_iter_is_selected(selection, &iter)) rows.push_back(row_at(model, &iter));
    }
    return rows;
}

void cut_selected_stretches() {
    if (app.current_layer == 0) return;
    std::vector<SuspectStretch> stretches;
    for (const GapRow& row : selected_gap_rows()) {
        if (row.kind != GapRowKind::jump && row.kind != GapRowKind::swap) continue;
        stretches.push_back({row.mark, row.first, row.last, row.kind == GapRowKind::jump ? SuspectKind::jump : SuspectKind::swap});
    }
    if (stretches.empty()) {
        show_message("Select the suspect stretches to cut (rows of kind jump or swap).", MESSAGE_INFO, BUTTONS_OK);
        return;
    }
    int samples = 0;
    {
        UndoStep step(app, "Cut");
        for (const SuspectStretch& stretch : stretches) step.keep(stretch.mark, stretch.first, stretch.last);
        SampleChangeBatch batch;
        for (const SuspectStretch& stretch : stretches) samples += cut_stretch(app, stretch);
    }
    char text[160];
    std::snprintf(text, sizeof text, "Cut %d suspect stretches: %d samples made lost\n", static_cast<int>(stretches.size()),
                  samples);
    history_append(text);
    status_set(std::string(text, std::strlen(text) - 1));
    set_label_text("label_errores", std::to_string(app.error_count));
}

void fill_all_gaps() {
    if (app.current_layer == 0) return;
    const std::vector<int> marks = all_channels(app);
    UndoStep step(app, "Fill all");
    step.keep_marks(marks, 0, app.num_frames - 1);
    run_fill(app, 0, app.num_frames - 1, marks, FillMethod::automatic, widget_rounded("spinbutton_can_maxgap"));
    set_label_text("label_errores", std::to_string(app.error_count));
}

void connect_gaps_page(GtkWidget* window) {
    GtkWidget* view = find_widget(window, "treeview_gap");
    g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), "changed", G_CALLBACK(selection_changed), nullptr);
    g_signal_connect(view, "row-activated", G_CALLBACK(row_activated), nullptr);
    g_signal_connect_swapped(find_widget(window, "boton_gap_fill"), "clicked", G_CALLBACK(open_fill_dialog), nullptr);
    g_signal_connect_swapped(find_widget(window, "boton_gap_fill_all"), "clicked", G_CALLBACK(fill_all_gaps), nullptr);
    g_signal_connect_swapped(find_widget(window, "boton_gap_cut"), "clicked", G_CALLBACK(cut_selected_stretches), nullptr);
    connect_curve_preview(find_widget(window, "curve_mar"));
    g_signal_connect_after(find_widget(window, "notebook_edicion"), "switch-page",
                           G_CALLBACK(+[](GtkNotebook*, gpointer, guint, gpointer) {
                               if (stale) refresh_gaps_page();
                           }),
                           nullptr);
}
