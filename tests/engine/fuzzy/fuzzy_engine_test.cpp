// The inference engine against values worked out by hand: membership, rule strength,
// areas and defuzzification, reset, and the inputs an axis gives the variables.
#include <gtest/gtest.h>

#include "engine/fuzzy/fuzzy_engine.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "engine/fuzzy/motion_inputs.h"

namespace {

constexpr float TOLERANCE = 1e-5f;

struct FuzzyEngine : ::testing::Test {
    // Room for every variable a test adds, so references to earlier ones stay valid.
    void SetUp() override {
        fuzzy_system.input_variables.reserve(16);
        fuzzy_system.output_variables.reserve(16);
    }
    void TearDown() override { fim_clear(); }

    static LinguisticVariable& add_variable(std::vector<LinguisticVariable>& list, const char* name,
                                            std::initializer_list<FuzzySet> sets) {
        LinguisticVariable& v = list.emplace_back();
        copy_fuzzy_name(v.name, name);
        v.value = 0.0f;
        v.sets = sets;
        return v;
    }
};

}  // namespace

TEST_F(FuzzyEngine, MembershipOfATrapezoid) {
    FuzzySet set = make_fuzzy_set("T", 0, 2, 4, 6);
    const struct {
        float x, degree;
    } table[] = {{-1, 0}, {0, 0}, {0.5f, 0.25f}, {1, 0.5f}, {2, 1}, {3, 1}, {4, 1}, {5, 0.5f}, {5.5f, 0.25f}, {6, 0}, {7, 0}};
    for (const auto& row : table) {
        fuzzy_membership(set, row.x);
        EXPECT_NEAR(set.degree, row.degree, TOLERANCE) << "x = " << row.x;
    }
}

TEST_F(FuzzyEngine, MembershipOfShouldersAndVerticalSides) {
    FuzzySet left = make_fuzzy_set("Left", 0, 0, 2, 5);
    FuzzySet right = make_fuzzy_set("Right", 1, 3, 8, 8);
    FuzzySet triangle = make_fuzzy_set("Tri", 2, 4, 4, 6);
    const struct {
        FuzzySet* set;
        float x, degree;
    } table[] = {
        {&left, 0, 0},        {&left, 0.5f, 1},         {&left, 1e-7f, 0.099999f}, {&left, 2, 1},        {&left, 3.5f, 0.5f},
        {&left, 5, 0},        {&right, 2, 0.5f},        {&right, 7.999f, 1},       {&right, 8, 0},       {&triangle, 3, 0.5f},
        {&triangle, 4, 1},    {&triangle, 4.5f, 0.75f}, {&triangle, 6, 0},
    };
    for (const auto& row : table) {
        fuzzy_membership(*row.set, row.x);
        EXPECT_NEAR(row.set->degree, row.degree, 1e-4f) << row.set->label << " at " << row.x;
    }
}

TEST_F(FuzzyEngine, AreaIsTheTrapezoidCutAtTheDegree) {
    FuzzySet set = make_fuzzy_set("T", 4, 5, 7, 8);
    const struct {
        float degree, area;
    } table[] = {{0, 0}, {1, 3}, {0.5f, 1.75f}, {0.25f, 0.25f * (4 + 3.5f) / 2}};
    for (const auto& row : table) {
        set.degree = row.degree;
        EXPECT_NEAR(fuzzy_set_area(set), row.area, TOLERANCE) << "degree " << row.degree;
    }
    FuzzySet block = make_fuzzy_set("Block", 1, 1, 3, 3);  // both sides vertical: no runs
    block.degree = 0.5f;
    EXPECT_NEAR(fuzzy_set_area(block), 1.0f, TOLERANCE);
}

TEST_F(FuzzyEngine, DefuzzifiesByAreaWeightedCentres) {
    LinguisticVariable& out = add_variable(fuzzy_system.output_variables, "Out",
                                           {make_fuzzy_set("A", 0, 1, 3, 4), make_fuzzy_set("B", 4, 5, 7, 8)});
    LinguisticVariable& other = add_variable(fuzzy_system.output_variables, "Other", {make_fuzzy_set("C", 0, 1, 3, 4)});
    out.sets[0].degree = 1.0f;
    out.sets[1].degree = 1.0f;
    fuzzy_defuzzify();
    EXPECT_NEAR(out.value, 4.0f, TOLERANCE);
    EXPECT_EQ(other.value, 0.0f) << "no set raised gives 0";

    out.sets[1].degree = 0.5f;
    fuzzy_defuzzify();
    EXPECT_NEAR(out.value, 16.5f / 4.75f, TOLERANCE);
    EXPECT_NEAR(out.value, 3.4737f, 1e-4f);

    // The centre is the middle of the feet, not the centroid of an asymmetric set.
    LinguisticVariable& skew = add_variable(fuzzy_system.output_variables, "Skew", {make_fuzzy_set("S", 0, 0, 0, 6)});
    skew.sets[0].degree = 0.5f;
    fuzzy_defuzzify();
    EXPECT_NEAR(skew.value, 3.0f, TOLERANCE);
}

TEST_F(FuzzyEngine, RulesTakeTheMinimumAndRaiseByMaximum) {
    LinguisticVariable& a = add_variable(fuzzy_system.input_variables, "A", {make_fuzzy_set("Lo", 0, 1, 2, 3)});
    LinguisticVariable& b = add_variable(fuzzy_system.input_variables, "B", {make_fuzzy_set("Lo", 0, 1, 2, 3)});
    LinguisticVariable& out = add_variable(fuzzy_system.output_variables, "Out",
                                           {make_fuzzy_set("No", 0, 1, 2, 3), make_fuzzy_set("Yes", 5, 6, 7, 8),
                                            make_fuzzy_set("Untouched", 8, 9, 9, 10)});
    FuzzySet* a_lo = &a.sets[0];
    FuzzySet* b_lo = &b.sets[0];
    fuzzy_system.rules.push_back({{a_lo, b_lo}, {&out.sets[1]}});  // strength min(0.3, 0.8)
    fuzzy_system.rules.push_back({{b_lo}, {&out.sets[1]}});        // 0.8 keeps the strongest
    fuzzy_system.rules.push_back({{a_lo}, {&out.sets[0]}});        // 0.3
    fuzzy_system.rules.push_back({{}, {}});                        // an empty rule does nothing
    a.value = 0.3f;
    b.value = 0.8f;
    fuzzy_fuzzify();
    EXPECT_NEAR(a_lo->degree, 0.3f, TOLERANCE);
    fuzzy_evaluate_rules();
    EXPECT_NEAR(out.sets[1].degree, 0.8f, TOLERANCE);
    EXPECT_NEAR(out.sets[0].degree, 0.3f, TOLERANCE);

    out.sets[2].degree = 0.6f;  // not referred to by any rule
    fuzzy_reset_rule_degrees();
    EXPECT_EQ(out.sets[0].degree, 0.0f);
    EXPECT_EQ(out.sets[1].degree, 0.0f);
    EXPECT_EQ(a_lo->degree, 0.0f);
    EXPECT_EQ(b_lo->degree, 0.0f);
    EXPECT_EQ(out.sets[2].degree, 0.6f) << "reset touches only sets a rule refers to";

    // Degrees of output sets accumulate until reset; a rule without antecedents has strength 1.
    fuzzy_system.rules.push_back({{}, {&out.sets[0]}});
    fuzzy_fuzzify();
    fuzzy_evaluate_rules();
    EXPECT_EQ(out.sets[0].degree, 1.0f);
}

TEST_F(FuzzyEngine, InputsComeFromTheAxisRowByName) {
    const char* names[] = {"Pt", "Pt-1", "Pt-2", "Pt-3", "Pt-4", "Vt", "Vt-1", "Vt-2", "Vt-3", "At", "At-1", "At-2", "Other"};
    for (const char* name : names) {
        LinguisticVariable& v = add_variable(fuzzy_system.input_variables, name, {});
        v.quantity = fuzzy_input_quantity(name);
    }
    motion_inputs.resize(8);
    MotionInputs& row = motion_inputs[7];
    for (int axis = 0; axis < 3; ++axis) {
        for (int k = 0; k < 5; ++k) row.axis[axis].position[k] = 100 * axis + k;
        for (int k = 0; k < 4; ++k) row.axis[axis].velocity[k] = 100 * axis + 10 + k;
        for (int k = 0; k < 3; ++k) row.axis[axis].acceleration[k] = 100 * axis + 20 + k;
    }
    const float expected[] = {0, 1, 2, 3, 4, 10, 11, 12, 13, 20, 21, 22};
    for (char axis : {'x', 'y', 'z'}) {
        fuzzy_assign_inputs(7, axis);
        for (int i = 0; i < 12; ++i) {
            EXPECT_FLOAT_EQ(fuzzy_system.input_variables[i].value, expected[i] + 100 * (axis - 'x')) << names[i] << axis;
        }
        EXPECT_EQ(fuzzy_system.input_variables[12].value, 0.0f) << "an unknown name receives nothing";
    }
    fuzzy_assign_inputs(7, 'w');
    EXPECT_FLOAT_EQ(fuzzy_system.input_variables[0].value, 200.0f) << "another axis letter assigns nothing";
}
