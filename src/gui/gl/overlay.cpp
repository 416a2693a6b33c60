// The text printer: the laid-out glyphs become textured quads in window pixels. Every piece of
// GL state it changes is restored exactly as found.
#include "gui/gl/overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "engine/scene/text_layout.h"
#include "engine/scene/tga_image.h"

namespace {

GLuint font_texture = 0;
TextState text_state;
TextLayout layout;  // kept, so a print allocates nothing once its quads have grown

}  // namespace

int load_tga_texture(const std::string& path, unsigned texture) {
    TgaImage image;
    const int result = tga_read_file(path, image);
    if (result != TGA_OK) return result;
    const GLenum format = image.channels == 1 ? GL_ALPHA : image.channels == 3 ? GL_RGB : GL_RGBA;
    // The binding and the unpack alignment go back as they were; the parameters belong to the texture.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format, GL_UNSIGNED_BYTE,
                 image.pixels.data());
    glPopClientAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return TGA_OK;
}

int overlay_load_font(const std::string& path) {
    if (font_texture == 0) glGenTextures(1, &font_texture);
    return load_tga_texture(path, font_texture);
}

void overlay_set_size(int pixels) { text_state.char_size = pixels; }

void overlay_set_colour(float red, float green, float blue) {
    text_state.text_colour[0] = red;
    text_state.text_colour[1] = green;
    text_state.text_colour[2] = blue;
    text_state.text_colour[3] = 1.0f;
}

namespace {

// Quads of prints that the scissor would not cut, waiting to be drawn together.
std::vector<GlyphQuad> batch;
bool batching = false;

// Whether every glyph of the layout lies inside its scissor box, so that the box cuts nothing.
bool inside_scissor(const TextLayout& text) {
    for (const GlyphQuad& q : text.quads) {
        const int left = q.x + std::min(0, q.slant), right = q.x + q.size + std::max(0, q.slant);
        if (left < text.scissor_x || right > text.scissor_x + text.scissor_width || q.y < text.scissor_y ||
            q.y + q.size > text.scissor_y + text.scissor_height) {
            return false;
        }
    }
    return true;
}

// Draws the quads in window pixels, cut by the scissor box when one is given.
void draw_quads(const std::vector<GlyphQuad>& quads, const TextLayout* scissor) {
    if (quads.empty()) return;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The enables, polygon modes, blending, scissor box, texture binding and environment, matrix
    // mode and current colour: all that the text changes comes back with the pop.
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT | GL_TEXTURE_BIT |
                 GL_TRANSFORM_BIT | GL_CURRENT_BIT);

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    if (scissor) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(scissor->scissor_x, scissor->scissor_y, scissor->scissor_width, scissor->scissor_height);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, font_texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    const float cell = 1.0f / FONT_GRID;
    glBegin(GL_QUADS);
    for (const GlyphQuad& q : quads) {
        glColor4fv(q.colour);
        glTexCoord2f(q.cell.u, q.cell.v);
        glVertex2i(q.x, q.y);
        glTexCoord2f(q.cell.u + cell, q.cell.v);
        glVertex2i(q.x + q.size, q.y);
        glTexCoord2f(q.cell.u + cell, q.cell.v + cell);
        glVertex2i(q.x + q.size + q.slant, q.y + q.size);
        glTexCoord2f(q.cell.u, q.cell.v + cell);
        glVertex2i(q.x + q.slant, q.y + q.size);
    }
    glEnd();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void flush_batch() {
    draw_quads(batch, nullptr);
    batch.clear();
}

}  // namespace

void overlay_print(int x, int y, const char* format, ...) {
    char text[TEXT_BUFFER_BYTES];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    layout_text(text, x, y, text_state, viewport[0], viewport[2], layout);
    text_state = TextState{};
    if (batching && inside_scissor(layout)) {
        batch.insert(batch.end(), layout.quads.begin(), layout.quads.end());
        return;
    }
    // Drawn in the order printed: what waits goes first.
    flush_batch();
    draw_quads(layout.quads, &layout);
}

void overlay_begin_batch() { batching = true; }

void overlay_end_batch() {
    flush_batch();
    batching = false;
}
