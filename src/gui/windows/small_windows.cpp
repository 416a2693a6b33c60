// The splash shown while the program starts, the about window and the preferences dialog.
#include "gui/kit/widgets.h"
#include "gui/kit/window_builder.h"
#include "gui/windows/main_window.h"

// The splash window is insensitive (it takes no input), but its picture is drawn as it is, not
// greyed out as GTK draws insensitive images.
static gboolean draw_picture_as_sensitive(GtkWidget* image, GdkEventExpose*, gpointer) {
    GdkPixmap* pixmap = nullptr;
    GdkBitmap* mask = nullptr;
    if (gtk_image_get_storage_type(GTK_IMAGE(image)) != GTK_IMAGE_PIXMAP) return FALSE;
    gtk_image_get_pixmap(GTK_IMAGE(image), &pixmap, &mask);
    gint width = 0, height = 0;
    gdk_drawable_get_size(pixmap, &width, &height);
    const GtkAllocation& area = image->allocation;
    gdk_draw_drawable(image->window, image->style->fg_gc[GTK_STATE_NORMAL], pixmap, 0, 0,
                      area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width, height);
    return TRUE;
}

GtkWidget* create_splash_window() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_POPUP);
    WindowBuilder b(window);
    register_widget(window, "window_splash", window);
    gtk_widget_set_size_request(window, 500, 310);
    gtk_widget_set_sensitive(window, FALSE);
    gtk_window_set_title(GTK_WINDOW(window), " Loading Zemo...");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* picture = b.image("pixmap29", "splash.XPM");
    gtk_widget_set_size_request(picture, 500, 310);
    gtk_widget_set_sensitive(picture, FALSE);
    g_signal_connect(picture, "expose_event", G_CALLBACK(draw_picture_as_sensitive), nullptr);
    gtk_container_add(GTK_CONTAINER(window), picture);
    return window;
}

GtkWidget* create_about_window() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    WindowBuilder b(window);
    register_widget(window, "window_about", window);
    gtk_widget_set_size_request(window, 502, 310);
    gtk_window_set_title(GTK_WINDOW(window), "About this program...");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* box = b.vbox("vbox42", 0);
    pack(box, b.image("pixmap74", "splash.XPM"), true);
    gtk_container_add(GTK_CONTAINER(window), box);
    return window;
}

GtkWidget* create_preferences_dialog() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    WindowBuilder b(window);
    register_widget(window, "window_preferencias", window);
    gtk_widget_set_size_request(window, 322, 126);
    gtk_window_set_title(GTK_WINDOW(window), "Preferences");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_MOUSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);

    GtkWidget* box = b.vbox("vbox24", 2);
    gtk_container_set_border_width(GTK_CONTAINER(box), 3);
    gtk_container_add(GTK_CONTAINER(window), box);
    GtkWidget* frame = b.frame("frame22", " Preferences ");
    GtkWidget* table = b.named("table9", gtk_table_new(3, 2, FALSE));
    gtk_container_set_border_width(GTK_CONTAINER(table), 4);
    gtk_table_set_row_spacings(GTK_TABLE(table), 3);
    gtk_table_set_col_spacings(GTK_TABLE(table), 3);
    const char* labels[][2] = {{"label99", "XML Editor "}, {"label100", "XML Viewer "}, {"label101", "IDF Editor"}};
    const char* entries[] = {"entry_editorxml", "entry_visorxml", "entry_editoridf"};
    for (guint r = 0; r < 3; ++r) {
        gtk_table_attach(GTK_TABLE(table), b.label(labels[r][0], labels[r][1], 0.0f), 0, 1, r, r + 1, GTK_FILL,
                         GTK_FILL, 0, 0);
        GtkWidget* entry = b.entry(entries[r]);
        gtk_widget_set_size_request(entry, -1, 19);
        gtk_table_attach(GTK_TABLE(table), entry, 1, 2, r, r + 1, static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL),
                         GTK_FILL, 0, 0);
    }
    gtk_container_add(GTK_CONTAINER(frame), table);
    pack(box, frame, true);
    GtkWidget* buttons = b.hbox("hbox53", 3);
    pack(buttons, b.button("boton_preferencias_aceptar", "OK  ", "s_aceptar.XPM"), true);
    pack(buttons, b.button("boton_preferencias_cancelar", "Cancel ", "s_cancelar.XPM"), true);
    pack(box, buttons);
    return window;
}
