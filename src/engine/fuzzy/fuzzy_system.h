// The fuzzy system read from one `system` element of a rules file: its input and output
// linguistic variables with their trapezoidal sets, and the rules that tie them together.
#pragma once

#include <type_traits>
#include <vector>

constexpr float VERTICAL_SLOPE = 999998.0f;  // the slope of a vertical side of a set
constexpr int FUZZY_NAME_SIZE = 40;          // names and labels keep at most 39 characters

struct FuzzySet {
    char label[FUZZY_NAME_SIZE];
    float degree;  // membership last computed (inputs) or raised by the rules (outputs)
    float a;       // left foot
    float d;       // right foot
    float left_slope;   // 1 / (b - a), or VERTICAL_SLOPE
    float right_slope;  // 1 / (d - c), or VERTICAL_SLOPE
};

struct LinguisticVariable {
    char name[FUZZY_NAME_SIZE];
    float value;  // crisp value: set before an inference (inputs) or defuzzified (outputs)
    std::vector<FuzzySet> sets;
    // Which motion quantity an input receives (its name looked up once, when it is read);
    // -1 for none.
    int quantity = -1;
};

// If every antecedent holds, every consequent holds. The references point into the sets of the
// variables, which never move once read: a variable's sets are complete before any rule can
// refer to them, and moving a variable keeps its sets where they are.
struct FuzzyRule {
    std::vector<FuzzySet*> antecedents;
    std::vector<FuzzySet*> consequents;
};

static_assert(std::is_nothrow_move_constructible_v<LinguisticVariable>,
              "rules keep pointers into the sets of variables that a growing list moves");

// The one fuzzy system that exists at a time, in document order.
struct FuzzySystem {
    std::vector<LinguisticVariable> input_variables;
    std::vector<LinguisticVariable> output_variables;
    std::vector<FuzzyRule> rules;
};

extern FuzzySystem fuzzy_system;

// Empties the three lists.
void fim_clear();

// Copies text into a name field, cut to 39 characters.
void copy_fuzzy_name(char (&field)[FUZZY_NAME_SIZE], const char* text);

// A set with the four corners of its trapezoid, as the parser builds it: the corners are taken
// as 32-bit floats and the slopes computed from them in single precision.
FuzzySet make_fuzzy_set(const char* label, float a, float b, float c, float d);
