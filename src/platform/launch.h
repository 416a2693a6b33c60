// Starting external programs and scripts without waiting for them.
#pragma once

#include <functional>
#include <string>

// Runs `/bin/sh -c command` in the program's directory and returns at once, leaving no zombie.
// When the command's first word names a file in the program's directory, that file is run.
// The result of the launch is not looked at.
void launch_detached(const std::string& command);

// While a recorder is set, launches go to it instead of starting anything (for tests).
void set_launch_recorder(std::function<void(const std::string& command)> recorder);
