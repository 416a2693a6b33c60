// Command-line words of zemo-cli: positional arguments and "--name value" options.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

struct CliArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    bool has(const std::string& option) const { return options.count(option) != 0; }
};

// Splits words into positional arguments and options. Options named in `with_value` take the
// next word as their value, those in `flags` take none. Returns an empty text or the usage error.
std::string parse_cli_args(const std::vector<std::string>& words, const std::set<std::string>& with_value,
                           const std::set<std::string>& flags, CliArgs& out);

// Parses a whole decimal integer; false for anything else.
bool parse_cli_int(const std::string& text, int& value);
// Parses a finite decimal number with "." as the point, whatever the locale; false for anything
// else (nan and inf included).
bool parse_cli_number(const std::string& text, double& value);
