// The information block over the view: for each chosen mark, its state, name and coordinates at
// the frame shown, one line per mark from the top edge down.
#pragma once

#include "engine/model/capture_model.h"

struct TextBlockPiece {
    int x, y;
    float colour[3];
    char text[64];
};

constexpr int TEXT_BLOCK_PIECES = 5;
constexpr int TEXT_BLOCK_CHAR_SIZE = 9;

// The five pieces of line `line` for mark m at `frame` of the capture: "[OK]" or "[NO]" in the
// mark's colour, then in black the name and the raw x, y and z ("ERROR" when x is lost).
void text_block_line(const CaptureData& data, int line, int mark, int frame, int view_height,
                     TextBlockPiece pieces[TEXT_BLOCK_PIECES]);
