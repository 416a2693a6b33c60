// The capture's up axis, and the turn that stands it on the view's Z.
#include "engine/scene/up_axis.h"

#include <cctype>

#include "engine/formats/c3d/c3d_source.h"
#include "engine/scene/scene_extent.h"

namespace {

// "+X", "-y", "Z": false when the text is not one of them.
bool parse_axis(const std::string& text, int& axis, int& sign) {
    std::string t;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    sign = 1;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        sign = t[0] == '-' ? -1 : 1;
        t.erase(0, 1);
    }
    if (t.size() != 1 || t[0] < 'X' || t[0] > 'Z') return false;
    axis = t[0] - 'X';
    return true;
}

}  // namespace

UpAxis up_axis_from_screen(const std::string& x_screen, const std::string& y_screen) {
    UpAxis result;
    int up = 2, up_sign = 1;
    if (parse_axis(y_screen, up, up_sign)) {
        result.up = up;
        result.up_sign = up_sign;
    }
    int right = 0, right_sign = 1;
    if (parse_axis(x_screen, right, right_sign) && right != result.up) {
        result.right = right;
        result.right_sign = right_sign;
        result.right_given = true;
    } else {
        result.right = result.up == 0 ? 1 : 0;
        result.right_sign = 1;
    }
    return result;
}

UpAxis capture_up_axis(const CaptureData& data) { return capture_up_axis(data, capture_extent(data)); }

UpAxis capture_up_axis(const CaptureData& data, const ViewBounds& extent) {
    UpAxis up;
    if (data.c3d_source) {
        const C3dParameters& parameters = data.c3d_source->parameters;
        const auto first = [&](const char* name) {
            const std::vector<std::string> texts = parameters.strings("POINT", name);
            return texts.empty() ? std::string() : texts.front();
        };
        up = up_axis_from_screen(first("X_SCREEN"), first("Y_SCREEN"));
    }
    return up.right_given ? up : side_on(up, extent);
}

UpAxis side_on(const UpAxis& up, const ViewBounds& extent) {
    UpAxis result = up;
    const double sides[3] = {extent.max_x - extent.min_x, extent.max_y - extent.min_y, extent.max_z - extent.min_z};
    const int a = (up.up + 1) % 3, b = (up.up + 2) % 3;
    const double side_a = sides[a], side_b = sides[b];
    result.right = side_b > side_a ? b : a;
    result.right_sign = 1;
    return result;
}

UpAxis chosen_up_axis(int axis, const UpAxis& file, const ViewBounds& extent) {
    if (axis == file.up) return file;
    UpAxis result;
    result.up = axis;
    return side_on(result, extent);
}

Matrix4 up_rotation(const UpAxis& up) {
    // Rows: the right axis becomes x, up becomes z, and y is z x x (into the screen at the
    // default camera), which keeps the turn proper.
    double r[3] = {0, 0, 0}, u[3] = {0, 0, 0};
    r[up.right] = up.right_sign;
    u[up.up] = up.up_sign;
    const double y[3] = {u[1] * r[2] - u[2] * r[1], u[2] * r[0] - u[0] * r[2], u[0] * r[1] - u[1] * r[0]};
    Matrix4 m = identity();
    for (int col = 0; col < 3; ++col) {
        m[col * 4 + 0] = r[col];
        m[col * 4 + 1] = y[col];
        m[col * 4 + 2] = u[col];
    }
    return m;
}
