// The EVENT group written again from a layer's edited events, as records for the kept
// parameter section.
#pragma once

#include "engine/formats/c3d/c3d_section_write.h"
#include "engine/formats/c3d/c3d_trial.h"

// Adds to `changes` the EVENT records made from `trial`'s events: each EVENT parameter that
// holds one entry per event is rewritten (an entry the program does not edit, such as SUBJECTS,
// keeps the event's old one), and the group and the parameters a file without events lacks are
// added at the chain's end.
void c3d_event_changes(const C3dSource& source, const C3dTrial& trial, C3dSectionChanges& changes);
