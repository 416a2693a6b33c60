// The " Bones " page of the editing notebook: the skeleton file of the current layer, its marks
// and bones lists, and the commands that change them.
#pragma once

#include <gtk/gtk.h>

#include <string>

// One row per mark of the working copy: name, colour name, "Yes" or "No".
void skeleton_fill_marks_list();
// One row per bone: origin mark's name, destination mark's name, colour name.
void skeleton_fill_bones_list();

// The file-selection dialog's OK in skeleton-open mode: loads the file into the current layer
// and binds the layer to it.
void skeleton_file_chosen(const std::string& path);
// Its OK in skeleton-save mode: writes the skeleton there, the binding unchanged, after asking
// before an existing file is replaced. 0 when written.
int skeleton_save_as_chosen(const std::string& path);

// The first selected row of a list of the main window, or -1.
int first_selected_row(const char* clist);

void connect_bones_page(GtkWidget* window);
