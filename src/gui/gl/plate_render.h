// Drawing the current layer's force plates: each plate's outline, and at the frame shown the
// force each records as an arrow from its centre of pressure, in the plate's colour.
#pragma once

// Draws for the layer in the working copy at `frame` with layer alpha `alpha`, when the Vis
// page's "Forces" is checked; nothing for a layer without plates.
void draw_force_plates(int frame, int alpha);
