// Small factories that make a widget, give it its settings and register it under its name on
// the window being built, so the window descriptions read as lists of named widgets.
#pragma once

#include <gtk/gtk.h>

#include <initializer_list>
#include <utility>

struct Adjust {
    double value, lower, upper, step, page;
};

class WindowBuilder {
public:
    explicit WindowBuilder(GtkWidget* window) : window_(window) {}

    GtkWidget* window() const { return window_; }

    // Registers and shows the widget; returns it.
    GtkWidget* named(const char* name, GtkWidget* widget);

    GtkWidget* label(const char* name, const char* text, float xalign = 0.5f);
    GtkWidget* image(const char* name, const char* file);
    // A button with an optional image left of an optional text.
    GtkWidget* button(const char* name, const char* text, const char* image_file = nullptr);
    GtkWidget* toggle(const char* name, const char* image_file);
    GtkWidget* check(const char* name, const char* text, bool active = false);
    GtkWidget* radio(const char* name, const char* text, GtkWidget* group_member, bool active = false);
    GtkWidget* spin(const char* name, Adjust a, int digits, bool numeric = false);
    GtkWidget* hscale(const char* name, Adjust a, int digits, GtkPositionType value_position);
    GtkWidget* entry(const char* name);
    GtkWidget* option_menu(const char* name, std::initializer_list<const char*> items = {});
    // A column list; titles are shown when given.
    GtkWidget* clist(const char* name, std::initializer_list<int> widths, std::initializer_list<const char*> titles,
                     GtkSelectionMode mode);
    GtkWidget* text_view(const char* name, const char* font);
    GtkWidget* frame(const char* name, const char* caption);
    GtkWidget* hbox(const char* name, int spacing = 2);
    GtkWidget* vbox(const char* name, int spacing = 2);

private:
    GtkWidget* window_;
};

// Packing shorthands.
void pack(GtkWidget* box, GtkWidget* child, bool expand = false, int padding = 0);
void pack_all(GtkWidget* box, std::initializer_list<GtkWidget*> children);
void tooltip(GtkWidget* widget, const char* text);
GtkWidget* scrolled(GtkWidget* child);
// A container with a border holding one child.
GtkWidget* padded(GtkWidget* container, GtkWidget* child, int border = 4);
// An unnamed label.
GtkWidget* text_label(const char* text, float xalign = 0.0f);
// A frame with a caption around a padded child.
GtkWidget* framed(const char* caption, GtkWidget* child);
// Children side by side, or one above the other.
GtkWidget* row(std::initializer_list<GtkWidget*> children);
GtkWidget* column(std::initializer_list<GtkWidget*> children);
// The widget, with a tooltip.
GtkWidget* with_tip(GtkWidget* widget, const char* text);
// A table of rows, each a label and a widget.
GtkWidget* form(std::initializer_list<std::pair<const char*, GtkWidget*>> rows);
