// Reading FIM rules files: the document check, and the fuzzy system of one `system` element.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <vector>

#include "engine/model/status.h"

// A parsed rules file, released when it goes.
struct FimDocument {
    xmlDocPtr doc = nullptr;
    xmlNodePtr root = nullptr;

    FimDocument() = default;
    FimDocument(const FimDocument&) = delete;
    FimDocument& operator=(const FimDocument&) = delete;
    ~FimDocument();
};

// Takes a parsed document (null when parsing failed): it must have a root element named FIM.
// Keeps it in `out`, or releases it and says why not.
Status fim_check_document(xmlDocPtr doc, FimDocument& out);

// Parses the file and checks that its root is FIM, or says why not.
Status fim_read_document(const std::string& path, FimDocument& out);
// The same, showing a failure in an error box: 0 on success, 1 on failure.
int fim_open(const std::string& path, FimDocument& out);

// What was left out while a system was read: one text per variable, set or rule term, naming it
// and why ("rule 3: an antecedent is left out, as there is no input variable \"Vt\" before it").
using FimWarnings = std::vector<std::string>;

// Builds fuzzy_system from a `system` element; the variable lists are expected empty.
FimWarnings fim_parse_system(xmlNodePtr system);

// A decimal number at the start of text ("." as the point, whatever the locale): leading blanks,
// an optional sign, digits with an optional fraction and exponent; 0 when there is none. Out of
// range, as strtod reads it: too large is +-HUGE_VAL, too small 0.
double fim_read_number(const char* text);
