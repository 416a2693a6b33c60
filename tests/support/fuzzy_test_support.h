// Builders for the fuzzy module's tests: rules files written from short pieces, captures put
// straight into the working copy, and a recorder of what a diagnosis run writes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/fuzzy/expert_system.h"
#include "support/test_support.h"

// <linguisticvar type="TYPE" name="NAME"> with one fuzzyset per "LABEL a b c d" entry.
std::string fim_variable(const std::string& type, const std::string& name, const std::vector<std::string>& sets);
// <rule> with antecedents "VAR:LABEL" and consequents "VAR:LABEL".
std::string fim_rule(const std::vector<std::string>& antecedents, const std::vector<std::string>& consequents);
// <system name="NAME">BODY</system>
std::string fim_system(const std::string& name, const std::string& body);
// A whole document with the FIM root around the systems.
std::string fim_document(const std::string& systems);

// A system named NAME whose one output "Out" is raised to set "Hi" (centre 10, so every firing
// is a finding for each diagnosis) by the rule "Pt is High" (a ramp from LOW to HIGH).
std::string firing_system(const std::string& name, const std::string& input, double low, double high);

// Puts a capture of `marks` x `frames` into the working copy as layer 1 (through the IDF reader).
void load_capture(int marks, int frames, const std::function<double(int mark, int frame, int axis)>& value,
                  const std::vector<std::string>& names = {});

// What a run wrote into each view, with the mode it answers.
struct RunRecord {
    std::string rules;
    std::string actions;
    bool repair = false;
    int process_calls = 0;
    DiagnosisReport report();
    std::vector<std::string> finding_lines() const;
};
