// The force plates' record written as an OpenSim external-loads file (.mot): per plate the
// force, its point of application and the free moment, in the lab's axes as the TRC has them.
#pragma once

#include <cstdio>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/status.h"

// Metres in one unit of the marks ("mm", "cm", "m"; millimetres when the capture names none).
double metres_per_unit(const std::string& units);

// One row per analog sample: time (s, the first frame at 0 as in the TRC), then per plate ground_force_N_v[xyz] (N),
// ground_force_N_p[xyz] (m) and ground_torque_N_[xyz] (N.m); where a plate has no centre of
// pressure its point and torque are 0. `name` goes into the first line. False when the stream fails.
bool forces_mot_write_stream(const CaptureData& data, FILE* out, const std::string& name);

// Writes the file through a temporary copy; fails when the capture has no force plates.
Status forces_mot_write(const CaptureData& data, const std::string& path);
