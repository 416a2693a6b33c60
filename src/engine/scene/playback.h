// The frame that playback shows next.
#pragma once

// From frame f of n frames at the given speed: after the last frame playback starts over at 0;
// a positive speed skips frames; a negative speed (slow motion) advances by one.
int next_playback_frame(int f, int num_frames, int speed);

// The frame the play button starts from: the next one, or 0 at the last frame.
int first_playback_frame(int f, int num_frames);
