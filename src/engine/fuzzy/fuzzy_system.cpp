// The in-memory fuzzy system and the construction of its sets.
#include "engine/fuzzy/fuzzy_system.h"

#include <cstring>

FuzzySystem fuzzy_system;

void fim_clear() {
    fuzzy_system.rules.clear();
    fuzzy_system.input_variables.clear();
    fuzzy_system.output_variables.clear();
}

void copy_fuzzy_name(char (&field)[FUZZY_NAME_SIZE], const char* text) {
    std::strncpy(field, text ? text : "", FUZZY_NAME_SIZE - 1);
    field[FUZZY_NAME_SIZE - 1] = '\0';
}

static float slope_of(float run) { return run == 0.0f ? VERTICAL_SLOPE : 1.0f / run; }

FuzzySet make_fuzzy_set(const char* label, float a, float b, float c, float d) {
    FuzzySet set{};
    copy_fuzzy_name(set.label, label);
    set.degree = 0.0f;
    set.a = a;
    set.d = d;
    set.left_slope = slope_of(b - a);
    set.right_slope = slope_of(d - c);
    return set;
}
