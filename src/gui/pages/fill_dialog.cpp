// The fill dialog's widgets and handlers: each change of method or donors works the first gap's
// fill out again (without writing) into the preview; Apply writes the fills with their origins.
#include "gui/pages/fill_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/history/undo_step.h"
#include "engine/model/seams.h"
#include "engine/processing/single_gap_fill.h"
#include "engine/scene/fill_preview.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/menus.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/kit/window_builder.h"
#include "gui/pages/gaps_page.h"

namespace {

// The methods in the order of the menu.
const FillMethod METHODS[] = {FillMethod::automatic, FillMethod::spline, FillMethod::rigid, FillMethod::linear};
const char* const DONOR_MENUS[] = {"optionmenu_fill_donor1", "optionmenu_fill_donor2", "optionmenu_fill_donor3"};

struct DialogState {
    GtkWidget* window = nullptr;
    int layer = 0;
    std::vector<GapRow> gaps;
    std::vector<int> candidates;  // the marks the user may choose as donors, best first
};
DialogState state;

FillMethod chosen_method() {
    const int position = option_position(state.window, "optionmenu_fill_method");
    return position >= 0 && position < 4 ? METHODS[position] : FillMethod::automatic;
}

// Empty: the fill chooses the donors.
std::vector<int> chosen_donors() {
    if (chosen_method() != FillMethod::rigid || !widget_active(state.window, "radiobutton_fill_chosen")) return {};
    std::vector<int> donors;
    for (const char* menu : DONOR_MENUS) {
        const int position = option_position(state.window, menu);
        if (position >= 0 && position < static_cast<int>(state.candidates.size())) donors.push_back(state.candidates[position]);
    }
    return donors;
}

// The marks seen across every selected gap, in the order the first gap ranks them.
std::vector<int> shared_candidates(const std::vector<GapRow>& gaps) {
    std::vector<int> shared = donor_candidates(app, gaps[0].mark, gaps[0].first, gaps[0].last);
    for (size_t i = 1; i < gaps.size(); ++i) {
        const std::vector<int> more = donor_candidates(app, gaps[i].mark, gaps[i].first, gaps[i].last);
        std::erase_if(shared, [&more](int m) { return std::find(more.begin(), more.end(), m) == more.end(); });
    }
    return shared;
}

void set_dialog_label(const char* name, const std::string& text) {
    if (GtkWidget* label = find_widget(state.window, name)) gtk_label_set_text(GTK_LABEL(label), text.c_str());
}

std::string gap_text(const GapRow& gap) {
    return app.channels[gap.mark].name_text() + " " + std::to_string(gap.first) + "-" + std::to_string(gap.last);
}

void close_dialog();

void update_preview() {
    if (!state.window) return;
    // The gaps belong to the layer the dialog was opened on; with another one current they mean
    // nothing.
    if (state.layer != app.current_layer) {
        close_dialog();
        return;
    }
    const bool marks = chosen_method() == FillMethod::rigid;
    const bool choosing = marks && state.candidates.size() >= 3;
    gtk_widget_set_sensitive(find_widget(state.window, "radiobutton_fill_auto"), marks);
    gtk_widget_set_sensitive(find_widget(state.window, "radiobutton_fill_chosen"), choosing);
    const bool menus = choosing && widget_active(state.window, "radiobutton_fill_chosen");
    for (const char* menu : DONOR_MENUS) gtk_widget_set_sensitive(find_widget(state.window, menu), menus);

    const GapRow& gap = state.gaps.front();
    const GapFillResult fill = fill_one_gap(app, gap.mark, gap.first, gap.last, chosen_method(), chosen_donors());
    FillPreview& preview = fill_preview();
    preview.clear();
    std::string text = "Preview of " + gap_text(gap) + ": ";
    if (fill.filled) {
        preview = {state.layer, gap.mark, gap.first, fill.values};
        text += fill.method;
        if (!std::isnan(fill.estimated_error)) {
            char error[64];
            std::snprintf(error, sizeof error, ", estimated error %.2f", fill.estimated_error);
            text += error;
        }
    } else {
        text += "not filled, " + fill.reason;
    }
    set_dialog_label("label_fill_preview", text);
    request_redraw();
    if (GtkWidget* curve = main_widget("curve_mar")) gtk_widget_queue_draw(curve);
}

void close_dialog() {
    fill_preview().clear();
    request_redraw();
    if (GtkWidget* curve = main_widget("curve_mar")) gtk_widget_queue_draw(curve);
    GtkWidget* window = state.window;
    state = DialogState{};
    if (window) gtk_widget_destroy(window);
}

GtkWidget* build_dialog() {
    // Not modal: the user may look at the " Marks " curve while the preview is shown.
    GtkWidget* window = gtk_dialog_new_with_buttons("Fill", GTK_WINDOW(app_windows.main_window), GtkDialogFlags{},
                                                    "Cancel", GTK_RESPONSE_CANCEL, "Apply", GTK_RESPONSE_APPLY, nullptr);
    WindowBuilder b(window);
    GtkWidget* automatic = b.radio("radiobutton_fill_auto", "Donors chosen automatically", nullptr, true);
    GtkWidget* box = gtk_vbox_new(FALSE, 4);
    gtk_container_set_border_width(GTK_CONTAINER(box), 6);
    pack(box, b.label("label_fill_gaps", "", 0));
    pack(box, row({text_label("Method "), b.option_menu("optionmenu_fill_method", {"auto", "spline", "marks", "linear"})}));
    pack(box, automatic);
    pack(box, b.radio("radiobutton_fill_chosen", "Donors chosen here", automatic));
    pack(box, row({b.option_menu(DONOR_MENUS[0]), b.option_menu(DONOR_MENUS[1]), b.option_menu(DONOR_MENUS[2])}));
    pack(box, b.label("label_fill_preview", "", 0));
    gtk_widget_show(box);
    gtk_box_pack_start(GTK_BOX(GTK_DIALOG(window)->vbox), box, TRUE, TRUE, 0);
    // Destroyed with the main window, the dialog leaves no preview behind.
    gtk_window_set_destroy_with_parent(GTK_WINDOW(window), TRUE);
    g_signal_connect(window, "destroy", G_CALLBACK(+[](GtkWidget* widget, gpointer) {
                         if (state.window != widget) return;
                         fill_preview().clear();
                         state = DialogState{};
                     }),
                     nullptr);
    return window;
}

void connect_dialog(GtkWidget* window) {
    g_signal_connect(window, "response", G_CALLBACK(+[](GtkDialog*, gint response, gpointer) {
                         if (response == GTK_RESPONSE_APPLY) {
                             fill_dialog_apply();
                         } else {
                             fill_dialog_cancel();
                         }
                     }),
                     nullptr);
    const auto changed = G_CALLBACK(+[](GtkWidget*, gpointer) { update_preview(); });
    g_signal_connect(find_widget(window, "optionmenu_fill_method"), "changed", changed, nullptr);
    g_signal_connect(find_widget(window, "radiobutton_fill_chosen"), "toggled", changed, nullptr);
    for (const char* menu : DONOR_MENUS) g_signal_connect(find_widget(window, menu), "changed", changed, nullptr);
}

}  // namespace

void open_fill_dialog() {
    if (app.current_layer == 0) return;
    std::vector<GapRow> gaps = selected_gap_rows();
    std::erase_if(gaps, [](const GapRow& row) { return row.kind != GapRowKind::gap; });
    if (gaps.empty()) {
        show_message("Select the gaps to fill (rows of kind gap).", MESSAGE_INFO, BUTTONS_OK);
        return;
    }
    if (state.window) close_dialog();
    state.window = build_dialog();
    state.layer = app.current_layer;
    state.gaps = gaps;
    state.candidates = shared_candidates(gaps);
    std::vector<std::string> names;
    for (int m : state.candidates) names.push_back(app.channels[m].name_text());
    for (int i = 0; i < 3; ++i) {
        fill_option_menu(state.window, DONOR_MENUS[i], names);
        if (i < static_cast<int>(names.size())) set_option_position(state.window, DONOR_MENUS[i], i);
    }
    set_dialog_label("label_fill_gaps", gaps.size() == 1 ? "Gap " + gap_text(gaps[0])
                                                         : std::to_string(gaps.size()) + " gaps, the first previewed");
    connect_dialog(state.window);
    update_preview();
    gtk_widget_show(state.window);
}

GtkWidget* fill_dialog() { return state.window; }

void fill_dialog_follow_samples() { update_preview(); }

void fill_dialog_apply() {
    if (!state.window) return;
    if (state.layer != app.current_layer) {
        close_dialog();
        return;
    }
    const FillMethod method = chosen_method();
    const std::vector<int> donors = chosen_donors();
    const std::vector<GapRow> gaps = state.gaps;
    close_dialog();
    int filled = 0;
    {
        MessageCollector messages;
        UndoStep step(app, "Fill gaps");
        for (const GapRow& gap : gaps) step.keep(gap.mark, gap.first, gap.last);
        SampleChangeBatch batch;
        for (const GapRow& gap : gaps) {
            const GapFillResult fill = fill_one_gap(app, gap.mark, gap.first, gap.last, method, donors);
            if (!fill.filled) {
                show_message("The gap " + gap_text(gap) + " was not filled: " + fill.reason + ".", MESSAGE_WARNING, BUTTONS_OK);
                continue;
            }
            apply_gap_fill(app, gap.mark, gap.first, fill);
            history_append("Gap filled " + gap_text(gap) + ": " + fill.method + "\n");
            ++filled;
        }
    }
    status_set("Filled " + std::to_string(filled) + " of " + std::to_string(gaps.size()) + " gaps");
    set_label_text("label_errores", std::to_string(app.error_count));
}

void fill_dialog_cancel() { close_dialog(); }
