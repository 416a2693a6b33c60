// Skeleton edits on a capture; each one that changes the skeleton marks it unsaved. The
// callers pass menu positions, so indices outside the marks, colours or bones are programming errors.
#include "engine/skeleton/skeleton_edit.h"

#include <cassert>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/model/seams.h"

namespace {

[[maybe_unused]] bool valid_mark(const CaptureData& data, int m) { return m >= 0 && m < data.mark_count(); }
[[maybe_unused]] bool valid_colour(int c) { return c >= 0 && c < colour_count; }
[[maybe_unused]] bool valid_bone(const CaptureData& data, int b) { return b >= 0 && b < data.bone_count; }

}  // namespace

bool skeleton_check_bone(const CaptureData& data, int origin, int destination, int edited) {
    if (origin == destination) {
        show_error("Select distinct origin and destination channels");
        return false;
    }
    for (int b = 0; b < data.bone_count; ++b) {
        if (b == edited) continue;
        const Bone& bone = data.bones[b];
        if (bone.origin == origin && bone.destination == destination) {
            show_error("This bone has been inserted previously");
            return false;
        }
        if (bone.origin == destination && bone.destination == origin) {
            show_error("This bone (inverted) has been inserted previously");
            return false;
        }
    }
    return true;
}

bool skeleton_check_bone(int origin, int destination, int edited) {
    return skeleton_check_bone(app, origin, destination, edited);
}

int skeleton_insert_bone(CaptureData& data, int origin, int destination, int colour) {
    assert(valid_mark(data, origin) && valid_mark(data, destination) && valid_colour(colour) &&
           "skeleton_insert_bone: bad index");
    if (data.bone_count >= MAX_BONES) {
        show_error("The skeleton is full: a layer holds at most " + std::to_string(MAX_BONES) + " bones");
        return 1;
    }
    if (!skeleton_check_bone(data, origin, destination)) return 1;
    data.bones[data.bone_count++] = {colour, origin, destination};
    data.skeleton_changed = true;
    return 0;
}

int skeleton_change_bone(CaptureData& data, int index, int origin, int destination, int colour) {
    assert(valid_bone(data, index) && valid_mark(data, origin) && valid_mark(data, destination) &&
           valid_colour(colour) && "skeleton_change_bone: bad index");
    if (!skeleton_check_bone(data, origin, destination, index)) return 1;
    data.bones[index] = {colour, origin, destination};
    data.skeleton_changed = true;
    return 0;
}

void skeleton_delete_bone(CaptureData& data, int index) {
    assert(valid_bone(data, index) && "skeleton_delete_bone: no such bone");
    for (int b = index; b + 1 < data.bone_count; ++b) data.bones[b] = data.bones[b + 1];
    --data.bone_count;
    data.skeleton_changed = true;
}

void skeleton_delete_bone(int index) { skeleton_delete_bone(app, index); }

void skeleton_change_mark(CaptureData& data, int mark, int colour, int visible) {
    assert(valid_mark(data, mark) && valid_colour(colour) && "skeleton_change_mark: bad index");
    const MarkStyle style = {colour, visible != 0 ? 1 : 0};
    if (data.mark_styles[mark].colour == style.colour && data.mark_styles[mark].visible == style.visible) return;
    data.mark_styles[mark] = style;
    data.skeleton_changed = true;
}
