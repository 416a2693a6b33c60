// Skeleton edits on the working copy; each one that changes the skeleton marks it unsaved. The
// callers pass menu positions, so indices outside the marks, colours or bones are programming errors.
#include "engine/skeleton/skeleton_edit.h"

#include <cassert>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/model/seams.h"

namespace {

[[maybe_unused]] bool valid_mark(int m) { return m >= 0 && m < app.mark_count(); }
[[maybe_unused]] bool valid_colour(int c) { return c >= 0 && c < colour_count; }
[[maybe_unused]] bool valid_bone(int b) { return b >= 0 && b < app.bone_count; }

}  // namespace

bool skeleton_check_bone(int origin, int destination, int edited) {
    if (origin == destination) {
        show_error("Select distinct origin and destination channels");
        return false;
    }
    for (int b = 0; b < app.bone_count; ++b) {
        if (b == edited) continue;
        const Bone& bone = app.bones[b];
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

int skeleton_insert_bone(int origin, int destination, int colour) {
    assert(valid_mark(origin) && valid_mark(destination) && valid_colour(colour) && "skeleton_insert_bone: bad index");
    if (app.bone_count >= MAX_BONES) {
        show_error("The skeleton is full: a layer holds at most " + std::to_string(MAX_BONES) + " bones");
        return 1;
    }
    if (!skeleton_check_bone(origin, destination)) return 1;
    app.bones[app.bone_count++] = {colour, origin, destination};
    app.skeleton_changed = true;
    return 0;
}

int skeleton_change_bone(int index, int origin, int destination, int colour) {
    assert(valid_bone(index) && valid_mark(origin) && valid_mark(destination) && valid_colour(colour) &&
           "skeleton_change_bone: bad index");
    if (!skeleton_check_bone(origin, destination, index)) return 1;
    app.bones[index] = {colour, origin, destination};
    app.skeleton_changed = true;
    return 0;
}

void skeleton_delete_bone(int index) {
    assert(valid_bone(index) && "skeleton_delete_bone: no such bone");
    for (int b = index; b + 1 < app.bone_count; ++b) app.bones[b] = app.bones[b + 1];
    --app.bone_count;
    app.skeleton_changed = true;
}

void skeleton_change_mark(int mark, int colour, int visible) {
    assert(valid_mark(mark) && valid_colour(colour) && "skeleton_change_mark: bad index");
    const MarkStyle style = {colour, visible != 0 ? 1 : 0};
    if (app.mark_styles[mark].colour == style.colour && app.mark_styles[mark].visible == style.visible) return;
    app.mark_styles[mark] = style;
    app.skeleton_changed = true;
}
