// Decoding the frames of a C3D file: each mark into samples and residual words, and the rest
// of every frame (other points, analog values) copied as it lies.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/formats/c3d/c3d_numbers.h"
#include "engine/model/capture_model.h"

struct C3dFrameLayout {
    C3dProcessor processor = C3dProcessor::intel;
    bool floats = false;
    double magnitude = 1;    // |POINT:SCALE|, which integer coordinates are multiplied by
    size_t frame_bytes = 0;  // points and analog values of one frame
    int frames = 0;
    std::vector<int> marks;  // the points that are marks, in order
    // Called now and then with a range of bytes, counted from the first frame, that the
    // decoding is done with; optional.
    std::function<void(size_t from, size_t to)> done_with;
};

struct C3dDecodedFrames {
    std::vector<std::shared_ptr<Sample[]>> samples;  // one array per mark, lost points at LOST_VALUE
    std::vector<std::shared_ptr<float[]>> residuals;  // the residual word of each mark and frame
    std::vector<int> computed;  // a mark has values whose residual (0) says another program computed them
    std::string others;          // frame after frame, the bytes that are not marks
    long long lost_coordinates = 0;  // as error_count counts them, over every mark and frame
    // The coordinate words of a lost mark when every lost mark has the same; empty otherwise.
    std::string lost_words;
};

// Decodes `layout.frames` frames from `first`, which must hold them all. A point is lost when
// its residual word says so, when x, y and z are all exactly 0, or when a coordinate is not finite.
C3dDecodedFrames c3d_decode_frames(const unsigned char* first, const C3dFrameLayout& layout);
