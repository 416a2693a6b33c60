// Configured commands split into words as the shell quotes them, with nothing expanded.
#include <gtest/gtest.h>

#include "platform/command_words.h"

TEST(CommandWords, SplitsWithTheShellsQuotingAndExpandsNothing) {
    const struct {
        const char* command;
        std::vector<std::string> words;
    } cases[] = {
        {"gedit --new-window", {"gedit", "--new-window"}},
        {" \tgedit  --new-window\n", {"gedit", "--new-window"}},
        {"", {}},
        {"   ", {}},
        {"'/opt/My Editor/edit' -n", {"/opt/My Editor/edit", "-n"}},
        {"\"/opt/My Editor/edit\" --title=\"a b\"", {"/opt/My Editor/edit", "--title=a b"}},
        {"my\\ editor", {"my editor"}},
        {"\"q\\\"d\\\\b\\$x\\n\"", {"q\"d\\b$x\\n"}},  // a backslash before n stays itself
        {"'s\\q\"'", {"s\\q\""}},
        {"pre'mid'\"post\"", {"premidpost"}},
        {"'' \"\"", {"", ""}},
        {"$HOME `id` $(id) ~ *.idf a;b |c", {"$HOME", "`id`", "$(id)", "~", "*.idf", "a;b", "|c"}},
        {"a\\\nb \"c\\\nd\"", {"ab", "cd"}},
        {"trailing\\", {"trailing\\"}},
    };
    for (const auto& c : cases) {
        const auto words = split_command_words(c.command);
        ASSERT_TRUE(words.has_value()) << c.command;
        EXPECT_EQ(*words, c.words) << c.command;
    }
}

TEST(CommandWords, AQuoteThatIsNotClosedIsRefused) {
    for (const char* command : {"'open", "edit \"open", "edit \"escaped\\\"", "a'b"}) {
        EXPECT_FALSE(split_command_words(command).has_value()) << command;
    }
}
