// The parameter section of a C3D file: groups and the parameters that belong to them, each a
// typed array whose bytes stay in the file's own encoding until a value is asked for, and where
// every record lies, so that the section can be written back as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formats/c3d/c3d_numbers.h"

struct C3dParameter {
    std::string group;  // upper case
    std::string name;   // upper case
    int type = 0;       // -1 characters, 1 byte, 2 16-bit integer, 4 float
    std::vector<int> dimensions;
    const unsigned char* data = nullptr;
    size_t count = 0;   // elements (characters for a character array)
    size_t record = 0;  // its record in C3dParameters::records
};

// Where one record of the chain lies: from `at` to where the next one starts (the last one, and
// one whose offset to the next is unusable, to the end of its own description).
struct C3dRecordSpan {
    size_t at = 0;
    size_t size = 0;
    bool relinked = false;  // its offset to the next record was unusable and must be rewritten
};

struct C3dParameters {
    C3dProcessor processor = C3dProcessor::intel;
    std::vector<C3dParameter> list;
    // Every record of the chain in the order of the file, groups and parameters of no group too.
    std::vector<C3dRecordSpan> records;
    size_t declared_end = 0;  // where the blocks the section declares end
    // Why the chain stops before its proper end: the records from there on are not read. Empty
    // when the chain ends as it should.
    std::string damage;
    // The records run past the blocks the section declares (but stay before the data).
    bool past_declared_blocks = false;

    const C3dParameter* find(std::string_view group, std::string_view name) const;
    // The first element as a number: an integer is read unsigned (counts and block numbers go to
    // 65535), a float as it is. False when the parameter is missing, empty or characters.
    bool number(std::string_view group, std::string_view name, double& value) const;
    // A character array split into its strings: the first dimension is the length of each.
    std::vector<std::string> strings(std::string_view group, std::string_view name) const;
    // The byte after the last record read.
    size_t records_end() const { return records.empty() ? 0 : records.back().at + records.back().size; }
};

// Drops the records that do not end by `end` (where the data start), and their parameters: a
// record that runs into the data is damaged. True when some were dropped.
bool c3d_cut_parameters(C3dParameters& parameters, size_t end);

// Parses the section whose first block starts at `offset` of `bytes`; its records must lie
// before `limit` (where the data start, or the file's end when that is not known). Returns an
// empty text when the section could be read, up to a damage or whole, or the problem that
// leaves nothing to read.
std::string c3d_parse_parameters(std::string_view bytes, size_t offset, size_t limit, C3dParameters& out);
