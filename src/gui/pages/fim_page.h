// The expert-system page ("FIM"): the rules file, information or repair mode, the start button
// and the two views the run writes into.
#pragma once

#include <gtk/gtk.h>

#include <string>

// The rules-file button: the file-selection dialog for a rules file; Edit Rules and View Rules
// become usable at once.
void open_rules_file_command();
// What the file-selection dialog does with a chosen rules file: it becomes the current layer's,
// and the page shows its name. The file is read when a run starts.
void rules_file_chosen(const std::string& path);
// The start button: runs the current layer's rules file, if one is chosen.
void start_diagnosis_command();

// Append to "Progress Information" and "Actions to Make", then let the interface catch up.
void rules_view_append(const std::string& text);
void actions_view_append(const std::string& text);

void connect_fim_page(GtkWidget* window);
