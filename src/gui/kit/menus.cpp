// The fillers of the option menus and lists that name marks, colours and layers.
#include "gui/kit/menus.h"

#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "platform/paths.h"

namespace {

void fill_option_menu(GtkWidget* window, const char* name, const std::vector<std::string>& labels) {
    GtkWidget* option = find_widget(window, name);
    if (!option) return;
    GtkWidget* menu = gtk_menu_new();
    for (const std::string& label : labels) {
        GtkWidget* item = gtk_menu_item_new_with_label(label.c_str());
        gtk_widget_show(item);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    gtk_option_menu_set_menu(GTK_OPTION_MENU(option), menu);
}

std::vector<std::string> mark_names() {
    std::vector<std::string> names;
    for (int m = 0; m < app.mark_count(); ++m) names.push_back(app.channels[m].name_text());
    return names;
}

}  // namespace

void fill_mark_menu(GtkWidget* window, const char* option_menu) { fill_option_menu(window, option_menu, mark_names()); }

void fill_colour_menu(GtkWidget* window, const char* option_menu) {
    std::vector<std::string> names;
    for (int c = 0; c < colour_count; ++c) names.emplace_back(ColourTable[c].name);
    fill_option_menu(window, option_menu, names);
}

void fill_layer_menu(GtkWidget* window, const char* option_menu) {
    std::vector<std::string> names;
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (app.layers[n].in_use) names.push_back(last_path_component(app.layers[n].file_name));
    }
    fill_option_menu(window, option_menu, names);
    process_pending_events();
}

void fill_mark_lists() {
    for (const char* name : {"list_can", "clist_entity", "list_ver_trazas"}) {
        GtkWidget* list = main_widget(name);
        if (!list) continue;
        gtk_clist_freeze(GTK_CLIST(list));
        gtk_clist_clear(GTK_CLIST(list));
        for (int m = 0; m < app.mark_count(); ++m) {
            gchar* row[] = {const_cast<gchar*>(app.channels[m].name_text().c_str())};
            gtk_clist_append(GTK_CLIST(list), row);
        }
        gtk_clist_thaw(GTK_CLIST(list));
    }
}
