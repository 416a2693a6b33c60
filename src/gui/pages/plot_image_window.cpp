// One plot window at a time: a later picture replaces the earlier one, and closing the window
// forgets it.
#include "gui/pages/plot_image_window.h"

#include "gui/kit/app_windows.h"
#include "platform/paths.h"

namespace {

GtkWidget* window = nullptr;
GtkWidget* image = nullptr;

void forget_window() {
    window = nullptr;
    image = nullptr;
}

void make_window() {
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(window, "window_plot_image");
    if (app_windows.main_window) {
        gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(app_windows.main_window));
        gtk_window_set_destroy_with_parent(GTK_WINDOW(window), TRUE);
    }
    image = gtk_image_new();
    gtk_container_add(GTK_CONTAINER(window), image);
    g_signal_connect(window, "destroy", G_CALLBACK(forget_window), nullptr);
}

}  // namespace

bool show_plot_image(const std::string& path) {
    GdkPixbuf* picture = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
    if (!picture) return false;
    if (!window) make_window();
    gtk_image_set_from_pixbuf(GTK_IMAGE(image), picture);
    g_object_unref(picture);
    gtk_window_resize(GTK_WINDOW(window), 1, 1);  // fits a smaller picture too
    gtk_window_set_title(GTK_WINDOW(window), ("Plot - " + last_path_component(path)).c_str());
    gtk_widget_show_all(window);
    gtk_window_present(GTK_WINDOW(window));
    return true;
}

GtkWidget* plot_image_window() { return window; }
