// Playback arithmetic.
#include "engine/scene/playback.h"

int next_playback_frame(int f, int num_frames, int speed) {
    if (f >= num_frames - 1) return 0;
    if (speed < 0) return f + 1;
    const int next = f + speed + 1;
    return next > num_frames - 1 ? num_frames - 1 : next;
}

int first_playback_frame(int f, int num_frames) { return f < num_frames - 1 ? f + 1 : 0; }
