// Exporting a video: each frame of a range drawn once in the view's back buffer (never shown)
// and piped to ffmpeg, with no playback and no image folder.
#pragma once

#include <functional>
#include <string>

#include "engine/scene/video_export.h"

// The size a video of the view has: its drawing area's, made even.
void video_size_of_view(int& width, int& height);
// Draws and sends every frame; `progress` (frames done, frames in all) returns false to cancel.
// Empty on success, else why nothing was written ("Cancelled" when cancelled). The frame shown
// before is shown again after.
std::string export_video(const VideoExport& request, const std::function<bool(int done, int total)>& progress);
