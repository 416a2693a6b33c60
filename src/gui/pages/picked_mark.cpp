// The pages follow the mark picked in the view, in whichever layer it is.
#include "gui/pages/picked_mark.h"

#include <gtk/gtk.h>

#include "engine/model/capture_model.h"
#include "engine/scene/view_state.h"
#include "gui/gl/mark_picking.h"
#include "gui/kit/app_windows.h"
#include "gui/pages/layers_panel.h"

namespace {

void show_picked_mark(int slot, int mark, bool add) {
    if (slot != app.current_layer) {
        // The mark's layer becomes current as the layers panel makes it, but the view stays where
        // it is: the mark clicked does not jump away from the pointer.
        const ViewBounds bounds = view.bounds;
        const ViewFraming framing = view.framing;
        const CameraState camera = view.camera;
        layer_select(slot);
        view.bounds = bounds;
        view.framing = framing;
        view.camera = camera;
    }
    show_mark_on_pages(mark, add);
}

}  // namespace

void show_mark_on_pages(int mark, bool add) {
    if (GtkWidget* menu = main_widget("option_mar_marcas")) {
        gtk_option_menu_set_history(GTK_OPTION_MENU(menu), static_cast<guint>(mark));
    }
    if (GtkWidget* list = main_widget("list_can")) {
        if (!add) gtk_clist_unselect_all(GTK_CLIST(list));
        gtk_clist_select_row(GTK_CLIST(list), mark, 0);
        gtk_clist_moveto(GTK_CLIST(list), mark, 0, 0.5, 0);
    }
}

void connect_picked_mark() { set_mark_picked_listener(show_picked_mark); }
