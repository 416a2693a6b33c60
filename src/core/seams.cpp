// Dispatch to the installed reporting seams.
#include "core/seams.h"

#include <utility>

static Seams installed;

void install_seams(Seams seams) { installed = std::move(seams); }

Seams installed_seams() { return installed; }

int show_message(const std::string& text, int type, int buttons) {
    return installed.show_message ? installed.show_message(text, type, buttons) : 0;
}

void status_set(const std::string& text) {
    if (installed.status_set) installed.status_set(text);
}

void history_append(const std::string& text) {
    if (installed.history_append) installed.history_append(text);
}

std::optional<LayerPlacement> read_layer_placement() {
    if (!installed.read_placement) return std::nullopt;
    return installed.read_placement();
}

void layer_row_shown(int n) {
    if (installed.layer_row_shown) installed.layer_row_shown(n);
}

void layer_row_hidden(int n) {
    if (installed.layer_row_hidden) installed.layer_row_hidden(n);
}

void report_samples_changed() {
    if (installed.samples_changed) installed.samples_changed();
}

void show_error(const std::string& text) { show_message(text, MESSAGE_ERROR, BUTTONS_CLOSE); }
