// Saving and restoring the GL state around a frame, and reading GL's error flags by name.
#include "gui/gl/frame_state.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

const char* error_name(GLenum error) {
    switch (error) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    default: return "unknown GL error";
    }
}

}  // namespace

FrameState::FrameState() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

FrameState::~FrameState() {
    // The matrix mode is part of the attributes: the pops go first, each on its own stack.
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
#ifndef NDEBUG
    for (const std::string& error : gl_errors()) {
        std::fprintf(stderr, "zemo: GL error in a frame of the view: %s\n", error.c_str());
    }
#endif
}

std::vector<std::string> gl_errors() {
    std::vector<std::string> errors;
    // GL keeps one flag per kind of error, so a handful of reads clears them all; the bound keeps
    // a context that answers with the same error forever from holding the loop.
    for (int read = 0; read < 8; ++read) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) break;
        errors.emplace_back(error_name(error));
    }
    return errors;
}
