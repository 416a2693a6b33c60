// Clock arithmetic of real-time playback.
#include "engine/scene/real_time_clock.h"

#include <cmath>

void clock_start(RealTimeClock& clock, int frame, double now_seconds, double frames_per_second) {
    clock.running = true;
    clock.start_seconds = now_seconds;
    clock.start_frame = frame;
    clock.frames_per_second = frames_per_second;
}

int clock_due_frame(const RealTimeClock& clock, double now_seconds) {
    if (clock.frames_per_second <= 0) return clock.start_frame;
    // A hair of slack, so the frame of a timer fired on its due moment is not taken for the last.
    const double passed = (now_seconds - clock.start_seconds) * clock.frames_per_second + 1e-6;
    return clock.start_frame + static_cast<int>(std::floor(passed > 0 ? passed : 0));
}

double clock_time_of(const RealTimeClock& clock, int frame) {
    if (clock.frames_per_second <= 0) return clock.start_seconds;
    return clock.start_seconds + (frame - clock.start_frame) / clock.frames_per_second;
}
