// Display lists of the unit pieces, built the first time a GL context draws them. Scaling a
// piece scales its normals too: drawing turns GL_NORMALIZE on so the light stays as it was.
#include "gui/gl/unit_shapes.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

enum Piece { SPHERE, CYLINDER, CONE, CAP, PIECES };

bool silhouette_style = false;
bool immediate = false;

GLUquadric* quadric() {
    static GLUquadric* shared = gluNewQuadric();
    return shared;
}

// GLU's tessellation of piece p at unit size. A cylinder or cone lit by the view's directional
// light shades the same along its length, so one stack draws what five did; a flat disk likewise
// needs a single ring.
void tessellate(int piece) {
    switch (piece) {
    case SPHERE: gluSphere(quadric(), 1, 5, 5); break;
    case CYLINDER: gluCylinder(quadric(), 1, 1, 1, 5, 1); break;
    case CONE: gluCylinder(quadric(), 1, 0, 1, 5, 1); break;
    case CAP: gluDisk(quadric(), 0, 1, 10, 1); break;
    }
}

// The lists: PIECES filled ones, then PIECES silhouettes; 0 until built.
GLuint base = 0;

void call_piece(int piece, double sx, double sy, double sz) {
    glPushMatrix();
    glScaled(sx, sy, sz);
    glCallList(base + (silhouette_style ? PIECES : 0) + piece);
    glPopMatrix();
}

}  // namespace

void prepare_unit_shapes() {
    if (base != 0 && glIsList(base)) return;
    base = glGenLists(2 * PIECES);
    if (base == 0) {
        immediate = true;
        return;
    }
    for (int style = 0; style < 2; ++style) {
        gluQuadricDrawStyle(quadric(), style ? GLU_SILHOUETTE : GLU_FILL);
        for (int piece = 0; piece < PIECES; ++piece) {
            glNewList(base + style * PIECES + piece, GL_COMPILE);
            tessellate(piece);
            glEndList();
        }
    }
    gluQuadricDrawStyle(quadric(), silhouette_style ? GLU_SILHOUETTE : GLU_FILL);
}

void set_shape_style(bool silhouette) {
    silhouette_style = silhouette;
    gluQuadricDrawStyle(quadric(), silhouette ? GLU_SILHOUETTE : GLU_FILL);
}

void draw_sphere(double radius) {
    if (immediate) {
        gluSphere(quadric(), radius, 5, 5);
    } else {
        call_piece(SPHERE, radius, radius, radius);
    }
}

void draw_cylinder(double radius, double length) {
    if (immediate) {
        gluCylinder(quadric(), radius, radius, length, 5, 5);
    } else {
        call_piece(CYLINDER, radius, radius, length);
    }
}

void draw_cone(double base_radius, double length) {
    if (immediate) {
        gluCylinder(quadric(), base_radius, 0, length, 5, 5);
    } else {
        call_piece(CONE, base_radius, base_radius, length);
    }
}

void draw_frustum(double base_radius, double top_radius, double length) {
    gluCylinder(quadric(), base_radius, top_radius, length, 5, immediate ? 5 : 1);
}

void draw_end_cap(double radius) {
    if (immediate) {
        gluDisk(quadric(), 0, radius, 10, 10);
    } else {
        call_piece(CAP, radius, radius, 1);
    }
}

void set_immediate_shapes(bool on) { immediate = on; }

bool immediate_shapes() { return immediate; }
