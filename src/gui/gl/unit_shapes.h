// The round pieces of the scene (sphere, cylinder, cone, end cap), tessellated once into display
// lists at unit size and placed and sized with the modelview; or, for comparison, through GLU at
// every call as the view first drew them.
#pragma once

// Builds the lists in the GL context drawing now unless they are there already (a context made
// afresh, the view realized again, finds the old names unused). Called once before each frame.
void prepare_unit_shapes();

// The style of the pieces that follow, as a quadric's draw style: filled, or the silhouette
// outlines of the wire render mode.
void set_shape_style(bool silhouette);

// Each piece at the origin of the current modelview, along its z axis.
void draw_sphere(double radius);                      // 5 slices, 5 stacks
void draw_cylinder(double radius, double length);     // 5 slices, open at both ends
void draw_cone(double base_radius, double length);    // 5 slices, the tip at z = length
void draw_frustum(double base_radius, double top_radius, double length);  // 5 slices
void draw_end_cap(double radius);                     // a disk facing z, one ring

// GLU at every call (spheres, cylinders and 10-ring disks re-tessellated vertex by vertex), the
// way the view drew before the pieces were kept: the baseline of the drawing benchmarks.
void set_immediate_shapes(bool immediate);
bool immediate_shapes();
