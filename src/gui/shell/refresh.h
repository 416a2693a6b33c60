// Keeping the widgets in line with the data: the no-file state, the refresh after a file has
// been opened and after the current layer has changed, and the menus and lists of names.
#pragma once

#include <gtk/gtk.h>

void ui_reset_no_file();
void ui_refresh_opened();
void ui_refresh_layer();

// One item per mark, mark 0 first, labelled with the mark's name.
void fill_mark_menu(GtkWidget* window, const char* option_menu);
// The fifteen colour names in index order.
void fill_colour_menu(GtkWidget* window, const char* option_menu);
// One item per open layer in slot order, labelled with the last component of its file name.
void fill_layer_menu(GtkWidget* window, const char* option_menu);
// One row per mark in list_can, clist_entity and list_ver_trazas.
void fill_mark_lists();

// The trajectory page follows the data: its values list and its curve, rescaled.
void refresh_marks_page();

// The View menu's check items show and hide their panels.
void connect_panel_toggles(GtkWidget* window);
