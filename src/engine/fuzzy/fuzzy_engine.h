// The min-max fuzzy controller: trapezoidal membership, rules as the minimum of their
// antecedents raising their consequents by maximum, and defuzzification by the area-weighted
// average of set centres. It works in place on fuzzy_system and allocates nothing.
#pragma once

#include "engine/fuzzy/fuzzy_system.h"

// The index of the motion quantity an input named `name` receives ("Pt" .. "Pt-4", "Vt" ..
// "Vt-3", "At" .. "At-2"), or -1 for any other name.
int fuzzy_input_quantity(const char* name);

// Gives every input variable its quantity from the mark's row of motion_inputs on axis 'x',
// 'y' or 'z'; any other character assigns nothing.
void fuzzy_assign_inputs(int mark, char axis);

void fuzzy_membership(FuzzySet& set, float x);
void fuzzy_fuzzify();
void fuzzy_evaluate_rules();
float fuzzy_set_area(const FuzzySet& set);
void fuzzy_defuzzify();
void fuzzy_reset_rule_degrees();
