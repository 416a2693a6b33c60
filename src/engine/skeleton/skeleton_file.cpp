// The skeleton of a capture to and from BON files. The model changes only when a whole
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

void take_skeleton(CaptureData& data, const Skeleton& skeleton) {
    for (int m = 0; m < skeleton.mark_count; ++m) data.mark_styles[m] = skeleton.mark_styles[m];
    for (int b = 0; b < skeleton.bone_count; ++b) data.bones[b] = skeleton.bones[b];
    data.bone_count = skeleton.bone_count;
}

}  // namespace

Status skeleton_load_file(CaptureData& data, const std::string& path) {
    std::string text, reason;
    // A file that cannot be opened fails quietly; one that is no file to read says so.
    switch (read_regular_file(path, MOST_SKELETON_BYTES, text, reason)) {
    case FileRead::done: break;
    case FileRead::cannot_open: return Status::quiet_failure("Error opening file:\n " + path + "\n " + reason);
    case FileRead::refused: return Status::failure("Error opening file:\n " + path + "\n " + reason);
    }
    Skeleton skeleton;
    std::string error;
    if (bon_parse(text, data.mark_count(), skeleton, error) != 0) return Status::failure(error);
    take_skeleton(data, skeleton);
    data.skeleton_changed = false;
    status_set(" Skeleton file has been opened.");
    return {};
}

int skeleton_load(CaptureData& data, const std::string& path) { return show_failure(skeleton_load_file(data, path)); }

int skeleton_load(const std::string& path) { return skeleton_load(app, path); }

Status skeleton_write_file(CaptureData& data, const std::string& path) {
    const std::string reason = replace_file(path, IDF_TEMP_FILE_NAME, [&data](FILE* out) {
                                   status_set(" Saving Skeleton File... ");
                                   return bon_write_stream(data, out);
                               }).reason;
    if (!reason.empty()) return Status::failure("Error saving file:\n " + path + "\n " + reason);
    data.skeleton_changed = false;
    status_set(" Skeleton File has been saved");
    return {};
}

int skeleton_save(CaptureData& data, const std::string& path) { return skeleton_write_file(data, path).ok() ? 0 : 1; }

int skeleton_save(const std::string& path) { return skeleton_save(app, path); }

void skeleton_reset(CaptureData& data) {
    reset_mark_styles(data);
    data.bone_count = 0;
}

void skeleton_reset() { skeleton_reset(app); }

int skeleton_open(CaptureData& data, const std::string& path) {
    if (skeleton_load(data, path) != 0) return 1;
    data.skeleton_file = path;
    return 0;
}

// A save the user cannot see fail would look like a success: the reason is shown as Save as shows it.
int skeleton_save_bound(CaptureData& data) {
    if (data.skeleton_file.empty()) return 1;
    return show_failure(skeleton_write_file(data, data.skeleton_file));
}

int skeleton_save_as(CaptureData& data, const std::string& path) { return show_failure(skeleton_write_file(data, path)); }
