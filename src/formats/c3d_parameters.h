// The parameter section of a C3D file: groups and the parameters that belong to them, each a
// typed array whose bytes stay in the file's own encoding until a value is asked for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/c3d_numbers.h"

struct C3dParameter {
    std::string group;  // upper case
    std::string name;   // upper case
    int type = 0;       // -1 characters, 1 byte, 2 16-bit integer, 4 float
    std::vector<int> dimensions;
    const unsigned char* data = nullptr;
    size_t count = 0;  // elements (characters for a character array)
};

struct C3dParameters {
    C3dProcessor processor = C3dProcessor::intel;
    std::vector<C3dParameter> list;

    const C3dParameter* find(std::string_view group, std::string_view name) const;
    // The first element as a number: an integer is read unsigned (counts and block numbers go to
    // 65535), a float as it is. False when the parameter is missing, empty or characters.
    bool number(std::string_view group, std::string_view name, double& value) const;
    // A character array split into its strings: the first dimension is the length of each.
    std::vector<std::string> strings(std::string_view group, std::string_view name) const;
};

// Parses the section whose first block starts at `offset` of `bytes`. Returns an empty text on
// success, or the problem; every record is checked against the section's end before it is read.
std::string c3d_parse_parameters(std::string_view bytes, size_t offset, C3dParameters& out);
