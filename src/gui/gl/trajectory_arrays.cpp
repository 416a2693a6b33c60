// The kept vertex arrays of the trajectories, one per layer and mark, and the calls that draw them.
#include "gui/gl/trajectory_arrays.h"

#include <GL/gl.h>
#include <gtk/gtkgl.h>

#include <map>
#include <memory>
#include <utility>

#include "engine/model/capture_model.h"
#include "gui/gl/unit_shapes.h"

namespace {

// Computed stretches: 12 pixels drawn, 12 left out.
constexpr GLint DASH_FACTOR = 3;
constexpr GLushort DASH_PATTERN = 0x0F0F;

struct KeptTrajectory {
    std::weak_ptr<Sample[]> samples;
    const Sample* samples_at = nullptr;
    const SampleOrigin* origins_at = nullptr;
    unsigned long generation = 0;
    int first = 0, last = 0, num_frames = 0;
    ScreenMapping mapping;
    TrajectoryRuns runs;
};

std::map<std::pair<int, int>, KeptTrajectory> kept;

bool still_valid(const KeptTrajectory& k, const Channel& channel, int first, int last, const ScreenMapping& mapping) {
    return !k.samples.expired() && k.samples_at == channel.samples.get() && k.origins_at == channel.origins.get() &&
           k.generation == samples_generation() && k.first == first && k.last == last &&
           k.num_frames == app.num_frames && k.mapping == mapping;
}

using MultiDraw = void (*)(GLenum, const GLint*, const GLsizei*, GLsizei);

void draw_strips(const std::vector<int>& firsts, const std::vector<int>& counts) {
    static const auto multi_draw = reinterpret_cast<MultiDraw>(gdk_gl_get_proc_address("glMultiDrawArrays"));
    if (firsts.empty()) return;
    if (multi_draw) {
        multi_draw(GL_LINE_STRIP, firsts.data(), counts.data(), static_cast<GLsizei>(firsts.size()));
        return;
    }
    for (size_t i = 0; i < firsts.size(); ++i) glDrawArrays(GL_LINE_STRIP, firsts[i], counts[i]);
}

// Every frame's vertex sent on its own, as the view drew before the arrays were kept.
void draw_vertex_by_vertex(const Channel& channel, int first, int last) {
    if (first >= app.num_frames) first = app.num_frames - 1;
    if (last >= app.num_frames) last = app.num_frames - 1;
    bool in_strip = false;
    for (int k = first; k <= last && k >= 0; ++k) {
        const Sample& s = channel.samples[k];
        if (is_lost(s.x)) {
            if (in_strip) glEnd();
            in_strip = false;
            continue;
        }
        if (!in_strip) glBegin(GL_LINE_STRIP);
        in_strip = true;
        glVertex3d(s.x, s.y, s.z);
    }
    if (in_strip) glEnd();
}

}  // namespace

void draw_trajectory_runs(const TrajectoryRuns& runs) {
    if (runs.vertices.empty()) return;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, runs.vertices.data());
    draw_strips(runs.measured_first, runs.measured_count);
    if (!runs.computed_first.empty()) {
        glPushAttrib(GL_LINE_BIT);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(DASH_FACTOR, DASH_PATTERN);
        draw_strips(runs.computed_first, runs.computed_count);
        glPopAttrib();
    }
    glPopClientAttrib();
}

const TrajectoryRuns* kept_trajectory_runs(int layer, int mark, int first, int last, const ScreenMapping& mapping) {
    const Channel& channel = app.channels[mark];
    if (channel.empty() || app.num_frames <= 0) return nullptr;
    KeptTrajectory& k = kept[{layer, mark}];
    if (!still_valid(k, channel, first, last, mapping)) {
        // Arrays of samples that are gone (a layer closed) go with this rebuild.
        std::erase_if(kept, [&](const auto& entry) { return &entry.second != &k && entry.second.samples.expired(); });
        k.samples = channel.samples;
        k.samples_at = channel.samples.get();
        k.origins_at = channel.origins.get();
        k.generation = samples_generation();
        k.first = first;
        k.last = last;
        k.num_frames = app.num_frames;
        k.mapping = mapping;
        build_trajectory_runs(channel.samples.get(), channel.origins.get(), app.num_frames, first, last, &mapping,
                              k.runs);
    }
    return &k.runs;
}

void draw_kept_trajectory(int layer, int mark, int first, int last, const ScreenMapping& mapping) {
    const Channel& channel = app.channels[mark];
    if (channel.empty() || app.num_frames <= 0) return;
    if (immediate_shapes()) {
        draw_vertex_by_vertex(channel, first, last);
        return;
    }
    if (const TrajectoryRuns* runs = kept_trajectory_runs(layer, mark, first, last, mapping)) draw_trajectory_runs(*runs);
}
