// The questions that stand between the user and lost work. The layer asked about is made
// current first, because the saves work on the working copy.
#include "gui/pages/unsaved_work.h"

#include <filesystem>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/skeleton/skeleton_file.h"
#include "gui/kit/file_dialog.h"
#include "gui/kit/gtk_seams.h"
#include "gui/pages/layers_panel.h"
#include "platform/paths.h"

namespace {

enum SaveChoice { CHOSE_SAVE = 0, CHOSE_DISCARD = 1 };

bool layer_has_unsaved_work(int n) {
    return n == app.current_layer ? app.has_unsaved_work() : app.layers[n].has_unsaved_work();
}

// Save writes every capture back in the format it was read from.
bool save_capture() { return idf_save() == 0; }

bool save_skeleton() {
    if (!app.skeleton_file.empty()) return skeleton_save_bound(app) == 0;
    return file_select_wait("Save Skeleton File", "*.bon", SELECT_SAVE_SKELETON_AS) == 0;
}

bool save_unsaved_work() {
    if ((app.samples_changed || app.events_changed) && !save_capture()) return false;
    if (app.skeleton_changed && !save_skeleton()) return false;
    return true;
}

}  // namespace

bool replace_confirmed(const std::string& path) {
    std::error_code error;
    // A folder is not replaced: writing to it fails and says so.
    if (!std::filesystem::exists(path, error) || std::filesystem::is_directory(path, error)) return true;
    return ask_question("The file " + path + " already exists. Replace it?", {"Replace", "Cancel"}) == 0;
}

bool close_confirmed() {
    if (!app.has_unsaved_work()) return true;
    const std::string name = last_path_component(app.file_name);
    switch (ask_question("Save changes to " + name + "?", {"Save", "Close without saving", "Cancel"})) {
    case CHOSE_SAVE: return save_unsaved_work();
    case CHOSE_DISCARD: return true;
    default: return false;
    }
}

bool quit_confirmed() {
    const int before = app.current_layer;
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (!app.layers[n].in_use || !layer_has_unsaved_work(n)) continue;
        if (n != app.current_layer) layer_select(n);
        if (close_confirmed()) continue;
        if (before != 0 && app.current_layer != before && app.layers[before].in_use) layer_select(before);
        return false;
    }
    return true;
}
