// Every capture opened is remembered in the recent list of the configuration folder, and the
// File > Recent menu is rebuilt from it.
#include "gui/shell/capture_opening.h"

#include <cstddef>
#include <vector>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/recent_captures.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/layer_refresh.h"
#include "gui/kit/widgets.h"
#include "gui/shell/refresh.h"
#include "platform/paths.h"
#include "platform/program_folders.h"

namespace {

std::vector<std::string> recent;
GtkWidget* recent_menu = nullptr;
GtkWidget* main_window = nullptr;

std::string recent_file() { return join_path(program_folders().config, RECENT_FILE_NAME); }

void fill_recent_menu();

// A capture that has gone since it was opened says so and leaves the list.
void open_recent(GtkMenuItem*, gpointer index) {
    const size_t n = GPOINTER_TO_SIZE(index);
    if (n >= recent.size()) return;
    // The menu is rebuilt when the capture opens: copy the name first.
    const std::string path = recent[n];
    if (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS)) {
        show_error("Error opening file:\n " + path + "\n The file is no longer there.");
        recent.erase(recent.begin() + static_cast<std::ptrdiff_t>(n));
        recent_save(recent_file(), recent);
        fill_recent_menu();
        return;
    }
    open_capture_layer(path);
}

void fill_recent_menu() {
    if (!recent_menu) return;
    GtkWidget* menu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(recent_menu));
    GList* old = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* item = old; item; item = item->next) gtk_widget_destroy(GTK_WIDGET(item->data));
    g_list_free(old);
    for (size_t n = 0; n < recent.size(); ++n) {
        // The label is the name, the path in the tooltip; underscores are not mnemonics here.
        GtkWidget* item = gtk_menu_item_new_with_label(last_path_component(recent[n]).c_str());
        gtk_widget_set_tooltip_text(item, recent[n].c_str());
        const std::string name = "recent_capture_" + std::to_string(n + 1);
        gtk_widget_set_name(item, name.c_str());
        register_widget(main_window, name.c_str(), item);
        g_signal_connect(item, "activate", G_CALLBACK(open_recent), GSIZE_TO_POINTER(n));
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
        gtk_widget_show(item);
    }
    gtk_widget_set_sensitive(recent_menu, !recent.empty());
}

void on_drop(GtkWidget*, GdkDragContext* context, gint, gint, GtkSelectionData* data, guint, guint time, gpointer) {
    const guchar* text = gtk_selection_data_get_data(data);
    const gint length = gtk_selection_data_get_length(data);
    const std::string uris = text && length > 0 ? std::string(reinterpret_cast<const char*>(text), size_t(length)) : "";
    // The drag ends before the files are read: a message box must not hold the drag source.
    gtk_drag_finish(context, !uris.empty(), FALSE, time);
    if (!uris.empty()) open_dropped_uris(uris.c_str());
}

}  // namespace

int open_capture_layer(const std::string& path) {
    {
        // The refresh of a new current layer is left to ui_refresh_opened, which does it all.
        const LayerRefreshHeld held;
        if (idf_read(path) != 0) return 1;
    }
    ui_refresh_opened();
    request_redraw();
    app.file_name = app.source_path;
    recent = recent_add(recent, absolute_path(app.source_path));
    recent_save(recent_file(), recent);
    fill_recent_menu();
    return 0;
}

void create_recent_menu(GtkWidget* window) {
    recent = recent_load(recent_file());
    GtkWidget* open = find_widget(window, "abrir1");
    GtkWidget* file_menu = open ? gtk_widget_get_parent(open) : nullptr;
    if (!file_menu) return;
    main_window = window;
    recent_menu = gtk_menu_item_new_with_label("Recent");
    gtk_widget_set_name(recent_menu, "recientes1");
    register_widget(window, "recientes1", recent_menu);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(recent_menu), gtk_menu_new());
    gtk_menu_shell_insert(GTK_MENU_SHELL(file_menu), recent_menu, 1);
    gtk_widget_show(recent_menu);
    g_signal_connect(recent_menu, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer) { recent_menu = nullptr; }), nullptr);
    fill_recent_menu();
}

const std::vector<std::string>& recent_captures() { return recent; }

std::string last_capture_folder() { return recent.empty() ? std::string() : directory_part(recent.front()); }

void accept_dropped_captures(GtkWidget* window) {
    static const GtkTargetEntry uri_list[] = {{const_cast<gchar*>("text/uri-list"), 0, 0}};
    gtk_drag_dest_set(window, GTK_DEST_DEFAULT_ALL, uri_list, 1, GDK_ACTION_COPY);
    g_signal_connect(window, "drag-data-received", G_CALLBACK(on_drop), nullptr);
}

int open_dropped_uris(const char* uri_list) {
    int opened = 0;
    gchar** uris = g_uri_list_extract_uris(uri_list);
    for (gchar** uri = uris; uri && *uri; ++uri) {
        gchar* path = g_filename_from_uri(*uri, nullptr, nullptr);
        if (path && open_capture_layer(path) == 0) ++opened;
        g_free(path);
    }
    g_strfreev(uris);
    return opened;
}
