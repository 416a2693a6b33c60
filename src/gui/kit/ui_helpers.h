// Reading and setting the widgets that hold working state: spin buttons, scales, toggles, labels.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// The widget's value truncated toward zero, as integers are read from spin buttons and scales.
int widget_int(const char* name);
// The value of a spin button's or scale's adjustment; text being typed into a spin button is
// not read (nor committed) until GTK commits it.
double widget_value(const char* name);
// A spin button's value rounded to the nearest integer (only its adjustment is read, as above).
int widget_rounded(const char* name);
bool widget_active(const char* name);
bool widget_active(GtkWidget* window, const char* name);
// The text of an entry, empty when there is no such entry.
std::string entry_text(const char* name);
std::string entry_text(GtkWidget* window, const char* name);
// The position of an option menu's chosen item, -1 when there is no such menu or it is empty.
int option_position(const char* name);
int option_position(GtkWidget* window, const char* name);
void set_option_position(GtkWidget* window, const char* name, int position);

// The selected rows of a list (GtkCList) that are below `row_count`, in the order of selection.
std::vector<int> selected_list_rows(const char* name, int row_count);

void set_widget_value(const char* name, double value);
// New bounds and value; an upper bound below the lower one is raised to it.
void set_widget_range(const char* name, double lower, double upper, double value);
void set_widget_active(const char* name, bool active);
void set_widget_sensitive(const char* name, bool sensitive);
void set_label_text(const char* name, const std::string& text);
void set_entry_text(const char* name, const std::string& text);
void clear_text_view(const char* name);
void append_text_view(const char* name, const std::string& text);
// Runs every pending GTK event.
void process_pending_events();
