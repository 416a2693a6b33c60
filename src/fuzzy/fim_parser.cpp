// The FIM reader on libxml2. Problems with single elements are not reported: an element that
// lacks what it needs is skipped, and a rule term that names nothing known is dropped.
#include "fuzzy/fim_parser.h"

#include <libxml/parser.h>

#include <cctype>
#include <charconv>
#include <cstring>

#include "core/seams.h"
#include "fuzzy/fuzzy_engine.h"
#include "fuzzy/fuzzy_system.h"
#include "platform/regular_file.h"

namespace {

// The parser's own complaints stay quiet: the message box says what went wrong.
// Far more than any rules file takes.
constexpr size_t MOST_RULES_BYTES = 64 << 20;

void ignore_xml_error(void*, const char*, ...) {}

bool named(xmlNodePtr node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// An attribute's text, released when it goes; empty when the attribute is missing.
struct Attribute {
    xmlChar* text;
    Attribute(xmlNodePtr node, const char* name) : text(xmlGetProp(node, reinterpret_cast<const xmlChar*>(name))) {}
    Attribute(const Attribute&) = delete;
    Attribute& operator=(const Attribute&) = delete;
    ~Attribute() { xmlFree(text); }
    explicit operator bool() const { return text != nullptr; }
    const char* c_str() const { return reinterpret_cast<const char*>(text); }
};

void read_fuzzy_set(xmlNodePtr node, LinguisticVariable& variable) {
    const Attribute label(node, "label"), a(node, "a"), b(node, "b"), c(node, "c"), d(node, "d");
    if (!label || !a || !b || !c || !d) return;
    const auto corner = [](const Attribute& text) { return static_cast<float>(fim_read_number(text.c_str())); };
    variable.sets.push_back(make_fuzzy_set(label.c_str(), corner(a), corner(b), corner(c), corner(d)));
}

void read_variable(xmlNodePtr node) {
    const Attribute name(node, "name"), type(node, "type");
    if (!name) return;
    const bool input = type && std::strcmp(type.c_str(), "input") == 0;
    auto& list = input ? fuzzy_system.input_variables : fuzzy_system.output_variables;
    LinguisticVariable& variable = list.emplace_back();
    copy_fuzzy_name(variable.name, name.c_str());
    variable.value = 0.0f;
    if (input) variable.quantity = fuzzy_input_quantity(variable.name);
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (named(child, "fuzzyset")) read_fuzzy_set(child, variable);
    }
}

// The set named by a term's varname and linglabel: only the first variable of that name is
// searched. Null when there is none.
FuzzySet* find_term(std::vector<LinguisticVariable>& variables, xmlNodePtr term) {
    const Attribute varname(term, "varname"), linglabel(term, "linglabel");
    if (!varname || !linglabel) return nullptr;
    char wanted_name[FUZZY_NAME_SIZE], wanted_label[FUZZY_NAME_SIZE];
    copy_fuzzy_name(wanted_name, varname.c_str());
    copy_fuzzy_name(wanted_label, linglabel.c_str());
    for (LinguisticVariable& variable : variables) {
        if (std::strcmp(variable.name, wanted_name) != 0) continue;
        for (FuzzySet& set : variable.sets) {
            if (std::strcmp(set.label, wanted_label) == 0) return &set;
        }
        return nullptr;
    }
    return nullptr;
}

void read_rule(xmlNodePtr node) {
    FuzzyRule& rule = fuzzy_system.rules.emplace_back();
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;  // blank text, text and comments
        if (named(child, "antecedent")) {
            if (FuzzySet* set = find_term(fuzzy_system.input_variables, child)) rule.antecedents.push_back(set);
        } else if (FuzzySet* set = find_term(fuzzy_system.output_variables, child)) {
            rule.consequents.push_back(set);
        }
    }
}

}  // namespace

FimDocument::~FimDocument() {
    if (doc) xmlFreeDoc(doc);
}

int fim_check_document(xmlDocPtr doc, FimDocument& out) {
    if (!doc) {
        show_error("The FIM doesn't have a valid format");
        return 1;
    }
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root) {
        show_error("FIM file is empty");
        xmlFreeDoc(doc);
        return 1;
    }
    if (xmlStrcmp(root->name, reinterpret_cast<const xmlChar*>("FIM")) != 0) {
        show_error("Incorrect document type; root node isn't FIM");
        xmlFreeDoc(doc);
        return 1;
    }
    if (out.doc) xmlFreeDoc(out.doc);
    out.doc = doc;
    out.root = root;
    return 0;
}

int fim_open(const std::string& path, FimDocument& out) {
    xmlSetGenericErrorFunc(nullptr, ignore_xml_error);
    std::string text, reason;
    // A file that cannot be opened is "not a valid format", as the parser has always said; one
    // that is no file to read, or far too large for rules, says so.
    switch (read_regular_file(path, MOST_RULES_BYTES, text, reason)) {
    case FileRead::done:
        return fim_check_document(xmlReadMemory(text.data(), static_cast<int>(text.size()), path.c_str(), nullptr, 0),
                                  out);
    case FileRead::cannot_open: return fim_check_document(nullptr, out);
    case FileRead::refused: show_error("Error opening file:\n " + path + "\n " + reason); return 1;
    }
    return 1;
}

void fim_parse_system(xmlNodePtr system) {
    fuzzy_system.rules.clear();
    for (xmlNodePtr child = system->children; child; child = child->next) {
        if (named(child, "linguisticvar")) {
            read_variable(child);
        } else if (named(child, "rule")) {
            read_rule(child);
        }
    }
}

double fim_read_number(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const char* start = p;
    const auto digits = [](const char* q) {
        while (std::isdigit(static_cast<unsigned char>(*q))) ++q;
        return q;
    };
    const char* end = digits(p);
    bool any_digit = end != start;
    if (*end == '.') {
        const char* fraction_end = digits(end + 1);
        any_digit = any_digit || fraction_end != end + 1;
        end = fraction_end;
    }
    if (!any_digit) return 0.0;
    if (*end == 'e' || *end == 'E') {
        const char* q = end + 1;
        if (*q == '+' || *q == '-') ++q;
        if (std::isdigit(static_cast<unsigned char>(*q))) end = digits(q);
    }
    double value = 0.0;
    std::from_chars(start, end, value);  // out of range leaves 0
    return negative ? -value : value;
}
