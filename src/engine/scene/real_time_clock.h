// Playback by the clock: which frame is due at a moment, and when the next one is, for a
// capture played at its own rate times a chosen factor.
#pragma once

struct RealTimeClock {
    bool running = false;
    double start_seconds = 0;
    int start_frame = 0;
    double frames_per_second = 0;
};

// The clock starts at `frame` now; frames_per_second is the capture's rate times the factor.
void clock_start(RealTimeClock& clock, int frame, double now_seconds, double frames_per_second);
// The frame due at `now`: the start frame plus the whole frames of time passed since.
int clock_due_frame(const RealTimeClock& clock, double now_seconds);
// The moment `frame` falls due.
double clock_time_of(const RealTimeClock& clock, int frame);
