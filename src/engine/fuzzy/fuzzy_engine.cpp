// One inference: assign, fuzzify, evaluate the rules, defuzzify; then reset the degrees the
// rules touched. Every fuzzy quantity is a 32-bit float.
#include "engine/fuzzy/fuzzy_engine.h"

#include <cstring>

#include "engine/fuzzy/motion_inputs.h"

namespace {

// The input names in the order of the quantities of an AxisMotion row.
const char* const quantity_names[] = {"Pt", "Pt-1", "Pt-2", "Pt-3", "Pt-4", "Vt",
                                      "Vt-1", "Vt-2", "Vt-3", "At", "At-1", "At-2"};

static_assert(sizeof(AxisMotion) == sizeof(quantity_names) / sizeof(quantity_names[0]) * sizeof(double),
              "an axis row is the twelve quantities in a row");

double quantity_of(const AxisMotion& row, int quantity) {
    if (quantity < 5) return row.position[quantity];
    if (quantity < 9) return row.velocity[quantity - 5];
    return row.acceleration[quantity - 9];
}

}  // namespace

int fuzzy_input_quantity(const char* name) {
    for (int q = 0; q < static_cast<int>(sizeof quantity_names / sizeof quantity_names[0]); ++q) {
        if (std::strcmp(name, quantity_names[q]) == 0) return q;
    }
    return -1;
}

void fuzzy_assign_inputs(int mark, char axis) {
    if (axis != 'x' && axis != 'y' && axis != 'z') return;
    const AxisMotion& row = motion_inputs[mark].axis[axis - 'x'];
    for (LinguisticVariable& variable : fuzzy_system.input_variables) {
        if (variable.quantity >= 0) variable.value = static_cast<float>(quantity_of(row, variable.quantity));
    }
}

void fuzzy_membership(FuzzySet& set, float x) {
    const float rise = x - set.a;
    const float fall = set.d - x;
    if (rise <= 0.0f || fall <= 0.0f) {
        set.degree = 0.0f;
        return;
    }
    const float left = set.left_slope * rise;
    const float right = set.right_slope * fall;
    const float degree = left < right ? left : right;
    set.degree = degree > 1.0f ? 1.0f : degree;
}

void fuzzy_fuzzify() {
    for (LinguisticVariable& variable : fuzzy_system.input_variables) {
        for (FuzzySet& set : variable.sets) fuzzy_membership(set, variable.value);
    }
}

void fuzzy_evaluate_rules() {
    for (const FuzzyRule& rule : fuzzy_system.rules) {
        float strength = 1.0f;
        for (const FuzzySet* set : rule.antecedents) {
            if (strength > set->degree) strength = set->degree;
        }
        for (FuzzySet* set : rule.consequents) {
            if (strength > set->degree) set->degree = strength;
        }
    }
}

float fuzzy_set_area(const FuzzySet& set) {
    const float g = set.degree;
    const float base = set.d - set.a;
    const float left_run = set.left_slope == VERTICAL_SLOPE ? 0.0f : g / set.left_slope;
    const float right_run = set.right_slope == VERTICAL_SLOPE ? 0.0f : g / set.right_slope;
    const float top = base - left_run - right_run;
    return g * (base + top) / 2.0f;
}

void fuzzy_defuzzify() {
    for (LinguisticVariable& variable : fuzzy_system.output_variables) {
        float products = 0.0f;
        float areas = 0.0f;
        for (const FuzzySet& set : variable.sets) {
            const float area = fuzzy_set_area(set);
            products += area * (set.a + (set.d - set.a) / 2.0f);
            areas += area;
        }
        variable.value = areas == 0.0f ? 0.0f : products / areas;
    }
}

void fuzzy_reset_rule_degrees() {
    for (const FuzzyRule& rule : fuzzy_system.rules) {
        for (FuzzySet* set : rule.consequents) set->degree = 0.0f;
        for (FuzzySet* set : rule.antecedents) set->degree = 0.0f;
    }
}
