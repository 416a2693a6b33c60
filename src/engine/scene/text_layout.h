// The text printer's arithmetic: where each glyph of a text goes, which cell of the 16 x 16 font
// grid it takes, the in-line codes for colour, bold and italic, and the scissor box.
#pragma once

#include <vector>

constexpr int DEFAULT_CHAR_SIZE = 12;
constexpr int ITALIC_SLANT = 8;
constexpr int FONT_GRID = 16;
constexpr int TEXT_BUFFER_BYTES = 1024;

struct TextState {
    int char_size = DEFAULT_CHAR_SIZE;
    float text_colour[4] = {1, 1, 1, 1};
    int italic_slant = 0;
    bool bold = false;
};

struct FontCell {
    float u, v;
};

// The lower-left corner, in texture coordinates, of the cell of character code n (0..255):
// column n mod 16, row n div 16 counted from the top.
FontCell font_cell(unsigned char n);

struct GlyphQuad {
    int x, y;        // lower-left corner in window pixels
    int size;        // side of the square
    int slant;       // shift of the top edge
    FontCell cell;
    float colour[4];
};

struct TextLayout {
    int scissor_x = 0, scissor_y = 0, scissor_width = 0, scissor_height = 0;
    std::vector<GlyphQuad> quads;  // kept between prints, so printing allocates nothing once grown
};

// Lays out `text` with its first glyph's lower-left corner at (x, y); glyphs stop once the pen
// passes the right edge of the viewport. Malformed codes are drawn as plain characters; the
// text is never read past its end.
void layout_text(const char* text, int x, int y, const TextState& state, int viewport_x, int viewport_width,
                 TextLayout& out);
