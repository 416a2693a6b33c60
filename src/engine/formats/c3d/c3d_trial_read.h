// Reading the analog channels, force plates and events out of a C3D file kept with its layer.
#pragma once

#include <memory>

#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/c3d/c3d_trial.h"

// Decodes the analog samples the source keeps (value = (raw - OFFSET) x SCALE x GEN_SCALE),
// the plates with their forces, and the events with their contexts' colours. Parameters that
// are missing or short give what the rest allows (no channels, plates or events at all).
std::shared_ptr<C3dTrial> c3d_trial_read(const C3dSource& source, double analog_rate);
