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

std::vector<std::string> mark_names() {
    std::vector<std::string> names;
    for (int m = 0; m < app.mark_count(); ++m) names.push_back(app.channels[m].name_text());
    return names;
}

}  // namespace

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

void fill_list(const char* name, const std::vector<std::vector<std::string>>& rows) {
    GtkWidget* widget = main_widget(name);
    if (!widget) return;
    GtkCList* list = GTK_CLIST(widget);
    gtk_clist_freeze(list);
    gtk_clist_clear(list);
    std::vector<gchar*> row;
    for (const std::vector<std::string>& texts : rows) {
        // A row shorter than the list has empty cells at its end.
        row.assign(static_cast<size_t>(list->columns), const_cast<gchar*>(""));
        for (size_t c = 0; c < texts.size() && c < row.size(); ++c) row[c] = const_cast<gchar*>(texts[c].c_str());
        gtk_clist_append(list, row.data());
    }
    gtk_clist_thaw(list);
}

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
    std::vector<std::vector<std::string>> rows;
    for (const std::string& name : mark_names()) rows.push_back({name});
    for (const char* list : {"list_can", "clist_entity", "list_ver_trazas"}) fill_list(list, rows);
}
