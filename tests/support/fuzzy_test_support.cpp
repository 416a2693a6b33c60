// Builders for the fuzzy module's tests.
#include "support/fuzzy_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/formats/idf/idf_reader.h"

std::string fim_variable(const std::string& type, const std::string& name, const std::vector<std::string>& sets) {
    std::string text = "  <linguisticvar" + (type.empty() ? std::string() : " type=\"" + type + "\"") + " name=\"" + name + "\">\n";
    for (const std::string& set : sets) {
        std::istringstream in(set);
        std::string label, a, b, c, d;
        in >> label >> a >> b >> c >> d;
        text += "    <fuzzyset label=\"" + label + "\" a=\"" + a + "\" b=\"" + b + "\" c=\"" + c + "\" d=\"" + d + "\"/>\n";
    }
    return text + "  </linguisticvar>\n";
}

static std::string term(const char* element, const std::string& text) {
    const size_t colon = text.find(':');
    return std::string("<") + element + " varname=\"" + text.substr(0, colon) + "\" linglabel=\"" + text.substr(colon + 1) +
           "\"/>";
}

std::string fim_rule(const std::vector<std::string>& antecedents, const std::vector<std::string>& consequents) {
    std::string text = "  <rule>\n";
    for (const std::string& a : antecedents) text += "    " + term("antecedent", a) + "\n";
    for (const std::string& c : consequents) text += "    " + term("consequent", c) + "\n";
    return text + "  </rule>\n";
}

std::string fim_system(const std::string& name, const std::string& body) {
    return "<system name=\"" + name + "\">\n" + body + "</system>\n";
}

std::string fim_document(const std::string& systems) { return "<?xml version=\"1.0\"?>\n<FIM>\n" + systems + "</FIM>\n"; }

std::string firing_system(const std::string& name, const std::string& input, double low, double high) {
    const std::string ramp = "High " + std::to_string(low) + " " + std::to_string(high) + " 1e9 1e9";
    return fim_system(name, fim_variable("input", input, {ramp}) + fim_variable("output", "Out", {"Hi 9 10 10 11"}) +
                                fim_rule({input + ":High"}, {"Out:Hi"}));
}

void load_capture(int marks, int frames, const std::function<double(int, int, int)>& value,
                  const std::vector<std::string>& names) {
    ReadError error;
    CaptureData data;
    ASSERT_EQ(idf_parse(make_idf_text(100, marks, frames, value, names), "test.idf", data, error), 0) << error.text;
    static_cast<CaptureData&>(app) = data;
    app.current_layer = 1;
    layer_store(1);
    app.layers[1].in_use = 1;
}

DiagnosisReport RunRecord::report() {
    DiagnosisReport r;
    r.rules_append = [this](const std::string& text) { rules += text; };
    r.actions_append = [this](const std::string& text) { actions += text; };
    r.repair_mode = [this] { return repair; };
    r.process_events = [this] { ++process_calls; };
    return r;
}

std::vector<std::string> RunRecord::finding_lines() const {
    std::vector<std::string> lines;
    std::istringstream in(actions);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(" ---", 0) != 0 && line.rfind("  Expert System: ", 0) != 0) lines.push_back(line);
    }
    return lines;
}
