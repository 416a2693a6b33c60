// Trajectories of very many vertices drawn once into a picture kept with its depth, then laid over
// each frame's scene through that depth, so they hide and are hidden as if drawn again; redrawn
// only when what they show changes (samples, interval, marks, colours, width, camera, placement).
#pragma once

#include <vector>

// Whether the GL in use can keep such a picture (framebuffer objects and shaders).
bool trajectory_picture_available();

// The picture for `key` (everything the trajectories' look depends on): when it is not the one
// kept, `draw` is run into it first. Then it is laid over the scene. False, having drawn nothing,
// when the picture cannot be made.
bool draw_through_trajectory_picture(const std::vector<double>& key, int width, int height, void (*draw)(void*),
                                     void* context);
