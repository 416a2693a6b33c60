// What a C3D file held besides its marks, kept with the layer read from it so that writing the
// layer back as C3D loses nothing: the header, the whole parameter section, the points that are
// not marks, the analog samples and whatever followed the frames, all in the file's own bytes.
#pragma once

#include <string>
#include <vector>

#include "engine/formats/c3d/c3d_numbers.h"
#include "engine/formats/c3d/c3d_parameters.h"

struct C3dSource {
    C3dSource() = default;
    // `parameters` points into `section`: a copy would point into the original.
    C3dSource(const C3dSource&) = delete;
    C3dSource& operator=(const C3dSource&) = delete;

    C3dProcessor processor = C3dProcessor::intel;
    bool floats = false;  // floating-point storage (POINT:SCALE negative)
    double scale = 1;     // POINT:SCALE as the file gives it (the header's when it has none)
    bool analog_unsigned = false;  // integer analog samples are unsigned (ANALOG:FORMAT)
    int points = 0;        // points a frame holds, marks and others
    int analog_words = 0;  // analog values a frame holds
    int frames = 0;

    std::string head;     // the bytes before the parameter section: the header block and any after it
    std::string section;  // from the parameter section's first byte to the data's
    C3dParameters parameters;  // read from `section`; record offsets count from its start

    // Mark k of the layer came from point mark_points[k], and was named mark_names[k] on reading.
    std::vector<int> mark_points;
    std::vector<std::string> mark_names;
    // Frame after frame, the four words of every point that is not a mark, in the file's order,
    // then the frame's analog values: as the file stored them.
    std::string others;
    std::string tail;  // the bytes that followed the last frame
    // The coordinate words the file gives a lost mark when it gives every one the same (zeros,
    // or some files' NaNs); zeros otherwise. `lost_words_alone` tells that they say lost whatever
    // the residual word (zeros, or a coordinate that is no number).
    std::string lost_words;
    bool lost_words_alone = true;

    size_t word_size() const { return floats ? 4 : 2; }
    size_t other_point_count() const { return static_cast<size_t>(points) - mark_points.size(); }
    size_t others_per_frame() const { return (other_point_count() * 4 + analog_words) * word_size(); }
};
