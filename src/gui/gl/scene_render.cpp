// Scene rendering in fixed-function OpenGL. The options are read from their widgets at every
// redraw; what to draw is decided by the arithmetic in scene_math, how by the pieces below.
#include "gui/gl/scene_render.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/model/sample_origin_text.h"
#include "engine/scene/fill_preview.h"
#include "engine/scene/scene_math.h"
#include "engine/scene/text_block.h"
#include "engine/scene/view_framing.h"
#include "engine/scene/view_state.h"
#include "gui/gl/bone_arrays.h"
#include "gui/gl/frame_state.h"
#include "gui/gl/gl_context.h"
#include "gui/gl/mark_arrays.h"
#include "gui/gl/mark_picking.h"
#include "gui/gl/overlay.h"
#include "gui/gl/plate_render.h"
#include "gui/gl/trajectory_arrays.h"
#include "gui/gl/trajectory_picture.h"
#include "gui/gl/unit_shapes.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"
#include "gui/kit/ui_helpers.h"

namespace {

enum RenderMode { DETAILED = 0, WIRE = 1, SOLID = 2 };

constexpr double NO_FILE_GREY = 0.85;

// A fill being previewed is drawn in a colour no mark can take.
constexpr GLubyte PREVIEW_COLOUR[3] = {255, 64, 160};
// The ring around a mark whose sample is computed, as a multiple of the mark's radius.
constexpr double RING_RADIUS = 1.6;
constexpr int RING_SEGMENTS = 16;

// The layer render_layer draws (its slot number), for what is kept per layer.
int layer_drawn = 0;

struct ViewSettings {
    bool marks;
    double mark_radius;
    bool bones;
    double bone_radius;
    int trail_step;
    int render_mode;
    bool trajectories;
    int trajectory_from, trajectory_to, trajectory_width;
    bool text_block;
    bool velocity;
    double velocity_radius;
    int velocity_mode;
    bool acceleration;
    double acceleration_radius;
    int acceleration_mode;
    double blending;
    int slider_frame;
};

ViewSettings read_view_settings() {
    ViewSettings s;
    s.marks = widget_active("check_ver_marcas");
    s.mark_radius = widget_value("spin_ver_marcas");
    s.bones = widget_active("check_ver_huesos");
    s.bone_radius = widget_value("spin_ver_huesos");
    s.trail_step = widget_int("spin_ver_rastro");
    s.render_mode = option_position("option_ver_render");
    s.trajectories = widget_active("check_ver_trazas");
    s.trajectory_from = widget_int("spin_ver_origen_trazas");
    s.trajectory_to = widget_int("spin_ver_destino_trazas");
    s.trajectory_width = widget_int("spin_ver_tamano_trazas");
    s.text_block = widget_active("check_ver_nombre");
    s.velocity = widget_active("checkbutton_velocity");
    s.velocity_radius = widget_value("spinbutton_velocity");
    s.velocity_mode = option_position("optionmenu_velocity");
    s.acceleration = widget_active("checkbutton_acceleration");
    s.acceleration_radius = widget_value("spinbutton_acceleration");
    s.acceleration_mode = option_position("optionmenu_acceleration");
    s.blending = widget_value("spin_blending");
    s.slider_frame = widget_int("hscale_frame");
    return s;
}

// The selected rows of a list, in the order they were selected.
GList* selected_rows(const char* list) {
    GtkWidget* widget = main_widget(list);
    return widget ? GTK_CLIST(widget)->selection : nullptr;
}

void set_colour(const ColourEntry& c, int alpha) {
    glColor4ub(static_cast<GLubyte>(c.red), static_cast<GLubyte>(c.green), static_cast<GLubyte>(c.blue),
               static_cast<GLubyte>(alpha));
}

// Runs a surface in the given mode: fill, silhouette outlines, or fill with lighting off.
template <class Draw>
void in_mode(int mode, Draw draw) {
    set_shape_style(mode == WIRE);
    if (mode == SOLID) glDisable(GL_LIGHTING);
    draw();
    if (mode == SOLID) glEnable(GL_LIGHTING);
}

bool valid_mark(int m) { return m >= 0 && m < app.mark_count(); }

ScenePoint position_at(int mark, int frame) {
    return scene_position(app.channels[mark].samples[frame], view.transform);
}

// Moves to A and turns z onto B - A; the body is drawn along z unless an end is lost.
template <class Body>
void along_segment(const ScenePoint& a, const ScenePoint& b, Body body) {
    glPushMatrix();
    const SegmentFrame frame = segment_frame(a, b);
    glTranslated(a.x, a.y, a.z);
    glRotated(frame.angle_degrees, frame.axis_x, frame.axis_y, 0);
    if (!scene_point_lost(a, view.transform) && !scene_point_lost(b, view.transform)) body(frame.length);
    glPopMatrix();
}

void arrow_body(double length, double radius, int mode) {
    in_mode(mode, [&] {
        draw_cylinder(radius, length);
        glTranslated(0, 0, length);
        draw_frustum(0.1, 2.5 * radius, 0.2 * radius);
        glTranslated(0, 0, 0.2 * radius);
        draw_cone(2.5 * radius, 3.5 * radius);
    });
}

// Three faces of the box: x = min_x, y = max_y and z = min_z, each with its colour and normal.
void draw_bounds_box() {
    const ViewBounds& b = view.bounds;
    const struct Face {
        GLubyte colour[3];
        float normal[3];
        double corners[4][3];
    } faces[] = {
        {{255, 100, 100}, {1, 0, 0},
         {{b.min_x, b.min_y, b.min_z}, {b.min_x, b.max_y, b.min_z}, {b.min_x, b.max_y, b.max_z}, {b.min_x, b.min_y, b.max_z}}},
        {{100, 255, 100}, {0, 1, 0},
         {{b.min_x, b.max_y, b.min_z}, {b.max_x, b.max_y, b.min_z}, {b.max_x, b.max_y, b.max_z}, {b.min_x, b.max_y, b.max_z}}},
        {{100, 100, 255}, {0, 0, 1},
         {{b.min_x, b.min_y, b.min_z}, {b.max_x, b.min_y, b.min_z}, {b.max_x, b.max_y, b.min_z}, {b.min_x, b.max_y, b.min_z}}},
    };
    glLineWidth(1);
    for (const Face& face : faces) {
        glColor3ubv(face.colour);
        glNormal3fv(face.normal);
        glBegin(GL_LINE_LOOP);
        for (const auto& corner : face.corners) glVertex3dv(corner);
        glEnd();
    }
}

void draw_bone(int origin, int destination, int frame, double radius, int mode) {
    frame = clamp_frame(frame, app.num_frames);
    along_segment(position_at(origin, frame), position_at(destination, frame), [&](double length) {
        // A filled bone of no radius covers no pixel (the oldest copy of the trail).
        if (radius <= 0 && mode != WIRE) return;
        in_mode(mode, [&] { draw_cylinder(radius, length); });
        draw_end_cap(radius);
        glTranslated(0, 0, length);
        draw_end_cap(radius);
    });
}

// The bones of each copy (a trail's, or the one of the frame shown), each in its colour with the
// copy's alpha. Solid bodies are unlit and their caps lit: all the bodies go first and all the
// caps after, from two arrays, rather than three pieces a bone with lighting changed twice.
void draw_bone_copies(const std::vector<TrailCopy>& copies, int mode) {
    const auto each_bone = [&](auto draw) {
        for (const TrailCopy& copy : copies) {
            for (int b = 0; b < app.bone_count; ++b) {
                const Bone& bone = app.bones[b];
                if (!bone_drawable(app, bone)) continue;
                set_colour(colour_or_grey(bone.colour), copy.alpha);
                draw(bone, copy);
            }
        }
    };
    if (mode == WIRE || immediate_shapes()) {
        each_bone([&](const Bone& bone, const TrailCopy& copy) {
            draw_bone(bone.origin, bone.destination, copy.frame, copy.radius, mode);
        });
        return;
    }
    draw_bone_arrays(copies, mode == DETAILED);
}

void draw_velocity_arrow(int mark, double radius, int frame, int mode) {
    if (!velocity_arrow_drawn(frame, app.num_frames)) return;
    along_segment(position_at(mark, frame), position_at(mark, frame + 1),
                  [&](double length) { arrow_body(length, radius, mode); });
}

void draw_acceleration_arrow(int mark, double radius, int frame, int mode) {
    if (!acceleration_arrow_drawn(frame, app.num_frames)) return;
    const ScenePoint before = position_at(mark, frame - 1);
    const ScenePoint at = position_at(mark, frame);
    const ScenePoint after = position_at(mark, frame + 1);
    if (scene_point_lost(before, view.transform) || scene_point_lost(at, view.transform) ||
        scene_point_lost(after, view.transform)) {
        return;
    }
    const ScenePoint tip{at.x + (after.x - at.x) - (at.x - before.x), at.y + (after.y - at.y) - (at.y - before.y),
                         at.z + (after.z - at.z) - (at.z - before.z)};
    along_segment(at, tip, [&](double length) { arrow_body(length, radius, mode); });
}

void draw_sphere_at(const ScenePoint& p, double radius, int mode) {
    glPushMatrix();
    glTranslated(p.x, p.y, p.z);
    in_mode(mode, [&] { draw_sphere(radius); });
    glPopMatrix();
}

// A circle facing the viewer around p, unlit, in the current colour: the sign of a computed sample.
void draw_ring(const ScenePoint& p, double radius, const ViewMatrices& matrices) {
    // The modelview turns without scaling: its first two rows are the screen's right and up.
    const Matrix4& m = matrices.modelview;
    const double right[3] = {m[0], m[4], m[8]}, up[3] = {m[1], m[5], m[9]};
    const double r = RING_RADIUS * radius;
    glPushAttrib(GL_LINE_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(2);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < RING_SEGMENTS; ++i) {
        const double t = 6.283185307179586 * i / RING_SEGMENTS, c = std::cos(t) * r, s = std::sin(t) * r;
        glVertex3d(p.x + c * right[0] + s * up[0], p.y + c * right[1] + s * up[1], p.z + c * right[2] + s * up[2]);
    }
    glEnd();
    glPopAttrib();
}

bool shows_computed(int mark, int frame) {
    const Channel& channel = app.channels[mark];
    return origin_is_computed(channel.origin(frame)) && !is_lost(channel.samples[frame].x);
}

void draw_mark(int mark, double radius, int frame, int mode, const ViewMatrices& matrices) {
    frame = clamp_frame(frame, app.num_frames);
    const ScenePoint p = position_at(mark, frame);
    draw_sphere_at(p, radius, mode);
    if (shows_computed(mark, frame)) draw_ring(p, radius, matrices);
}

// The rings of the marks whose sample at the frame is computed, after their spheres.
void draw_computed_rings(double radius, int frame, int alpha, const ViewMatrices& matrices) {
    frame = clamp_frame(frame, app.num_frames);
    for (int m = 0; m < app.mark_count(); ++m) {
        if (!app.mark_styles[m].visible || !shows_computed(m, frame)) continue;
        set_colour(colour_or_grey(app.mark_styles[m].colour), alpha);
        draw_ring(position_at(m, frame), radius, matrices);
    }
}

// The modelview that places raw coordinates as scene positions (the layer's offset and scale),
// and where it puts them on screen.
ScreenMapping place_raw_coordinates(const ViewMatrices& matrices) {
    const LayerPlacement& t = view.transform;
    const double k = 1.0 + t.scale;
    glPushMatrix();
    glTranslated(t.offset_x, t.offset_y, t.offset_z);
    glScaled(k, k, k);
    const Matrix4 placement = multiply(translation(t.offset_x, t.offset_y, t.offset_z), scaling(k, k, k));
    return {multiply(matrices.projection, multiply(matrices.modelview, placement)), matrices.width, matrices.height};
}

struct TrajectoryDrawing {
    int from, to, alpha;
    ScreenMapping mapping;
};

void draw_selected_trajectories(void* context) {
    const auto& d = *static_cast<const TrajectoryDrawing*>(context);
    for (GList* row = selected_rows("list_ver_trazas"); row; row = row->next) {
        const int m = GPOINTER_TO_INT(row->data);
        if (!valid_mark(m)) continue;
        set_colour(colour_or_grey(app.mark_styles[m].colour), d.alpha);
        draw_kept_trajectory(layer_drawn, m, d.from, d.to, d.mapping);
    }
}

// Trajectories of more vertices than this are drawn once into a kept picture, not at every frame.
long picture_vertices = 200000;

// The current layer's trajectories through the kept picture when they are that large; false when
// they are drawn as they stand.
bool draw_through_picture(const TrajectoryDrawing& d, int line_width) {
    if (immediate_shapes() || !trajectory_picture_available()) return false;
    static std::vector<double> key;
    key.assign(d.mapping.clip.begin(), d.mapping.clip.end());
    key.insert(key.end(), {static_cast<double>(layer_drawn), static_cast<double>(d.from), static_cast<double>(d.to),
                           static_cast<double>(d.alpha), static_cast<double>(line_width),
                           static_cast<double>(samples_generation())});
    long vertices = 0;
    for (GList* row = selected_rows("list_ver_trazas"); row; row = row->next) {
        const int m = GPOINTER_TO_INT(row->data);
        if (!valid_mark(m)) continue;
        const TrajectoryRuns* runs = kept_trajectory_runs(layer_drawn, m, d.from, d.to, d.mapping);
        if (runs) vertices += runs->vertex_count();
        const Channel& channel = app.channels[m];
        key.insert(key.end(), {static_cast<double>(m), static_cast<double>(app.mark_styles[m].colour),
                               static_cast<double>(reinterpret_cast<uintptr_t>(channel.samples.get())),
                               static_cast<double>(reinterpret_cast<uintptr_t>(channel.origins.get()))});
    }
    if (vertices < picture_vertices) return false;
    return draw_through_trajectory_picture(key, d.mapping.width, d.mapping.height, draw_selected_trajectories,
                                           const_cast<TrajectoryDrawing*>(&d));
}

// The values of the fill being previewed on this layer, joined to the samples either side of the
// gap, and the mark where the frame shown falls inside it.
void draw_fill_preview(int frame, double radius, int mode, int alpha, int line_width, const ViewMatrices& matrices) {
    const FillPreview& preview = fill_preview();
    if (!preview.active() || preview.layer != layer_drawn || !valid_mark(preview.mark)) return;
    const Channel& channel = app.channels[preview.mark];
    if (channel.empty()) return;
    const int count = static_cast<int>(preview.values.size());
    static std::vector<Sample> path;
    path.clear();
    if (preview.first > 0 && preview.first - 1 < app.num_frames) path.push_back(channel.samples[preview.first - 1]);
    path.insert(path.end(), preview.values.begin(), preview.values.end());
    if (preview.first + count < app.num_frames && preview.first + count >= 0) {
        path.push_back(channel.samples[preview.first + count]);
    }
    glColor4ub(PREVIEW_COLOUR[0], PREVIEW_COLOUR[1], PREVIEW_COLOUR[2], static_cast<GLubyte>(alpha));
    glPushAttrib(GL_LINE_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(static_cast<float>(line_width));
    const ScreenMapping mapping = place_raw_coordinates(matrices);
    static TrajectoryRuns runs;
    const int n = static_cast<int>(path.size());
    build_trajectory_runs(path.data(), nullptr, n, 0, n - 1, &mapping, runs);
    draw_trajectory_runs(runs);
    glPopMatrix();
    glPopAttrib();
    if (frame < preview.first || frame >= preview.first + count) return;
    const Sample& at = preview.values[frame - preview.first];
    if (is_lost(at.x)) return;
    const ScenePoint p = scene_position(at, view.transform);
    draw_sphere_at(p, radius, mode);
    draw_ring(p, radius, matrices);
}

void draw_text_block(int frame) {
    static std::vector<TextBlockLine> lines;
    lines.clear();
    for (GList* row = selected_rows("list_ver_trazas"); row; row = row->next) {
        const int m = GPOINTER_TO_INT(row->data);
        if (!valid_mark(m) || !app.mark_styles[m].visible) continue;
        lines.emplace_back();
        text_block_line(app, static_cast<int>(lines.size()) - 1, m, frame, view.view_height, lines.back().data());
    }
    text_block_align(lines);
    overlay_begin_batch();
    for (const TextBlockLine& line : lines) {
        for (const TextBlockPiece& piece : line) {
            overlay_set_size(TEXT_BLOCK_CHAR_SIZE);
            overlay_set_colour(piece.colour[0], piece.colour[1], piece.colour[2]);
            overlay_print(piece.x, piece.y, "%s", piece.text);
        }
    }
    overlay_end_batch();
}

void clear_to(double red, double green, double blue) {
    glClearColor(static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace

void render_layer(bool is_current) {
    const ViewSettings s = read_view_settings();
    const double opacity = is_current ? 1.0 : s.blending;
    const int a = layer_alpha(opacity);
    if (app.file_name.empty()) {
        clear_to(NO_FILE_GREY, NO_FILE_GREY, NO_FILE_GREY);
        return;
    }
    const int frame = frame_to_draw(s.slider_frame, view.transform.initial_frame, app.num_frames);
    apply_modelview();
    const ViewMatrices matrices = view_matrices(widget_value("spin_ver_zoom"), widget_active("check_ver_orto"));
    prepare_unit_shapes();
    // The pieces are kept at unit size and scaled into place, normals with them.
    glEnable(GL_NORMALIZE);
    if (is_current && view.transform.draw_box) draw_bounds_box();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    static std::vector<TrailCopy> trail;
    trail_copies(s.trail_step, frame, s.bone_radius, trail);
    draw_bone_copies(trail, SOLID);
    glEnable(GL_LIGHTING);
    if (s.velocity) {
        for (GList* row = selected_rows("clist_entity"); row; row = row->next) {
            const int m = GPOINTER_TO_INT(row->data);
            if (!valid_mark(m)) continue;
            glColor4ub(200, 0, 0, static_cast<GLubyte>(a));
            draw_velocity_arrow(m, s.velocity_radius, frame, s.velocity_mode);
        }
    }
    if (s.acceleration) {
        for (GList* row = selected_rows("clist_entity"); row; row = row->next) {
            const int m = GPOINTER_TO_INT(row->data);
            if (!valid_mark(m)) continue;
            glColor4ub(0, 0, 200, static_cast<GLubyte>(a));
            draw_acceleration_arrow(m, s.acceleration_radius, frame, s.acceleration_mode);
        }
    }
    if (s.marks) {
        if (s.render_mode == WIRE || immediate_shapes()) {
            for (int m = 0; m < app.mark_count(); ++m) {
                if (!app.mark_styles[m].visible) continue;
                set_colour(colour_or_grey(app.mark_styles[m].colour), a);
                draw_mark(m, s.mark_radius, frame, s.render_mode, matrices);
            }
        } else {
            draw_mark_spheres(s.mark_radius, frame, a, s.render_mode == DETAILED);
            draw_computed_rings(s.mark_radius, frame, a, matrices);
        }
    }
    if (s.bones) {
        static std::vector<TrailCopy> shown(1);
        shown[0] = {frame, a, s.bone_radius};
        draw_bone_copies(shown, s.render_mode);
    }
    if (s.trajectories) {
        glDisable(GL_LIGHTING);
        glLineWidth(static_cast<float>(s.trajectory_width));
        TrajectoryDrawing drawing{s.trajectory_from, s.trajectory_to, a, place_raw_coordinates(matrices)};
        if (!is_current || !draw_through_picture(drawing, s.trajectory_width)) draw_selected_trajectories(&drawing);
        glPopMatrix();
        glEnable(GL_LIGHTING);
    }
    if (is_current) draw_force_plates(frame, a);
    draw_fill_preview(frame, s.mark_radius, s.render_mode, a, s.trajectory_width, matrices);
    glDisable(GL_NORMALIZE);
    glDisable(GL_BLEND);
    if (s.text_block && is_current) draw_text_block(frame);
}

void draw_scene(GtkWidget* widget) {
    view.view_width = widget->allocation.width;
    view.view_height = widget->allocation.height;
    if (app.file_name.empty()) {
        clear_to(NO_FILE_GREY, NO_FILE_GREY, NO_FILE_GREY);
    } else {
        clear_to(widget_value("spin_red_avi"), widget_value("spin_green_avi"), widget_value("spin_blue_avi"));
    }
    // With no file open there is no layer to store or fetch.
    if (app.current_layer == 0) return;
    layer_store(app.current_layer);
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        const Layer& slot = app.layers[n];
        if (!slot.visible || !slot.in_use) continue;
        layer_fetch(n);
        apply_projection();
        const bool current = n == app.current_layer;
        view.transform = current ? placement_from_widgets() : static_cast<const LayerPlacement&>(slot);
        layer_drawn = n;
        render_layer(current);
    }
    layer_fetch(app.current_layer);
    draw_mark_annotations();
}

void set_trajectory_picture_vertices(long vertices) { picture_vertices = vertices; }

void draw_view(GtkWidget* widget) {
    if (!widget) return;
    GlSection gl(widget);
    if (!gl.open()) return;
    const FrameState frame;
    draw_scene(widget);
    gl.swap_or_flush();
}

void render_current_layer_once() {
    if (app.current_layer == 0) {
        clear_to(NO_FILE_GREY, NO_FILE_GREY, NO_FILE_GREY);
        return;
    }
    view.transform = placement_from_widgets();
    layer_drawn = app.current_layer;
    render_layer(true);
}

std::vector<unsigned char> render_view_pixels(GtkWidget* widget, int& width, int& height) {
    std::vector<unsigned char> pixels;
    GlSection gl(widget);
    if (!gl.open()) return pixels;
    const FrameState frame;
    draw_scene(widget);
    width = view.view_width;
    height = view.view_height;
    pixels.resize(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
