// Option menus and lists filled from the data: the marks, the colours and the open layers.
#pragma once

#include <gtk/gtk.h>

// One item per mark, mark 0 first, labelled with the mark's name.
void fill_mark_menu(GtkWidget* window, const char* option_menu);
// The fifteen colour names in index order.
void fill_colour_menu(GtkWidget* window, const char* option_menu);
// One item per open layer in slot order, labelled with the last component of its file name.
void fill_layer_menu(GtkWidget* window, const char* option_menu);
// One row per mark in list_can, clist_entity and list_ver_trazas.
void fill_mark_lists();
