// Argument splitting shared by every zemo-cli command.
#include "cli/cli_args.h"

#include <charconv>
#include <cmath>

std::string parse_cli_args(const std::vector<std::string>& words, const std::set<std::string>& with_value,
                           const std::set<std::string>& flags, CliArgs& out) {
    out = {};
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            out.positional.push_back(word);
            continue;
        }
        const std::string name = word.substr(2);
        if (out.has(name)) return "option --" + name + " given twice";
        if (flags.count(name)) {
            out.options[name] = "";
        } else if (with_value.count(name)) {
            if (i + 1 >= words.size()) return "option --" + name + " needs a value";
            out.options[name] = words[++i];
        } else {
            return "unknown option --" + name;
        }
    }
    return {};
}

bool parse_cli_int(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc{} && result.ptr == end;
}

bool parse_cli_number(const std::string& text, double& value) {
    // from_chars reads the same in every locale; it takes no "+", which a user may well write.
    const char* start = text.data() + (text.size() > 1 && text[0] == '+' && text[1] != '-' ? 1 : 0);
    const char* end = text.data() + text.size();
    double read = 0;
    const auto result = std::from_chars(start, end, read, std::chars_format::general);
    if (start == end || result.ec != std::errc{} || result.ptr != end || !std::isfinite(read)) return false;
    value = read;
    return true;
}
