// The information notebook under the 3-D view: file information and the history log, view
// settings, calculated entities and placement, plots, and video recording.
#include "gui/kit/window_builder.h"
#include "gui/windows/main_window.h"

namespace {

GtkWidget* info_page(WindowBuilder& b) {
    GtkWidget* file = form({{"Name: ", b.label("label_nombre", "", 0)},
                            {"Frames:", b.label("label_frames", "", 0)},
                            {"First Frame:", b.label("label_primer_frame", "", 0)},
                            {"Marks:", b.label("label_marcas", "", 0)},
                            {"Hz:", b.label("label_hz", "", 0)},
                            {"Analog:", b.label("label_analogicos", "", 0)},
                            {"Type:", b.label("label_tipo", "", 0)},
                            {"Errors:", b.label("label_errores", "", 0)},
                            {"Computed:", b.label("label_computados", "", 0)}});
    gtk_widget_set_size_request(file, 190, -1);
    GtkWidget* factor = b.hscale("hscale_scaledata", {0, -1, 1, 0.01, 0.1}, 2, GTK_POS_RIGHT);
    gtk_widget_set_size_request(factor, 110, -1);
    GtkWidget* scale =
        column({row({text_label(" Factor "), factor}), b.button("button_scaledata", " Scale Data ", "s_aceptar.XPM")});
    GtkWidget* log = framed(" Historical Operations Log ",
                            scrolled(b.text_view("text_ver_historico", "Helvetica 11")));
    // The file's nine lines take the height of the page; Scale Data sits under the log, so the
    // page is no taller than the notebook's other pages and the 3-D view keeps its size.
    GtkWidget* right = gtk_vbox_new(FALSE, 2);
    pack(right, log, true);
    pack(right, framed(" Scale Data ", scale));
    GtkWidget* page = gtk_hbox_new(FALSE, 3);
    pack(page, framed(" File ", file));
    pack(page, right, true);
    return page;
}

GtkWidget* render_menu(WindowBuilder& b, const char* name) { return b.option_menu(name, {"Detailed", "Wire", "Solid"}); }

// Playback's pace against the capture's own rate, 1x chosen.
GtkWidget* rate_combo() {
    GtkWidget* combo = gtk_combo_box_new_text();
    for (const char* rate : {"0.25\u00d7", "0.5\u00d7", "1\u00d7", "2\u00d7", "4\u00d7"}) {
        gtk_combo_box_append_text(GTK_COMBO_BOX(combo), rate);
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo), 2);
    return combo;
}

GtkWidget* vis_page(WindowBuilder& b) {
    GtkWidget* general =
        column({form({{"Velocity  ", b.spin("spin_ver_velocidad", {0, -30, 30, 1, 2}, 0)},
                      {"Zoom  ", b.spin("spin_ver_zoom", {0.7, 0, 3, 0.01, 0.01}, 2, true)},
                      {"Blending Layer ", b.spin("spin_blending", {0.4, 0, 1, 0.01, 0.1}, 2, true)},
                      {"Render ", render_menu(b, "option_ver_render")},
                      {"Up: ", b.option_menu("option_ver_up", {"Z", "Y", "X"})}}),
                row({b.check("check_ver_orto", "Orthographic"), b.check("check_ver_follow", "Follow")}),
                row({b.check("check_ver_forces", "Forces", true), text_label(" Scale "),
                     with_tip(b.spin("spin_ver_forces", {1, 0, 10, 0.1, 0.5}, 1, true),
                              "Force arrows: at 1 the subject's weight spans a third of the view's height")}),
                row({b.button("button_ver_ejex", "X Axis"), b.button("button_ver_ejey", "Y Axis"),
                     b.button("button_ver_ejez", "Z Axis")})});
    GtkWidget* armature = column({row({b.check("check_ver_marcas", "Show Marks", true), b.check("check_ver_labels", "Labels")}),
                                  b.check("check_ver_nombre", "Show Marks Info.", true),
                                  b.check("check_ver_huesos", "Show Bones", true),
                                  form({{"Marks Size  ", b.spin("spin_ver_marcas", {1.8, 0, 40, 0.1, 0.1}, 1)},
                                        {"Bones Size  ", b.spin("spin_ver_huesos", {1.8, 0, 40, 0.1, 0.1}, 1)},
                                        {"# Historical Bones ", b.spin("spin_ver_rastro", {1, 0, 100, 1, 10}, 0)}}),
                                  row({b.check("check_ver_tiempo_real", "Real time", true), text_label(" Rate "),
                                       b.named("combo_ver_rate", rate_combo())})});
    GtkWidget* trajectory = gtk_vbox_new(FALSE, 2);
    pack(trajectory, row({b.check("check_ver_trazas", "Draw "), text_label("Size "),
                          b.spin("spin_ver_tamano_trazas", {1, 1, 30, 1, 1}, 0)}));
    pack(trajectory, row({text_label("Fr "), b.spin("spin_ver_origen_trazas", {1, 1, 3000, 1, 10}, 0), text_label(" To "),
                          b.spin("spin_ver_destino_trazas", {1, 1, 3000, 1, 10}, 0)}));
    pack(trajectory, scrolled(b.clist("list_ver_trazas", {80}, {}, GTK_SELECTION_MULTIPLE)), true);
    GtkWidget* page = gtk_hbox_new(FALSE, 3);
    pack(page, framed(" General ", general));
    pack(page, framed(" Armature ", armature));
    pack(page, framed(" Trajectory ", trajectory), true);
    return page;
}

GtkWidget* ent_page(WindowBuilder& b) {
    GtkWidget* entity =
        column({b.check("checkbutton_velocity", "Velocity "),
                row({text_label(" Size "), b.spin("spinbutton_velocity", {0.5, 0, 40, 0.1, 0.1}, 1),
                     text_label(" Render "), render_menu(b, "optionmenu_velocity")}),
                b.check("checkbutton_acceleration", "Acceleration "),
                row({text_label(" Size "), b.spin("spinbutton_acceleration", {0.5, 0, 40, 0.1, 0.1}, 1),
                     text_label(" Render "), render_menu(b, "optionmenu_acceleration")})});
    GtkWidget* list = scrolled(b.clist("clist_entity", {80}, {}, GTK_SELECTION_MULTIPLE));
    gtk_widget_set_size_request(list, 100, -1);
    GtkWidget* calculated = gtk_hbox_new(FALSE, 3);
    pack(calculated, entity);
    pack(calculated, list, true);
    const Adjust offset{0, -1000, 1000, 0.01, 0.5};
    GtkWidget* drawing = column({form({{"Offset X Axis ", b.spin("spinbutton_offsetx", offset, 2)},
                                       {"Offset Y Axis ", b.spin("spinbutton_offsety", offset, 2)},
                                       {"Offset Z Axis ", b.spin("spinbutton_offsetz", offset, 2)}}),
                                 framed(" Initial Frame ", b.hscale("hscale_init", {0, -999, 999, 1, 1}, 0, GTK_POS_LEFT)),
                                 b.check("checkbutton_drawbox", " Draw Bound Box", true)});
    GtkWidget* page = gtk_hbox_new(FALSE, 3);
    pack(page, framed(" Calculated Entity ", calculated), true);
    pack(page, framed(" Drawing Options ", drawing));
    return page;
}

GtkWidget* plot_page(WindowBuilder& b) {
    GtkWidget* select = column(
        {form({{"Layer", b.option_menu("option_layer_plot")},
               {"Channel", b.option_menu("option_channel_plot")},
               {"From  ", with_tip(b.spin("spin_from_plot", {1, 1, 300, 1, 10}, 0), "Initial Frame to Represent")},
               {" To ", with_tip(b.spin("spin_to_plot", {1, 1, 300, 1, 10}, 0), "Last Frame to Represent")},
               {"Label ", b.entry("entry_label_plot")},
               {"Colour ", b.option_menu("option_colour_plot", {"Red", "Green", "Blue", "Violet", "Light Blue", "Brown",
                                                                 "Yellow", "Dark Blue", "Orange", "Dark Green",
                                                                 "Light Violet", "Dark Red"})}}),
         row({b.check("check_usedots_plot", "Use Dots"), b.check("check_filledcurves_plot", "Filled Curves")})});
    GtkWidget* moves = column({with_tip(b.button("button_add_plot", " >> "), "Add Current Channel"),
                               with_tip(b.button("button_remove_plot", " << "), "Remove Selection")});
    GtkWidget* list = scrolled(b.clist("clist_toplot_plot", {80}, {}, GTK_SELECTION_MULTIPLE));
    gtk_widget_set_size_request(list, 100, -1);
    // What the last plot came to, on one line under the list so the page keeps its height.
    GtkWidget* result = b.label("label_result_plot", "", 0);
    gtk_label_set_ellipsize(GTK_LABEL(result), PANGO_ELLIPSIZE_END);
    GtkWidget* to_plot = gtk_vbox_new(FALSE, 2);
    pack(to_plot, list, true);
    pack(to_plot, result);
    GtkWidget* xyz = with_tip(b.radio("radiobutton_xyz_plot", "XYZ", nullptr, true), "3D Plot");
    GtkWidget* type = column(
        {row({text_label("Axis: "), xyz,
              with_tip(b.radio("radiobutton_x_plot", "X", xyz), "2D Plot (X Axis of Channels)"),
              with_tip(b.radio("radiobutton_y_plot", "Y", xyz), "2D Plot (Y Axis of Channels)"),
              with_tip(b.radio("radiobutton_z_plot", "Z", xyz), "2D Plot (Z Axis of Channels)")}),
         row({text_label("3D View: "), text_label("RX"),
              with_tip(b.spin("spinbutton_rx_plot", {60, 0, 180, 1, 10}, 0, true), "Rotation X Axis"), text_label("RZ"),
              with_tip(b.spin("spinbutton_rz_plot", {30, 0, 360, 1, 10}, 0, true), "Rotation Z Axis")})});
    GtkWidget* output = column(
        {row({text_label("X Res: "),
              with_tip(b.spin("spinbutton_xres_plot", {640, 0, 4000, 1, 10}, 0, true), "Output Image Width"),
              text_label("Y Res: "),
              with_tip(b.spin("spinbutton_yres_plot", {480, 0, 4000, 1, 10}, 0, true), "Output Image Height")}),
         row({text_label("Title: "), with_tip(b.entry("entry_title_plot"), "Title of the Output Image")}),
         b.button("button_plot_plot", "Plot Image  ", "s_aceptar.XPM")});
    GtkWidget* right = column({framed(" Plot Type ", type), framed(" PNG Output ", output)});
    GtkWidget* page = gtk_hbox_new(FALSE, 3);
    pack(page, framed(" Select Channels ", select));
    pack(page, moves);
    pack(page, framed(" To Plot ", to_plot), true);
    pack(page, right);
    return page;
}

GtkWidget* avi_page(WindowBuilder& b) {
    GtkWidget* options = column(
        {row({text_label(" Filename"), b.entry("entry_filename_avi"), b.button("button_select_avi", nullptr, "s_abrir.XPM")}),
         row({text_label(" AVI Resolution  - Width: "), b.label("label_avi_width", "0"), text_label("     Height: "),
              b.label("label_avi_height", "0")}),
         row({text_label(" FrameRate"), with_tip(b.spin("spin_fps_avi", {20, 1, 50, 1, 10}, 0, true), "Frames per Second"),
              text_label("KeyFR"),
              with_tip(b.spin("spin_kfps_avi", {1, 0, 10, 1, 2}, 0, true), "Key Frame Rate (Keyframe per second)")}),
         row({with_tip(b.button("button_export_video_avi", "Export Video\u2026"),
                       "Draws the chosen frames once and writes them to a video file with ffmpeg")})});
    const Adjust colour{0.85, 0, 1, 0.01, 0.1};
    GtkWidget* background = row({text_label("Red"), with_tip(b.spin("spin_red_avi", colour, 2, true), "Red component"),
                                 text_label("Green"), with_tip(b.spin("spin_green_avi", colour, 2, true), "Green component"),
                                 text_label("Blue"), with_tip(b.spin("spin_blue_avi", colour, 2, true), "Blue component")});
    GtkWidget* codecs = gtk_vbox_new(FALSE, 2);
    pack(codecs, b.check("check_selcodec_avi", "Select a Codec (not use Raw AVI)"));
    pack(codecs, scrolled(b.clist("clist_codecs_avi", {200}, {}, GTK_SELECTION_SINGLE)), true);
    GtkWidget* quality = gtk_hbox_new(FALSE, 3);
    pack(quality, b.label("label_quality_avi", "Quality "));
    pack(quality, b.hscale("hscale_quality_avi", {7500, 1, 10000, 100, 500}, 0, GTK_POS_RIGHT), true);
    pack(codecs, quality);
    GtkWidget* left = column({framed(" Video Options ", options), framed(" Background Colour ", background)});
    GtkWidget* page = gtk_hbox_new(FALSE, 3);
    pack(page, left);
    pack(page, codecs, true);
    return page;
}

// Each page scrolls when the window is too small for it, so no widget is ever squeezed.
void add_page(GtkWidget* notebook, GtkWidget* page, const char* tab) {
    gtk_container_set_border_width(GTK_CONTAINER(page), 3);
    gtk_widget_show(page);
    GtkWidget* window = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(window), GTK_POLICY_AUTOMATIC, GTK_POLICY_NEVER);
    gtk_scrolled_window_add_with_viewport(GTK_SCROLLED_WINDOW(window), page);
    gtk_viewport_set_shadow_type(GTK_VIEWPORT(gtk_bin_get_child(GTK_BIN(window))), GTK_SHADOW_NONE);
    gtk_widget_show_all(window);
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), window, text_label(tab, 0.5f));
}

}  // namespace

GtkWidget* create_info_notebook(GtkWidget* window) {
    WindowBuilder b(window);
    GtkWidget* notebook = b.named("notebook_info", gtk_notebook_new());
    gtk_notebook_set_tab_pos(GTK_NOTEBOOK(notebook), GTK_POS_LEFT);
    add_page(notebook, info_page(b), "Info");
    add_page(notebook, vis_page(b), "Vis");
    add_page(notebook, ent_page(b), "Ent");
    add_page(notebook, plot_page(b), "Plot");
    add_page(notebook, avi_page(b), "AVI");
    return notebook;
}
