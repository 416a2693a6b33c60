// Option menus and lists filled from the data: the marks, the colours and the open layers.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// The option menu `name` of `window` gets a new menu of one item per label (none: an empty menu).
void fill_option_menu(GtkWidget* window, const char* name, const std::vector<std::string>& labels);
// The main window's list `name` cleared and given one row per entry, each a text per column.
void fill_list(const char* name, const std::vector<std::vector<std::string>>& rows);

// One item per mark, mark 0 first, labelled with the mark's name.
void fill_mark_menu(GtkWidget* window, const char* option_menu);
// The fifteen colour names in index order.
void fill_colour_menu(GtkWidget* window, const char* option_menu);
// One item per open layer in slot order, labelled with the last component of its file name.
void fill_layer_menu(GtkWidget* window, const char* option_menu);
// One row per mark in list_can, clist_entity and list_ver_trazas.
void fill_mark_lists();
