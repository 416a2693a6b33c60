// Reading FIM rules files: the document check, and the fuzzy system of one `system` element.
#pragma once

#include <libxml/tree.h>

#include <string>

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
// Returns 0 with the document kept in `out`, or 1 after showing why and releasing it.
int fim_check_document(xmlDocPtr doc, FimDocument& out);

// Parses the file and checks that its root is FIM. Returns 0, or 1 after showing why not.
int fim_open(const std::string& path, FimDocument& out);

// Builds fuzzy_system from a `system` element; the variable lists are expected empty.
void fim_parse_system(xmlNodePtr system);

// A decimal number at the start of text ("." as the point, whatever the locale): leading blanks,
// an optional sign, digits with an optional fraction and exponent; 0 when there is none.
double fim_read_number(const char* text);
