// The FIM reader on libxml2. An element that lacks what it needs is skipped, and a rule term that
// names nothing known is dropped; each is listed as a warning, so a mistyped file is noticed.
#include "engine/fuzzy/fim_parser.h"

#include <libxml/parser.h>

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "engine/fuzzy/fuzzy_engine.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "engine/model/seams.h"
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

// A corner as a 32-bit float: one too large for a float is infinite, as strtod's HUGE_VAL is.
float corner_value(const Attribute& text) {
    const double value = fim_read_number(text.c_str());
    if (value > FLT_MAX) return INFINITY;
    if (value < -FLT_MAX) return -INFINITY;
    return static_cast<float>(value);
}

std::string quoted(const char* text) { return std::string("\"") + (text ? text : "") + "\""; }

void read_fuzzy_set(xmlNodePtr node, LinguisticVariable& variable, FimWarnings& warnings) {
    const Attribute label(node, "label"), a(node, "a"), b(node, "b"), c(node, "c"), d(node, "d");
    if (!label || !a || !b || !c || !d) {
        const std::pair<const Attribute*, const char*> needed[] = {
            {&label, "label"}, {&a, "a"}, {&b, "b"}, {&c, "c"}, {&d, "d"}};
        std::string missing;
        for (const auto& [attribute, name] : needed) {
            if (!*attribute) missing += std::string(missing.empty() ? "" : ", ") + name;
        }
        warnings.push_back("the variable " + quoted(variable.name) + " has a fuzzyset " +
                           (label ? quoted(label.c_str()) + " " : std::string()) + "without " + missing +
                           ": the set is left out");
        return;
    }
    variable.sets.push_back(
        make_fuzzy_set(label.c_str(), corner_value(a), corner_value(b), corner_value(c), corner_value(d)));
}

void read_variable(xmlNodePtr node, FimWarnings& warnings) {
    const Attribute name(node, "name"), type(node, "type");
    if (!name) {
        warnings.emplace_back("a linguisticvar without a name is left out, with its sets");
        return;
    }
    const bool input = type && std::strcmp(type.c_str(), "input") == 0;
    auto& list = input ? fuzzy_system.input_variables : fuzzy_system.output_variables;
    LinguisticVariable& variable = list.emplace_back();
    copy_fuzzy_name(variable.name, name.c_str());
    variable.value = 0.0f;
    if (input) {
        variable.quantity = fuzzy_input_quantity(variable.name);
        if (variable.quantity < 0) {
            warnings.push_back("the input " + quoted(name.c_str()) +
                               " is none of the quantities the run computes (Pt .. Pt-4, Vt .. Vt-3, At .. At-2): "
                               "its value stays 0");
        }
    }
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (named(child, "fuzzyset")) read_fuzzy_set(child, variable, warnings);
    }
}

// The set named by a term's varname and linglabel: only the first variable of that name is
// searched. Null, with the reason in `why`, when there is none.
FuzzySet* find_term(std::vector<LinguisticVariable>& variables, xmlNodePtr term, const char* kind, std::string& why) {
    const Attribute varname(term, "varname"), linglabel(term, "linglabel");
    if (!varname || !linglabel) {
        why = std::string("it has no ") + (varname ? "linglabel" : "varname");
        return nullptr;
    }
    char wanted_name[FUZZY_NAME_SIZE], wanted_label[FUZZY_NAME_SIZE];
    copy_fuzzy_name(wanted_name, varname.c_str());
    copy_fuzzy_name(wanted_label, linglabel.c_str());
    for (LinguisticVariable& variable : variables) {
        if (std::strcmp(variable.name, wanted_name) != 0) continue;
        for (FuzzySet& set : variable.sets) {
            if (std::strcmp(set.label, wanted_label) == 0) return &set;
        }
        why = std::string("the ") + kind + " variable " + quoted(varname.c_str()) + " has no set " +
              quoted(linglabel.c_str());
        return nullptr;
    }
    why = std::string("there is no ") + kind + " variable " + quoted(varname.c_str()) + " before it";
    return nullptr;
}

void read_rule(xmlNodePtr node, FimWarnings& warnings) {
    FuzzyRule& rule = fuzzy_system.rules.emplace_back();
    const std::string rule_name = "rule " + std::to_string(fuzzy_system.rules.size());
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;  // blank text, text and comments
        const bool antecedent = named(child, "antecedent");
        std::string why;
        if (antecedent) {
            if (FuzzySet* set = find_term(fuzzy_system.input_variables, child, "input", why)) {
                rule.antecedents.push_back(set);
                continue;
            }
        } else if (FuzzySet* set = find_term(fuzzy_system.output_variables, child, "output", why)) {
            rule.consequents.push_back(set);
            continue;
        }
        warnings.push_back(rule_name + (antecedent ? ": an antecedent" : ": a consequent") + " is left out, as " + why);
    }
}

// The power of ten of the first significant digit of digits[.fraction][e exponent]: above 0
// for a number out of range because it is too large, below 0 for one too small.
long long decimal_exponent(const char* start, const char* end) {
    const char* mantissa_end = std::find_if(start, end, [](char ch) { return ch == 'e' || ch == 'E'; });
    const char* point = std::find(start, mantissa_end, '.');
    const char* first = std::find_if(start, mantissa_end, [](char ch) { return ch >= '1' && ch <= '9'; });
    const long long power = first < point ? point - first - 1 : -(first - point);
    long long exponent = 0;
    if (mantissa_end < end) {
        const char* p = mantissa_end + 1;
        const bool negative = *p == '-';
        if (*p == '+' || *p == '-') ++p;
        for (; p < end && exponent < 1000000000; ++p) exponent = exponent * 10 + (*p - '0');
        if (negative) exponent = -exponent;
    }
    return power + exponent;
}

}  // namespace

FimDocument::~FimDocument() {
    if (doc) xmlFreeDoc(doc);
}

Status fim_check_document(xmlDocPtr doc, FimDocument& out) {
    if (!doc) return Status::failure("The FIM doesn't have a valid format");
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root) {
        xmlFreeDoc(doc);
        return Status::failure("FIM file is empty");
    }
    if (xmlStrcmp(root->name, reinterpret_cast<const xmlChar*>("FIM")) != 0) {
        xmlFreeDoc(doc);
        return Status::failure("Incorrect document type; root node isn't FIM");
    }
    if (out.doc) xmlFreeDoc(out.doc);
    out.doc = doc;
    out.root = root;
    return {};
}

Status fim_read_document(const std::string& path, FimDocument& out) {
    xmlSetGenericErrorFunc(nullptr, ignore_xml_error);
    std::string text, reason;
    // A file that cannot be opened is "not a valid format", as the parser has always said; one
    // that is no file to read, or far too large for rules, says so.
    switch (read_regular_file(path, MOST_RULES_BYTES, text, reason)) {
    case FileRead::done:
        return fim_check_document(xmlReadMemory(text.data(), static_cast<int>(text.size()), path.c_str(), nullptr, 0),
                                  out);
    case FileRead::cannot_open: return fim_check_document(nullptr, out);
    case FileRead::refused: break;
    }
    return Status::failure("Error opening file:\n " + path + "\n " + reason);
}

int fim_open(const std::string& path, FimDocument& out) { return show_failure(fim_read_document(path, out)); }

FimWarnings fim_parse_system(xmlNodePtr system) {
    FimWarnings warnings;
    fuzzy_system.rules.clear();
    for (xmlNodePtr child = system->children; child; child = child->next) {
        if (named(child, "linguisticvar")) {
            read_variable(child, warnings);
        } else if (named(child, "rule")) {
            read_rule(child, warnings);
        }
    }
    return warnings;
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
    if (std::from_chars(start, end, value).ec == std::errc::result_out_of_range) {
        value = decimal_exponent(start, end) > 0 ? HUGE_VAL : 0.0;  // as strtod gives it
    }
    return negative ? -value : value;
}
