// Text layout. A backslash starts a code: \c(r g b) and \a(r g b a) set the colour, \b+ \b- bold,
// \i+ \i- italic; anything else after a backslash draws the backslash as a glyph.
#include "engine/scene/text_layout.h"

#include <cstring>

namespace {

// Reads "(n n n)" with `count` integers at p; on success returns the character after ")".
const char* parse_colour(const char* p, int count, int values[4]) {
    if (*p != '(') return nullptr;
    ++p;
    for (int i = 0; i < count; ++i) {
        while (*p == ' ' || *p == '\t') ++p;
        bool negative = false;
        if (*p == '-' || *p == '+') negative = *p++ == '-';
        if (*p < '0' || *p > '9') return nullptr;
        long value = 0;
        while (*p >= '0' && *p <= '9') {
            if (value < 100000) value = value * 10 + (*p - '0');
            ++p;
        }
        values[i] = static_cast<int>(negative ? -value : value);
    }
    while (*p == ' ' || *p == '\t') ++p;
    return *p == ')' ? p + 1 : nullptr;
}

// Applies the code after a backslash at p; returns the character after the code, or nullptr
// when it is not a well-formed code.
const char* apply_code(const char* p, TextState& state) {
    int values[4] = {0, 0, 0, 255};
    switch (*p) {
    case 'c':
    case 'a': {
        const char* after = parse_colour(p + 1, *p == 'c' ? 3 : 4, values);
        if (!after) return nullptr;
        for (int i = 0; i < 4; ++i) state.text_colour[i] = values[i] / 255.0f;
        return after;
    }
    case 'b':
    case 'i':
        if (p[1] != '+' && p[1] != '-') return nullptr;
        if (*p == 'b') {
            state.bold = p[1] == '+';
        } else {
            state.italic_slant = p[1] == '+' ? ITALIC_SLANT : 0;
        }
        return p + 2;
    default:
        return nullptr;
    }
}

void add_glyph(unsigned char c, int x, int y, const TextState& state, TextLayout& out) {
    GlyphQuad quad{x, y, state.char_size, state.italic_slant, font_cell(c), {}};
    std::memcpy(quad.colour, state.text_colour, sizeof quad.colour);
    out.quads.push_back(quad);
    if (state.bold) {
        quad.x += 1;
        out.quads.push_back(quad);
    }
}

}  // namespace

FontCell font_cell(unsigned char n) {
    const float cell = 1.0f / FONT_GRID;
    return {(n % FONT_GRID) * cell, 1.0f - (n / FONT_GRID + 1) * cell};
}

void layout_text(const char* text, int x, int y, const TextState& initial, int viewport_x, int viewport_width,
                 TextLayout& out) {
    out.quads.clear();
    TextState state = initial;
    const int k = state.char_size;
    const int right = viewport_x + viewport_width;
    int lines = 0, tabs = 0;
    const size_t length = std::strlen(text);
    for (size_t i = 0; i < length; ++i) {
        lines += text[i] == '\n';
        tabs += text[i] == '\t';
    }
    const int widen = tabs > 0 ? 4 * tabs : 1;
    out.scissor_x = x;
    out.scissor_y = y - lines * k;
    out.scissor_width = k * static_cast<int>(length) * widen;
    out.scissor_height = k * (lines + 1);

    int pen_x = x, pen_y = y;
    const char* p = text;
    while (*p && pen_x <= right) {
        const char c = *p++;
        if (c == '\n') {
            pen_y -= k;
            pen_x = x - k;
        } else if (c == '\t') {
            pen_x += 4 * k;
        } else if (c == '\\') {
            if (*p == '\0') {
                // A backslash at the very end takes its room and draws nothing.
            } else if (const char* after = apply_code(p, state)) {
                p = after;
                continue;  // a code takes no room
            } else {
                add_glyph('\\', pen_x, pen_y, state, out);
            }
        } else {
            add_glyph(static_cast<unsigned char>(c), pen_x, pen_y, state, out);
        }
        pen_x += k;
    }
}
