// Fuzz target: zemo-cli's argument splitting. The input is split into words at blanks and line
// ends, as a shell would without quotes; the options are those of the commands.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_args.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));

    static const std::set<std::string> with_value = {"from",  "to",  "marks", "factor", "rules", "repair",
                                                     "save",  "type", "size", "title",  "view",  "dir"};
    static const std::set<std::string> flags = {"no-run"};
    CliArgs args;
    const std::string error = parse_cli_args(words, with_value, flags, args);
    if (error.empty()) {
        // Every word is either a positional argument, an option name or an option's value.
        size_t counted = args.positional.size();
        for (const auto& [name, value] : args.options) counted += with_value.count(name) ? 2 : 1;
        if (counted != words.size()) std::abort();
        for (const auto& [name, value] : args.options) {
            if (!with_value.count(name) && !flags.count(name)) std::abort();
        }
    }
    for (const std::string& w : words) {
        double number = 0;
        if (parse_cli_number(w, number) && !std::isfinite(number)) std::abort();  // nan and inf are refused
        int value = 0;
        if (parse_cli_int(w, value)) {
            if (std::to_string(value) != w && !(w.size() > 1 && (w[0] == '0' || (w[0] == '-' && w[1] == '0'))))
                std::abort();  // a whole integer reads back as written, leading zeros aside
        }
    }
    return 0;
}
