// The words of a configured command ("gedit --new-window"), split as the shell splits a command
// line but with nothing expanded, so the program can be run without a shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Blanks (space, tab, newline) separate words. Inside single quotes every character is itself;
// inside double quotes a backslash keeps its meaning only before $ ` " \ and a newline; outside
// quotes a backslash makes the next character itself, and a backslash before a newline joins
// the lines. Nothing is expanded: $, `, ~, *, ; and the like are plain characters. Empty quotes
// make an empty word. No value when a quote is not closed.
std::optional<std::vector<std::string>> split_command_words(std::string_view command);
