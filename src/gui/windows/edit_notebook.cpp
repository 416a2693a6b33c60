// The editing notebook beside the 3-D view: trajectory editing on a curve, channel repair,
// smoothing and interchange, the gap list, the fuzzy inference module, and skeletons.
#include "gui/kit/widgets.h"
#include "gui/kit/window_builder.h"
#include "gui/pages/gaps_page.h"
#include "gui/windows/main_window.h"

namespace {

const Adjust frame_range{1, 0, 100, 1, 10};

GtkWidget* marks_page(WindowBuilder& b) {
    GtkWidget* x = b.radio("radiobutton_mar_ejex", " X Axis", nullptr, true);
    GtkWidget* curve = b.named("curve_mar", gtk_curve_new());
    gtk_widget_set_size_request(curve, 230, 162);
    GtkWidget* box = gtk_vbox_new(FALSE, 2);
    pack(box, row({text_label("Mark "), b.option_menu("option_mar_marcas")}));
    pack(box, row({x, b.radio("radiobutton_mar_ejey", " Y Axis", x), b.radio("radiobutton_mar_ejez", " Z Axis", x)}));
    pack(box, row({text_label("From "), b.spin("spinbutton_mar_origen", frame_range, 0), text_label(" To "),
                   b.spin("spinbutton_mar_destino", frame_range, 0)}));
    pack(box, curve, true);
    pack(box, b.named("hruler_mar_horizontal", gtk_hruler_new()));
    pack(box, row({b.button("boton_mar_descartar", " Discard Changes  ", "s_cancelar.XPM"),
                   b.button("boton_mar_aceptar", " Make   ", "s_aceptar.XPM")}));
    pack(box, scrolled(b.clist("clist_mar", {41, 80, 80}, {"Frame", "Value", "Origin"}, GTK_SELECTION_MULTIPLE)), true);
    return framed(" Trajectory Edition  ", box);
}

GtkWidget* channels_page(WindowBuilder& b) {
    GtkWidget* repair = b.radio("radiobutton_can_interpolar", "Find Lost Marks", nullptr, true);
    GtkWidget* edition = gtk_vbox_new(FALSE, 2);
    pack(edition, row({text_label(" Select Channels  "), b.button("boton_can_seltodos", " Select All Channels  ")}));
    pack(edition, scrolled(b.clist("list_can", {80}, {}, GTK_SELECTION_MULTIPLE)), true);
    pack(edition, row({text_label("From "), b.spin("spinbutton_can_origen", frame_range, 0), text_label(" To "),
                       b.spin("spinbutton_can_destino", frame_range, 0)}));
    pack(edition, row({repair, b.radio("radiobutton_can_suavizar", "Smooth Channel  ", repair)}));
    GtkWidget* max_gap = b.spin("spinbutton_can_maxgap", {0, 0, 10000, 1, 10}, 0);
    gtk_widget_set_sensitive(max_gap, FALSE);  // only while "Accurate Fill" is chosen
    pack(edition, row({b.radio("radiobutton_can_rellenar", "Accurate Fill", repair), text_label(" Max Gap "), max_gap}));
    pack(edition, row({b.radio("radiobutton_can_filtrar", "Filter (Hz)", repair), text_label(" Cutoff "),
                       b.spin("spinbutton_can_corte", {6, 0.5, 50, 0.5, 1}, 1)}));
    pack(edition, row({text_label(" Order "), b.spin("spinbutton_can_orden", {4, 2, 6, 2, 2}, 0),
                       b.button("boton_can_sugerir", "Suggest")}));
    pack(edition, row({text_label(" Factor "), b.spin("spinbutton_can_factor_suavizado", {1, 1, 20, 1, 2}, 0),
                       b.button("boton_can_proceder", "  Proceed  ", "s_aceptar.XPM")}));
    GtkWidget* interchange = gtk_vbox_new(FALSE, 2);
    pack(interchange, form({{"Change ", b.option_menu("optionmenu_can_origen")},
                            {"By  ", b.option_menu("optionmenu_can_destino")}}));
    pack(interchange, row({text_label("From  "), b.spin("spinbutton_can_frameorigen", frame_range, 0),
                           text_label(" To  "), b.spin("spinbutton_can_framedestino", frame_range, 0)}));
    pack(interchange, b.button("boton_can_intercambiar", "  Interchange Values  ", "s_intercambiar.XPM"));
    GtkWidget* page = gtk_vbox_new(FALSE, 3);
    pack(page, framed(" Channels Edition ", edition), true);
    pack(page, framed(" Interchange Channels ", interchange));
    return page;
}

GtkWidget* gaps_page(WindowBuilder& b) {
    GtkWidget* box = gtk_vbox_new(FALSE, 2);
    pack(box, scrolled(b.named("treeview_gap", gaps_list_new())), true);
    pack(box, row({b.button("boton_gap_fill", " Fill… ", "s_ejecutar.XPM"), b.button("boton_gap_fill_all", " Fill all "),
                   b.button("boton_gap_cut", " Cut ", "s_eliminar.XPM")}));
    return b.named("frame_gap", framed(" Gaps and Suspect Stretches ", box));
}

GtkWidget* fim_page(WindowBuilder& b) {
    GtkWidget* info = b.radio("radiobutton_mib_soloinfo", "Only Show Information", nullptr, true);
    GtkWidget* module = gtk_vbox_new(FALSE, 2);
    pack(module, row({text_label("File "), b.entry("entry_mib_fichero"), b.button("boton_mib_abrir", nullptr, "s_abrir.XPM")}));
    pack(module, info);
    pack(module, b.radio("radiobutton_mib_reparar", "Repair Errors Automatically", info));
    pack(module, b.button("boton_mib_comenzar", "  Start Process ", "s_aceptar.XPM"));
    GtkWidget* page = gtk_vbox_new(FALSE, 3);
    pack(page, framed(" Fuzzy Inference Module ", module));
    pack(page, framed(" Progress Information ", scrolled(b.text_view("text_mib_reglas", "Helvetica 10"))), true);
    pack(page, framed(" Actions to Make ", scrolled(b.text_view("text_mib_acciones", "Helvetica 10"))), true);
    return page;
}

GtkWidget* bones_page(WindowBuilder& b) {
    GtkWidget* file = gtk_vbox_new(FALSE, 2);
    pack(file, row({text_label("File "), b.entry("entry_hue_fichero"), b.button("boton_hue_abrir", nullptr, "s_abrir.XPM")}));
    pack(file, row({b.button("boton_hue_guardar", " Save ", "s_guardar.XPM"),
                    b.button("boton_hue_guardarcomo", " Save as... ", "s_guardar_como.XPM")}));
    GtkWidget* marks = gtk_vbox_new(FALSE, 2);
    pack(marks, scrolled(b.clist("clist_hue_marcas", {109, 80, 29}, {"Mark", "Colour", "View"}, GTK_SELECTION_SINGLE)), true);
    pack(marks, b.button("boton_hue_editarmarca", " Edit Mark ", "s_editar.XPM"));
    GtkWidget* menus = gtk_table_new(2, 3, FALSE);
    const char* captions[] = {"Origin", "Destin.", "Colour"};
    const char* names[] = {"optionmenu_hue_origen", "optionmenu_hue_destino", "optionmenu_hue_color"};
    for (guint i = 0; i < 3; ++i) {
        gtk_table_attach_defaults(GTK_TABLE(menus), text_label(captions[i], 0.5f), i, i + 1, 0, 1);
        gtk_table_attach_defaults(GTK_TABLE(menus), b.option_menu(names[i]), i, i + 1, 1, 2);
    }
    gtk_widget_show(menus);
    GtkWidget* bones = gtk_vbox_new(FALSE, 2);
    pack(bones, menus);
    pack(bones, b.button("boton_insertar", "  Insert ", "s_anadir.XPM"));
    pack(bones, scrolled(b.clist("clist_hue_huesos", {73, 80, 67}, {"Origin", "Destination", "Colour"}, GTK_SELECTION_SINGLE)), true);
    pack(bones, row({b.button("boton_hue_editarhuesos", " Edit ", "s_editar.XPM"),
                     b.button("boton_hue_eliminarhuesos", " Delete  ", "s_eliminar.XPM")}));
    GtkWidget* page = gtk_vbox_new(FALSE, 3);
    pack(page, framed(" Skeleton File *.BON ", file));
    pack(page, framed(" Marks ", marks), true);
    pack(page, framed(" Bones ", bones), true);
    return page;
}

void add_page(WindowBuilder& b, GtkWidget* notebook, GtkWidget* page, const char* icon, const char* tab) {
    gtk_container_set_border_width(GTK_CONTAINER(page), 3);
    gtk_widget_show(page);
    GtkWidget* label = gtk_hbox_new(FALSE, 2);
    pack(label, create_pixmap(b.window(), icon));
    pack(label, text_label(tab, 0.5f));
    gtk_widget_show(label);
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, label);
}

}  // namespace

GtkWidget* create_edit_notebook(GtkWidget* window) {
    WindowBuilder b(window);
    GtkWidget* notebook = b.named("notebook_edicion", gtk_notebook_new());
    gtk_widget_set_size_request(notebook, 330, -1);
    // Five tabs are wider than the page: the tab row scrolls rather than hiding the last.
    gtk_notebook_set_scrollable(GTK_NOTEBOOK(notebook), TRUE);
    add_page(b, notebook, marks_page(b), "s_ejecutar.XPM", " Marks ");
    add_page(b, notebook, channels_page(b), "s_suavizar.XPM", " Channels ");
    add_page(b, notebook, gaps_page(b), "s_suavizar.XPM", " Gaps ");
    add_page(b, notebook, fim_page(b), "s_inferencia.XPM", "FIM");
    add_page(b, notebook, bones_page(b), "s_esqueleto.XPM", " Bones ");
    return notebook;
}
