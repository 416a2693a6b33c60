// Fuzz target: the FIM rules reader and the fuzzy engine run on what it read. Each `system`
// element is parsed, given a few input values and run through one whole inference.
#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/fuzzy/fim_parser.h"
#include "engine/fuzzy/fuzzy_engine.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "engine/model/seams.h"

static void ignore_xml_error(void*, const char*, ...) {}

static bool is_system(xmlNodePtr node) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>("system")) == 0;
}

static void infer(float value) {
    for (LinguisticVariable& variable : fuzzy_system.input_variables) variable.value = value;
    fuzzy_fuzzify();
    fuzzy_evaluate_rules();
    fuzzy_defuzzify();
    fuzzy_reset_rule_degrees();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (install_seams({}), xmlSetGenericErrorFunc(nullptr, ignore_xml_error), true);
    (void)ready;
    if (size > 1 << 20) return 0;
    xmlDocPtr doc = xmlReadMemory(reinterpret_cast<const char*>(data), static_cast<int>(size), "fuzz.fim", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    FimDocument document;
    if (!fim_check_document(doc, document).ok()) return 0;
    for (xmlNodePtr child = document.root->children; child; child = child->next) {
        if (!is_system(child)) continue;
        fim_parse_system(child);
        for (float value : {-1.0e6f, -1.0f, 0.0f, 0.5f, 2.0f, 7.0f, 10.0f, 1.0e6f}) infer(value);
        // The centre of every input set, where its rules hold most.
        for (LinguisticVariable& variable : fuzzy_system.input_variables) {
            for (const FuzzySet& set : variable.sets) {
                variable.value = set.a + (set.d - set.a) / 2.0f;
                fuzzy_fuzzify();
                fuzzy_evaluate_rules();
                fuzzy_defuzzify();
                fuzzy_reset_rule_degrees();
            }
        }
        // After a reset no set that a rule touches keeps a degree.
        for (const FuzzyRule& rule : fuzzy_system.rules) {
            for (const FuzzySet* set : rule.consequents) {
                if (set->degree != 0.0f) __builtin_trap();
            }
        }
        fim_clear();
    }
    return 0;
}
