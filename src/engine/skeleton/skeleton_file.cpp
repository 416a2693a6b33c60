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

std::string last_save_error;

// Far more than a skeleton of the most marks and bones takes.
constexpr size_t MOST_SKELETON_BYTES = 1 << 20;

void take_skeleton(CaptureData& data, const Skeleton& skeleton) {
    for (int m = 0; m < skeleton.mark_count; ++m) data.mark_styles[m] = skeleton.mark_styles[m];
    for (int b = 0; b < skeleton.bone_count; ++b) data.bones[b] = skeleton.bones[b];
    data.bone_count = skeleton.bone_count;
}

}  // namespace

int skeleton_load(CaptureData& data, const std::string& path) {
    std::string text, reason;
    // A file that cannot be opened fails quietly; one that is no file to read says so.
    switch (read_regular_file(path, MOST_SKELETON_BYTES, text, reason)) {
    case FileRead::done: break;
    case FileRead::cannot_open: return 1;
    case FileRead::refused: show_error("Error opening file:\n " + path + "\n " + reason); return 1;
    }
    Skeleton skeleton;
    std::string error;
    if (bon_parse(text, data.mark_count(), skeleton, error) != 0) {
        show_error(error);
        return 1;
    }
    take_skeleton(data, skeleton);
    data.skeleton_changed = false;
    status_set(" Skeleton file has been opened.");
    return 0;
}

int skeleton_load(const std::string& path) { return skeleton_load(app, path); }

int skeleton_save(CaptureData& data, const std::string& path) {
    last_save_error = replace_file(path, IDF_TEMP_FILE_NAME, [&data](FILE* out) {
                          status_set(" Saving Skeleton File... ");
                          return bon_write_stream(data, out);
                      }).reason;
    if (!last_save_error.empty()) return 1;
    data.skeleton_changed = false;
    status_set(" Skeleton File has been saved");
    return 0;
}

int skeleton_save(const std::string& path) { return skeleton_save(app, path); }

const std::string& skeleton_save_error() { return last_save_error; }

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
    if (skeleton_save(data, data.skeleton_file) == 0) return 0;
    show_error("Error saving file:\n " + data.skeleton_file + "\n " + last_save_error);
    return 1;
}

int skeleton_save_as(CaptureData& data, const std::string& path) {
    if (skeleton_save(data, path) == 0) return 0;
    show_error("Error saving file:\n " + path + "\n " + last_save_error);
    return 1;
}
