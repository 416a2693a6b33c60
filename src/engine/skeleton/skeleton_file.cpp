// The skeleton of the working copy to and from BON files. The model changes only when a whole
// file has been read and found valid; a save never leaves a half-written file behind.
#include "engine/skeleton/skeleton_file.h"

#include <cstdio>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/skeleton/bon_format.h"
#include "platform/file_replace.h"
#include "platform/regular_file.h"

namespace {

// Far more than a skeleton of the most marks and bones takes.
constexpr size_t MOST_SKELETON_BYTES = 1 << 20;

void take_skeleton(const Skeleton& skeleton) {
    for (int m = 0; m < skeleton.mark_count; ++m) app.mark_styles[m] = skeleton.mark_styles[m];
    for (int b = 0; b < skeleton.bone_count; ++b) app.bones[b] = skeleton.bones[b];
    app.bone_count = skeleton.bone_count;
}

}  // namespace

Status skeleton_load_file(const std::string& path) {
    std::string text, reason;
    // A file that cannot be opened fails quietly; one that is no file to read says so.
    switch (read_regular_file(path, MOST_SKELETON_BYTES, text, reason)) {
    case FileRead::done: break;
    case FileRead::cannot_open: return Status::quiet_failure("Error opening file:\n " + path + "\n " + reason);
    case FileRead::refused: return Status::failure("Error opening file:\n " + path + "\n " + reason);
    }
    Skeleton skeleton;
    std::string error;
    if (bon_parse(text, app.mark_count(), skeleton, error) != 0) return Status::failure(error);
    take_skeleton(skeleton);
    app.skeleton_changed = false;
    status_set(" Skeleton file has been opened.");
    return {};
}

int skeleton_load(const std::string& path) { return show_failure(skeleton_load_file(path)); }

Status skeleton_write_file(const std::string& path) {
    const std::string reason = replace_file(path, IDF_TEMP_FILE_NAME, [](FILE* out) {
                                   status_set(" Saving Skeleton File... ");
                                   return bon_write_stream(app, out);
                               }).reason;
    if (!reason.empty()) return Status::failure("Error saving file:\n " + path + "\n " + reason);
    app.skeleton_changed = false;
    status_set(" Skeleton File has been saved");
    return {};
}

int skeleton_save(const std::string& path) { return skeleton_write_file(path).ok() ? 0 : 1; }

void skeleton_reset() {
    reset_mark_styles(app);
    app.bone_count = 0;
}

int skeleton_open(const std::string& path) {
    if (skeleton_load(path) != 0) return 1;
    app.skeleton_file = path;
    return 0;
}

// A save the user cannot see fail would look like a success: the reason is shown as Save as shows it.
int skeleton_save_bound() {
    if (app.skeleton_file.empty()) return 1;
    return show_failure(skeleton_write_file(app.skeleton_file));
}

int skeleton_save_as(const std::string& path) { return show_failure(skeleton_write_file(path)); }
