// Widget look-up by name, as every handler does at each use, and XPM image loading.
#include "gui/kit/widgets.h"

#include <string>

#include "platform/paths.h"
#include "platform/program_folders.h"

GtkWidget* find_widget(GtkWidget* widget, const char* name) {
    if (!widget) {
        g_warning("Widget not found: %s", name);
        return nullptr;
    }
    GtkWidget* top = widget;
    for (;;) {
        GtkWidget* parent = GTK_IS_MENU(top) ? gtk_menu_get_attach_widget(GTK_MENU(top)) : top->parent;
        if (!parent) break;
        top = parent;
    }
    auto* found = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(top), name));
    if (!found) g_warning("Widget not found: %s", name);
    return found;
}

void register_widget(GtkWidget* window, const char* name, GtkWidget* widget) {
    g_object_set_data_full(G_OBJECT(window), name, g_object_ref(widget), g_object_unref);
}

static const char* replacement_xpm[] = {"1 1 1 1", "  c None", " "};

static GtkWidget* replacement_pixmap(GtkWidget* widget) {
    GdkBitmap* mask = nullptr;
    GdkPixmap* pixmap = gdk_pixmap_colormap_create_from_xpm_d(nullptr, gtk_widget_get_colormap(widget), &mask,
                                                              nullptr, const_cast<gchar**>(replacement_xpm));
    if (!pixmap) {
        g_critical("Couldn't create replacement pixmap.");
        return gtk_image_new();
    }
    GtkWidget* image = gtk_image_new_from_pixmap(pixmap, mask);
    g_object_unref(pixmap);
    if (mask) g_object_unref(mask);
    return image;
}

GtkWidget* create_pixmap(GtkWidget* widget, const char* filename) {
    if (!filename || !*filename) return replacement_pixmap(widget);
    const std::string path = runtime_path(join_path("images", filename));
    if (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS)) {
        g_warning("Couldn't find pixmap file: %s", filename);
        return replacement_pixmap(widget);
    }
    GdkBitmap* mask = nullptr;
    GdkPixmap* pixmap =
        gdk_pixmap_colormap_create_from_xpm(nullptr, gtk_widget_get_colormap(widget), &mask, nullptr, path.c_str());
    if (!pixmap) {
        g_warning("Error loading pixmap file: %s", absolute_path(path).c_str());
        return replacement_pixmap(widget);
    }
    GtkWidget* image = gtk_image_new_from_pixmap(pixmap, mask);
    g_object_unref(pixmap);
    if (mask) g_object_unref(mask);
    return image;
}
