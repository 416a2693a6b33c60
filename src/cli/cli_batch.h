// zemo-cli batch work: a one-in-one-out command run over many inputs into an output folder, in
// several worker processes.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

struct BatchCommand {
    const char* name;
    int (*run)(const CliWords&);
    std::set<std::string> value_options;  // the command's options that take a value
    const char* output_option;            // nullptr: OUT follows IN; else OUT is this option's value
};

// The command of this name that takes several inputs with --out-dir, or nullptr.
const BatchCommand* find_batch_command(const std::string& name);

// True when the words ask for batch work (they hold --out-dir).
bool batch_requested(const CliWords& words);

// Runs `command` over every input of the words (IN... --out-dir DIR [--ext EXT] [-j N] and the
// command's options): 0 when every file succeeded, 1 when any failed or the batch was refused,
// 2 on wrong usage.
int cli_batch(const BatchCommand& command, const CliWords& words);
