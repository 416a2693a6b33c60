// A frame of the view leaves OpenGL as it found it: every attribute, the pixel-store settings and
// both matrices are saved when it starts and put back when it ends.
#pragma once

#include <string>
#include <vector>

// Lives for one frame, inside an open GL section. Without NDEBUG, its end also reports on
// standard error each GL error the frame raised, by name; the program goes on.
class FrameState {
public:
    FrameState();
    ~FrameState();
    FrameState(const FrameState&) = delete;
    FrameState& operator=(const FrameState&) = delete;
};

// The names of the errors GL has recorded since it was last asked ("GL_INVALID_ENUM", ...);
// asking clears them.
std::vector<std::string> gl_errors();
