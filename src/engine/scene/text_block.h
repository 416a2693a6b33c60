// The information block over the view: for each chosen mark, its state, name and coordinates at
// the frame shown, one line per mark from the top edge down.
#pragma once

#include <array>
#include <vector>

#include "engine/model/capture_model.h"

struct TextBlockPiece {
    int x, y;
    float colour[3];
    char text[64];
};

constexpr int TEXT_BLOCK_PIECES = 5;
constexpr int TEXT_BLOCK_CHAR_SIZE = 9;
constexpr int TEXT_BLOCK_GAP = 4;  // pixels between a column's widest text and the next column

// The five pieces of line `line` for mark m at `frame` of the capture: "[OK]" or "[NO]" in the
// mark's colour, then in black the name and the raw x, y and z; a lost mark's line ("ERROR" for
// each coordinate) is red throughout.
void text_block_line(const CaptureData& data, int line, int mark, int frame, int view_height,
                     TextBlockPiece pieces[TEXT_BLOCK_PIECES]);

using TextBlockLine = std::array<TextBlockPiece, TEXT_BLOCK_PIECES>;
// Each column as wide as its widest text (a long name pushes the coordinates right), and never
// left of where a line puts it.
void text_block_align(std::vector<TextBlockLine>& lines);
