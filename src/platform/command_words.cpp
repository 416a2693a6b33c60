// Splitting a configured command into its words with the shell's quoting rules and no expansion.
#include "platform/command_words.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Characters a backslash still escapes inside double quotes.
bool escapable_in_double_quotes(char c) { return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n'; }

}  // namespace

std::optional<std::vector<std::string>> split_command_words(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    // A word exists once any character or quote of it has been seen, so '' is an empty word.
    bool in_word = false;
    size_t i = 0;
    const size_t n = command.size();
    while (i < n) {
        const char c = command[i];
        if (is_blank(c)) {
            if (in_word) words.push_back(word);
            word.clear();
            in_word = false;
            ++i;
        } else if (c == '\'') {
            const size_t close = command.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            word.append(command.substr(i + 1, close - i - 1));
            in_word = true;
            i = close + 1;
        } else if (c == '"') {
            in_word = true;
            for (++i;; ++i) {
                if (i >= n) return std::nullopt;
                if (command[i] == '"') break;
                if (command[i] == '\\' && i + 1 < n && escapable_in_double_quotes(command[i + 1])) {
                    ++i;
                    if (command[i] == '\n') continue;  // a line joined inside quotes
                }
                word += command[i];
            }
            ++i;
        } else if (c == '\\' && i + 1 < n) {
            // A backslash before a newline joins the lines; before anything else it quotes it.
            if (command[i + 1] != '\n') {
                word += command[i + 1];
                in_word = true;
            }
            i += 2;
        } else {
            // A lone backslash at the very end stays itself, as in the shell.
            word += c;
            in_word = true;
            ++i;
        }
    }
    if (in_word) words.push_back(word);
    return words;
}
