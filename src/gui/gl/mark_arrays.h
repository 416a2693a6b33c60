// The marks of the frame shown as filled spheres, all from one vertex array.
#pragma once

// Every visible mark seen at the frame, as draw_mark draws it filled, in its colour with the
// alpha: lit in the detailed mode, unlit in the solid one. GL state as it was found.
void draw_mark_spheres(double radius, int frame, int alpha, bool lit);
