// Widget accessors over find_widget on the main window.
#include "gui/kit/ui_helpers.h"

#include <algorithm>
#include <cmath>

#include "gui/kit/app_windows.h"
#include "gui/kit/widgets.h"

AppWindows app_windows;

GtkWidget* main_widget(const char* name) { return find_widget(app_windows.main_window, name); }

static GtkAdjustment* adjustment_of(GtkWidget* widget) {
    if (GTK_IS_SPIN_BUTTON(widget)) return gtk_spin_button_get_adjustment(GTK_SPIN_BUTTON(widget));
    if (GTK_IS_RANGE(widget)) return gtk_range_get_adjustment(GTK_RANGE(widget));
    return nullptr;
}

// Reading never commits the text of a spin button: redraws and key presses read the spins while
// the user is typing, and committing half-typed text would change the number and move the
// cursor. GTK commits the text on Enter, on focus out and with the arrows.
double widget_value(const char* name) {
    GtkWidget* widget = main_widget(name);
    GtkAdjustment* adjustment = widget ? adjustment_of(widget) : nullptr;
    return adjustment ? gtk_adjustment_get_value(adjustment) : 0.0;
}

int widget_int(const char* name) { return static_cast<int>(widget_value(name)); }

// Halves round up, as GTK's own spin reading rounds them.
int widget_rounded(const char* name) { return static_cast<int>(std::floor(widget_value(name) + 0.5)); }

bool widget_active(const char* name) { return widget_active(app_windows.main_window, name); }

bool widget_active(GtkWidget* window, const char* name) {
    GtkWidget* widget = find_widget(window, name);
    if (!widget) return false;
    if (GTK_IS_CHECK_MENU_ITEM(widget)) return gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(widget));
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
}

std::string entry_text(const char* name) { return entry_text(app_windows.main_window, name); }

std::string entry_text(GtkWidget* window, const char* name) {
    GtkWidget* entry = find_widget(window, name);
    return entry ? gtk_entry_get_text(GTK_ENTRY(entry)) : "";
}

int option_position(const char* name) { return option_position(app_windows.main_window, name); }

int option_position(GtkWidget* window, const char* name) {
    GtkWidget* option = find_widget(window, name);
    return option ? gtk_option_menu_get_history(GTK_OPTION_MENU(option)) : -1;
}

void set_option_position(GtkWidget* window, const char* name, int position) {
    if (GtkWidget* option = find_widget(window, name)) gtk_option_menu_set_history(GTK_OPTION_MENU(option), position);
}

void set_widget_value(const char* name, double value) {
    GtkWidget* widget = main_widget(name);
    if (GtkAdjustment* adjustment = widget ? adjustment_of(widget) : nullptr) gtk_adjustment_set_value(adjustment, value);
}

void set_widget_range(const char* name, double lower, double upper, double value) {
    GtkWidget* widget = main_widget(name);
    GtkAdjustment* adjustment = widget ? adjustment_of(widget) : nullptr;
    if (!adjustment) return;
    // The adjustment is set directly: a range of a single value (one frame) is legal here,
    // where gtk_range_set_range would refuse it.
    upper = std::max(lower, upper);
    adjustment->lower = lower;
    adjustment->upper = upper;
    adjustment->value = std::clamp(value, lower, upper);
    gtk_adjustment_changed(adjustment);
    gtk_adjustment_value_changed(adjustment);
}

void set_widget_active(const char* name, bool active) {
    GtkWidget* widget = main_widget(name);
    if (!widget) return;
    if (GTK_IS_CHECK_MENU_ITEM(widget)) {
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), active);
    } else {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), active);
    }
}

void set_widget_sensitive(const char* name, bool sensitive) {
    if (GtkWidget* widget = main_widget(name)) gtk_widget_set_sensitive(widget, sensitive);
}

void set_label_text(const char* name, const std::string& text) {
    if (GtkWidget* widget = main_widget(name)) gtk_label_set_text(GTK_LABEL(widget), text.c_str());
}

void set_entry_text(const char* name, const std::string& text) {
    if (GtkWidget* widget = main_widget(name)) gtk_entry_set_text(GTK_ENTRY(widget), text.c_str());
}

void clear_text_view(const char* name) {
    if (GtkWidget* widget = main_widget(name)) gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget)), "", 0);
}

void append_text_view(const char* name, const std::string& text) {
    GtkWidget* widget = main_widget(name);
    if (!widget) return;
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget));
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_insert(buffer, &end, text.c_str(), static_cast<int>(text.size()));
    gtk_text_buffer_get_end_iter(buffer, &end);
    GtkTextMark* mark = gtk_text_buffer_create_mark(buffer, nullptr, &end, FALSE);
    gtk_text_view_scroll_mark_onscreen(GTK_TEXT_VIEW(widget), mark);
    gtk_text_buffer_delete_mark(buffer, mark);
}

void process_pending_events() {
    while (gtk_events_pending()) gtk_main_iteration();
}

std::vector<int> selected_list_rows(const char* name, int row_count) {
    std::vector<int> rows;
    GtkWidget* list = main_widget(name);
    if (!list) return rows;
    for (GList* row = GTK_CLIST(list)->selection; row; row = row->next) {
        const int r = GPOINTER_TO_INT(row->data);
        if (r >= 0 && r < row_count) rows.push_back(r);
    }
    return rows;
}
