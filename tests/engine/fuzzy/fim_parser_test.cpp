// Reading rules files: the document checks, variables and sets, and how rule terms are resolved.
#include <gtest/gtest.h>
#include <libxml/tree.h>

#include <cmath>
#include <string>

#include "engine/fuzzy/fim_parser.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "support/fuzzy_test_support.h"

namespace {

struct FimParse : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    FimDocument document;
    FimWarnings warnings;

    void TearDown() override { fim_clear(); }

    // Opens a document holding the given systems and parses the first one.
    void parse(const std::string& systems) {
        const std::string path = dir.path("rules.fim");
        write_file(path, fim_document(systems));
        ASSERT_EQ(fim_open(path, document), 0);
        for (xmlNodePtr child = document.root->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                warnings = fim_parse_system(child);
                return;
            }
        }
        FAIL() << "no system in the document";
    }
    int open_text(const std::string& text) {
        const std::string path = dir.path("doc.fim");
        write_file(path, text);
        return fim_open(path, document);
    }
    static const LinguisticVariable& input(int i) { return fuzzy_system.input_variables.at(i); }
    static const LinguisticVariable& output(int i) { return fuzzy_system.output_variables.at(i); }
    static const FuzzyRule& rule(int i) { return fuzzy_system.rules.at(i); }
};

const std::string two_inputs = fim_variable("input", "Vt", {"Low 0 1 2 3", "High 2 3 4 5"}) +
                               fim_variable("output", "Error", {"No 0 1 2 3", "Yes 5 6 7 8"});

}  // namespace

TEST_F(FimParse, DocumentErrorsShowTheirBoxAndKeepNothing) {
    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {"<FIM><system name=\"a\"></FIM>", "The FIM doesn't have a valid format"},
        {"", "The FIM doesn't have a valid format"},
        {"<?xml version=\"1.0\"?>\n<fim/>", "Incorrect document type; root node isn't FIM"},
        {"<?xml version=\"1.0\"?>\n<rules><FIM/></rules>", "Incorrect document type; root node isn't FIM"},
    };
    for (const Case& c : cases) {
        recorder.messages.clear();
        EXPECT_EQ(open_text(c.text), 1) << c.text;
        ASSERT_EQ(recorder.messages.size(), 1u) << c.text;
        EXPECT_EQ(recorder.messages[0].text, c.message);
        EXPECT_EQ(recorder.messages[0].type, 3);
        EXPECT_EQ(recorder.messages[0].buttons, 2);
        EXPECT_EQ(document.doc, nullptr);
    }
    recorder.messages.clear();
    EXPECT_EQ(fim_open(dir.path("missing.fim"), document), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "The FIM doesn't have a valid format");
}

TEST_F(FimParse, DocumentWithoutRootElementIsEmpty) {
    // A file that parses always has a root element, so the check is fed a document built here.
    EXPECT_EQ(fim_check_document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")), document).message(),
              "FIM file is empty");
    EXPECT_EQ(document.doc, nullptr);
}

TEST_F(FimParse, OnlyTypeInputExactlyMakesAnInput) {
    parse(fim_system("s", fim_variable("input", "A", {}) + fim_variable("Input", "B", {}) +
                              fim_variable("INPUT", "C", {}) + fim_variable("", "D", {}) +
                              fim_variable("output", "E", {}) + fim_variable("input ", "F", {})));
    ASSERT_EQ(fuzzy_system.input_variables.size(), 1u);
    EXPECT_STREQ(input(0).name, "A");
    ASSERT_EQ(fuzzy_system.output_variables.size(), 5u);
    const char* outputs[] = {"B", "C", "D", "E", "F"};
    for (int i = 0; i < 5; ++i) EXPECT_STREQ(output(i).name, outputs[i]);
}

TEST_F(FimParse, SetsKeepFeetAndSlopesOfTheirSides) {
    parse(fim_system("s", fim_variable("input", "Pt", {"Shoulder 0 0 2 5", "Triangle 2 4 4 6", "Right 1 3 8 8",
                                                       "Wide -2.5 0.5 1.5 3.5"})));
    const auto& sets = input(0).sets;
    ASSERT_EQ(sets.size(), 4u);
    const float tolerance = 1e-6f;
    struct Expected {
        const char* label;
        float a, d, left, right;
    } expected[] = {
        {"Shoulder", 0, 5, VERTICAL_SLOPE, 1.0f / 3.0f},
        {"Triangle", 2, 6, 0.5f, 0.5f},
        {"Right", 1, 8, 0.5f, VERTICAL_SLOPE},
        {"Wide", -2.5f, 3.5f, 1.0f / 3.0f, 0.5f},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(sets[i].label, expected[i].label);
        EXPECT_NEAR(sets[i].a, expected[i].a, tolerance) << expected[i].label;
        EXPECT_NEAR(sets[i].d, expected[i].d, tolerance) << expected[i].label;
        EXPECT_NEAR(sets[i].left_slope, expected[i].left, tolerance) << expected[i].label;
        EXPECT_NEAR(sets[i].right_slope, expected[i].right, tolerance) << expected[i].label;
        EXPECT_EQ(sets[i].degree, 0.0f);
    }
    EXPECT_EQ(input(0).value, 0.0f);
}

TEST_F(FimParse, CornersReadAsDecimalNumbersWithoutLocale) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"1.5", 1.5},  {"  -2.25", -2.25}, {"+3", 3},       {"1.5e1xyz", 15},  {"2E-2", 0.02},
                 {".5", 0.5},   {"4.", 4},          {"1e", 1},       {"7e+", 7},        {"abc", 0},
                 {"", 0},       {"-", 0},           {"1,5", 1},      {"0x10", 0},       {"inf", 0},
                 {"12 13", 12}, {"-.75", -0.75},    {"\t\n9", 9},  {"1e400", HUGE_VAL}, {"-2.5e99999", -HUGE_VAL},
                 {"0.001e312", HUGE_VAL}, {"1e-400", 0}, {"-1000e-330", 0}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(fim_read_number(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(FimParse, LayoutOfARuleAndNameOfAConsequentDoNotMatter) {
    const std::string spread = "<rule>\n      <antecedent varname=\"Vt\" linglabel=\"High\"/>\n\n\t"
                               "<consequent varname=\"Error\" linglabel=\"Yes\"/>\n    </rule>";
    const std::string one_line = "<rule><antecedent varname=\"Vt\" linglabel=\"High\"/>"
                                 "<then varname=\"Error\" linglabel=\"Yes\"/></rule>";
    for (const std::string& rule_text : {spread, one_line}) {
        parse(fim_system("s", two_inputs + rule_text));
        ASSERT_EQ(fuzzy_system.rules.size(), 1u);
        ASSERT_EQ(rule(0).antecedents.size(), 1u);
        ASSERT_EQ(rule(0).consequents.size(), 1u);
        EXPECT_EQ(rule(0).antecedents[0], &input(0).sets[1]);
        EXPECT_EQ(rule(0).consequents[0], &output(0).sets[1]);
        fim_clear();
    }
}

TEST_F(FimParse, TermsThatMatchNothingAreDroppedSilently) {
    parse(fim_system("s", two_inputs +
                              "<rule><antecedent varname=\"Vt\" linglabel=\"high\"/>"   // label case differs
                              "<antecedent varname=\"Pt\" linglabel=\"High\"/>"         // no such variable
                              "<antecedent varname=\"Error\" linglabel=\"Yes\"/>"       // an output, not an input
                              "<consequent varname=\"Vt\" linglabel=\"Low\"/>"          // an input, not an output
                              "<antecedent linglabel=\"Low\"/>"                         // no varname
                              "<!-- a comment -->text<consequent varname=\"Error\" linglabel=\"No\"/></rule>"));
    ASSERT_EQ(fuzzy_system.rules.size(), 1u);
    EXPECT_TRUE(rule(0).antecedents.empty());
    ASSERT_EQ(rule(0).consequents.size(), 1u);
    EXPECT_EQ(rule(0).consequents[0], &output(0).sets[0]);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(FimParse, RulesReferToTheFirstVariableOfAName) {
    parse(fim_system("s", fim_variable("input", "Vt", {"Low 0 1 2 3"}) + fim_variable("input", "Vt", {"High 2 3 4 5", "Low 5 6 7 8"}) +
                              fim_variable("output", "Error", {"Yes 5 6 7 8"}) +
                              fim_rule({"Vt:Low"}, {"Error:Yes"}) + fim_rule({"Vt:High"}, {"Error:Yes"})));
    ASSERT_EQ(fuzzy_system.rules.size(), 2u);
    ASSERT_EQ(rule(0).antecedents.size(), 1u);
    EXPECT_EQ(rule(0).antecedents[0], &input(0).sets[0]);
    EXPECT_TRUE(rule(1).antecedents.empty()) << "High is only in the second Vt";
}

TEST_F(FimParse, OnlyElementsInTheirPlaceCount) {
    parse(fim_system("s", "<fuzzyset label=\"Stray\" a=\"0\" b=\"1\" c=\"2\" d=\"3\"/>\n" +
                              fim_variable("input", "At", {"Low 0 1 2 3"}) +
                              "<linguisticvar type=\"input\" name=\"Pt\"><set label=\"X\" a=\"0\" b=\"1\" c=\"2\" d=\"3\"/>"
                              "<fuzzyset label=\"NoD\" a=\"0\" b=\"1\" c=\"2\"/></linguisticvar>"
                              "<linguisticvar type=\"input\"><fuzzyset label=\"L\" a=\"0\" b=\"1\" c=\"2\" d=\"3\"/></linguisticvar>"
                              "<comment/>"));
    ASSERT_EQ(fuzzy_system.input_variables.size(), 2u) << "a variable without a name is skipped";
    EXPECT_EQ(input(0).sets.size(), 1u);
    EXPECT_STREQ(input(1).name, "Pt");
    EXPECT_TRUE(input(1).sets.empty()) << "only complete fuzzyset elements are sets";
    EXPECT_TRUE(fuzzy_system.rules.empty());
}

TEST_F(FimParse, VariablesAfterARuleServeOnlyLaterRules) {
    parse(fim_system("s", fim_variable("output", "Error", {"Yes 5 6 7 8"}) + fim_rule({"Vt:High"}, {"Error:Yes"}) +
                              fim_variable("input", "Vt", {"High 2 3 4 5"}) + fim_rule({"Vt:High"}, {"Error:Yes"}) +
                              fim_variable("input", "At", {"High 2 3 4 5"}) + fim_variable("input", "Pt", {"High 2 3 4 5"}) +
                              fim_rule({"Vt:High", "At:High", "Pt:High"}, {"Error:Yes"})));
    ASSERT_EQ(fuzzy_system.rules.size(), 3u);
    EXPECT_TRUE(rule(0).antecedents.empty());
    EXPECT_EQ(rule(1).antecedents.size(), 1u);
    ASSERT_EQ(rule(2).antecedents.size(), 3u);
    // The references stay valid however the list of variables grew.
    EXPECT_EQ(rule(2).antecedents[0], &input(0).sets[0]);
    EXPECT_EQ(rule(2).antecedents[2], &input(2).sets[0]);
    EXPECT_STREQ(rule(2).antecedents[2]->label, "High");
}

TEST_F(FimParse, LongNamesAreCutTo39CharactersAndStillMatch) {
    const std::string long_name(45, 'v');
    const std::string long_label = std::string(39, 'l') + "XYZ";
    parse(fim_system("s", fim_variable("input", long_name, {long_label + " 0 1 2 3"}) +
                              fim_variable("output", "Out", {"Yes 5 6 7 8"}) +
                              fim_rule({long_name + ":" + long_label}, {"Out:Yes"})));
    EXPECT_EQ(std::string(input(0).name), std::string(39, 'v'));
    EXPECT_EQ(std::string(input(0).sets[0].label), std::string(39, 'l'));
    EXPECT_EQ(rule(0).antecedents.size(), 1u);
}

TEST_F(FimParse, InputNamesSelectTheirQuantity) {
    std::string body;
    for (const char* name : {"Pt", "Pt-4", "Vt", "Vt-3", "At", "At-2", "pt", "At-3", "Pt "}) body += fim_variable("input", name, {});
    parse(fim_system("s", body));
    const int expected[] = {0, 4, 5, 8, 9, 11, -1, -1, -1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(input(i).quantity, expected[i]) << input(i).name;
}

TEST_F(FimParse, WhatIsLeftOutIsListedAsAWarning) {
    parse(fim_system("s", "<linguisticvar type=\"input\"><fuzzyset label=\"X\" a=\"0\" b=\"1\" c=\"2\" d=\"3\"/>"
                          "</linguisticvar><linguisticvar type=\"input\" name=\"Vt\">"
                          "<fuzzyset label=\"Low\" a=\"0\" b=\"1\" c=\"2\"/><fuzzyset a=\"0\" c=\"2\" d=\"3\"/>"
                          "<fuzzyset label=\"Wide\" a=\"-1e400\" b=\"0\" c=\"1\" d=\"1e400\"/></linguisticvar>" +
                              fim_variable("input", "Speed", {"Low 0 1 2 3"}) +
                              fim_variable("output", "Error", {"Yes 5 6 7 8"}) +
                              fim_rule({"Vt:Wide", "Vx:Low"}, {"Error:No"}) +
                              "<rule><antecedent linglabel=\"Wide\"/><then varname=\"Error\"/></rule>"));
    EXPECT_EQ(warnings, FimWarnings({
                            "a linguisticvar without a name is left out, with its sets",
                            "the variable \"Vt\" has a fuzzyset \"Low\" without d: the set is left out",
                            "the variable \"Vt\" has a fuzzyset without label, b: the set is left out",
                            "the input \"Speed\" is none of the quantities the run computes (Pt .. Pt-4, Vt .. Vt-3, "
                            "At .. At-2): its value stays 0",
                            "rule 1: an antecedent is left out, as there is no input variable \"Vx\" before it",
                            "rule 1: a consequent is left out, as the output variable \"Error\" has no set \"No\"",
                            "rule 2: an antecedent is left out, as it has no varname",
                            "rule 2: a consequent is left out, as it has no linglabel",
                        }));
    // What was kept is as the file says: corners too large for a number are infinite.
    ASSERT_EQ(input(0).sets.size(), 1u);
    EXPECT_EQ(input(0).sets[0].a, -INFINITY);
    EXPECT_EQ(input(0).sets[0].d, INFINITY);
    ASSERT_EQ(rule(0).antecedents.size(), 1u);
    EXPECT_EQ(rule(0).antecedents[0], &input(0).sets[0]);

    fim_clear();
    parse(fim_system("s", two_inputs));
    EXPECT_TRUE(warnings.empty());
}
