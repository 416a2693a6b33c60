// Changing the skeleton of a capture: a mark's colour and visibility, and inserting, changing
// and deleting bones. Nothing is written to a file here.
#pragma once

#include "engine/model/capture_model.h"

// The bone index given when a pair is checked for a new bone.
constexpr int NO_BONE = -1;

// Whether a bone from `origin` to `destination` may be stored, comparing it with every bone but
// `edited`: refused (with its error box) when both ends are one mark, or when the pair or its
// inverse is already a bone. Without `data`, in the working copy.
bool skeleton_check_bone(const CaptureData& data, int origin, int destination, int edited = NO_BONE);
bool skeleton_check_bone(int origin, int destination, int edited = NO_BONE);

// Appends a bone after the last one. Returns 0 when stored; 1 when refused with a message
// (the table is full, or the check refused the pair).
int skeleton_insert_bone(CaptureData& data, int origin, int destination, int colour);

// Gives bone `index` new ends and colour. Returns 0 when stored, 1 when the check refused it.
int skeleton_change_bone(CaptureData& data, int index, int origin, int destination, int colour);

// Removes bone `index`; the bones after it move down one place, keeping their order. Without
// `data`, from the working copy.
void skeleton_delete_bone(CaptureData& data, int index);
void skeleton_delete_bone(int index);

// The colour and visibility (0 or 1) of mark `mark`.
void skeleton_change_mark(CaptureData& data, int mark, int colour, int visible);
