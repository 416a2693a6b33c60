// The fifteen named colours that marks and bones are drawn with.
#pragma once

#include "engine/model/limits.h"

struct ColourEntry {
    char name[32];
    int red;
    int green;
    int blue;
};

// Menus list the rows in index order, so a menu position is a colour index.
extern const ColourEntry ColourTable[COLOUR_COUNT];
extern const int colour_count;

// The colour of an index, grey for one outside the table (a style not set yet).
const ColourEntry& colour_or_grey(int index);
