// Widget factories for the window descriptions.
#include "gui/kit/window_builder.h"

#include "gui/kit/widgets.h"

#include <algorithm>
#include <cmath>

GtkWidget* WindowBuilder::named(const char* name, GtkWidget* widget) {
    gtk_widget_set_name(widget, name);
    register_widget(window_, name, widget);
    gtk_widget_show(widget);
    return widget;
}

GtkWidget* WindowBuilder::label(const char* name, const char* text, float xalign) {
    GtkWidget* w = gtk_label_new(text);
    gtk_misc_set_alignment(GTK_MISC(w), xalign, 0.5f);
    return named(name, w);
}

GtkWidget* WindowBuilder::image(const char* name, const char* file) { return named(name, create_pixmap(window_, file)); }

GtkWidget* WindowBuilder::button(const char* name, const char* text, const char* image_file) {
    GtkWidget* w = gtk_button_new();
    GtkWidget* inner = gtk_hbox_new(FALSE, 2);
    if (image_file) pack(inner, create_pixmap(window_, image_file));
    if (text) pack(inner, gtk_label_new(text));
    GtkWidget* centre = gtk_alignment_new(0.5, 0.5, 0, 0);
    gtk_container_add(GTK_CONTAINER(centre), inner);
    gtk_container_add(GTK_CONTAINER(w), centre);
    gtk_widget_show_all(centre);
    return named(name, w);
}

GtkWidget* WindowBuilder::toggle(const char* name, const char* image_file) {
    GtkWidget* w = gtk_toggle_button_new();
    GtkWidget* picture = create_pixmap(window_, image_file);
    gtk_widget_show(picture);
    gtk_container_add(GTK_CONTAINER(w), picture);
    return named(name, w);
}

GtkWidget* WindowBuilder::check(const char* name, const char* text, bool active) {
    GtkWidget* w = gtk_check_button_new_with_label(text);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), active);
    return named(name, w);
}

GtkWidget* WindowBuilder::radio(const char* name, const char* text, GtkWidget* group_member, bool active) {
    GtkWidget* w = group_member ? gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(group_member), text)
                                : gtk_radio_button_new_with_label(nullptr, text);
    if (active) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), TRUE);
    return named(name, w);
}

GtkWidget* WindowBuilder::spin(const char* name, Adjust a, int digits, bool numeric) {
    GtkObject* adjustment = gtk_adjustment_new(a.value, a.lower, a.upper, a.step, a.page, 0);
    GtkWidget* w = gtk_spin_button_new(GTK_ADJUSTMENT(adjustment), 1, digits);
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(w), numeric);
    // Wide enough for the longest value of the range, and no wider.
    int integer_digits = 1;
    for (double bound = std::max(std::fabs(a.lower), std::fabs(a.upper)); bound >= 10; bound /= 10) ++integer_digits;
    gtk_entry_set_width_chars(GTK_ENTRY(w), integer_digits + (digits > 0 ? digits + 1 : 0) + (a.lower < 0 ? 1 : 0));
    return named(name, w);
}

GtkWidget* WindowBuilder::hscale(const char* name, Adjust a, int digits, GtkPositionType value_position) {
    GtkObject* adjustment = gtk_adjustment_new(a.value, a.lower, a.upper, a.step, a.page, 0);
    GtkWidget* w = gtk_hscale_new(GTK_ADJUSTMENT(adjustment));
    gtk_scale_set_digits(GTK_SCALE(w), digits);
    gtk_scale_set_value_pos(GTK_SCALE(w), value_position);
    return named(name, w);
}

GtkWidget* WindowBuilder::entry(const char* name) { return named(name, gtk_entry_new()); }

GtkWidget* WindowBuilder::option_menu(const char* name, std::initializer_list<const char*> items) {
    GtkWidget* w = gtk_option_menu_new();
    GtkWidget* menu = gtk_menu_new();
    for (const char* item : items) {
        GtkWidget* entry = gtk_menu_item_new_with_label(item);
        gtk_widget_show(entry);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
    }
    gtk_option_menu_set_menu(GTK_OPTION_MENU(w), menu);
    return named(name, w);
}

GtkWidget* WindowBuilder::clist(const char* name, std::initializer_list<int> widths,
                                std::initializer_list<const char*> titles, GtkSelectionMode mode) {
    GtkWidget* w = gtk_clist_new(static_cast<int>(widths.size()));
    int column = 0;
    for (int width : widths) gtk_clist_set_column_width(GTK_CLIST(w), column++, width);
    column = 0;
    for (const char* title : titles) gtk_clist_set_column_title(GTK_CLIST(w), column++, title);
    if (titles.size() > 0) gtk_clist_column_titles_show(GTK_CLIST(w));
    gtk_clist_set_selection_mode(GTK_CLIST(w), mode);
    return named(name, w);
}

GtkWidget* WindowBuilder::text_view(const char* name, const char* font) {
    GtkWidget* w = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(w), FALSE);
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(w), GTK_WRAP_WORD);
    PangoFontDescription* description = pango_font_description_from_string(font);
    gtk_widget_modify_font(w, description);
    pango_font_description_free(description);
    return named(name, w);
}

GtkWidget* WindowBuilder::frame(const char* name, const char* caption) { return named(name, gtk_frame_new(caption)); }

GtkWidget* WindowBuilder::hbox(const char* name, int spacing) { return named(name, gtk_hbox_new(FALSE, spacing)); }

GtkWidget* WindowBuilder::vbox(const char* name, int spacing) { return named(name, gtk_vbox_new(FALSE, spacing)); }

void pack(GtkWidget* box, GtkWidget* child, bool expand, int padding) {
    gtk_widget_show(child);
    gtk_box_pack_start(GTK_BOX(box), child, expand, expand, padding);
}

void pack_all(GtkWidget* box, std::initializer_list<GtkWidget*> children) {
    for (GtkWidget* child : children) pack(box, child);
}

void tooltip(GtkWidget* widget, const char* text) { gtk_widget_set_tooltip_text(widget, text); }

GtkWidget* scrolled(GtkWidget* child) {
    GtkWidget* window = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(window), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(window), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(window), child);
    gtk_widget_show(window);
    return window;
}

GtkWidget* padded(GtkWidget* container, GtkWidget* child, int border) {
    gtk_container_set_border_width(GTK_CONTAINER(container), 0);
    GtkWidget* inner = gtk_alignment_new(0, 0, 1, 1);
    gtk_alignment_set_padding(GTK_ALIGNMENT(inner), border, border, border, border);
    gtk_container_add(GTK_CONTAINER(inner), child);
    gtk_widget_show(child);
    gtk_widget_show(inner);
    gtk_container_add(GTK_CONTAINER(container), inner);
    return container;
}

GtkWidget* text_label(const char* text, float xalign) {
    GtkWidget* w = gtk_label_new(text);
    gtk_misc_set_alignment(GTK_MISC(w), xalign, 0.5f);
    gtk_widget_show(w);
    return w;
}

GtkWidget* form(std::initializer_list<std::pair<const char*, GtkWidget*>> rows) {
    GtkWidget* table = gtk_table_new(static_cast<guint>(rows.size()), 2, FALSE);
    gtk_table_set_row_spacings(GTK_TABLE(table), 2);
    gtk_table_set_col_spacings(GTK_TABLE(table), 4);
    guint row = 0;
    for (const auto& [caption, widget] : rows) {
        gtk_table_attach(GTK_TABLE(table), text_label(caption), 0, 1, row, row + 1, GTK_FILL, GTK_FILL, 0, 0);
        gtk_widget_show(widget);
        gtk_table_attach(GTK_TABLE(table), widget, 1, 2, row, row + 1, GTK_FILL, GTK_FILL, 0, 0);
        ++row;
    }
    gtk_widget_show(table);
    return table;
}

GtkWidget* framed(const char* caption, GtkWidget* child) {
    GtkWidget* frame = gtk_frame_new(caption);
    gtk_widget_show(frame);
    return padded(frame, child, 3);
}

GtkWidget* row(std::initializer_list<GtkWidget*> children) {
    GtkWidget* box = gtk_hbox_new(FALSE, 3);
    pack_all(box, children);
    gtk_widget_show(box);
    return box;
}

GtkWidget* column(std::initializer_list<GtkWidget*> children) {
    GtkWidget* box = gtk_vbox_new(FALSE, 2);
    pack_all(box, children);
    gtk_widget_show(box);
    return box;
}

GtkWidget* with_tip(GtkWidget* widget, const char* text) {
    tooltip(widget, text);
    return widget;
}
