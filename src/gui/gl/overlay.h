// Text over the 3-D view, drawn with the font texture.
#pragma once

#include <string>

// Reads the font image into a new texture (inside a GL section); the result of the read.
int overlay_load_font(const std::string& path);
// Reads a TGA file into `texture`: 1, or the reader's failure code.
int load_tga_texture(const std::string& path, unsigned texture);

void overlay_set_size(int pixels);
void overlay_set_colour(float red, float green, float blue);
// printf-style text with its first glyph's lower-left corner at window pixel (x, y).
void overlay_print(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Prints between these two are drawn together in one call, in the order printed, where their own
// scissor box would cut none of their glyphs (nearly always): a block of many pieces of text
// costs the renderer one draw, not one a piece. GL state as it was found.
void overlay_begin_batch();
void overlay_end_batch();
