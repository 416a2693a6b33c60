// Naming a batch's outputs, and the refusals made before anything runs: two inputs writing the
// same output, an output that would overwrite its input.
#pragma once

#include <string>
#include <vector>

struct BatchFile {
    std::string input;
    std::string output;
};

// The output of `input` in out_dir: the input's name, with its extension replaced by `ext` when
// that is not empty.
std::string batch_output_name(const std::string& input, const std::string& out_dir, const std::string& ext);

// The files of the batch, or, in `refusals`, one line per output that cannot be written.
std::vector<BatchFile> plan_batch(const std::vector<std::string>& inputs, const std::string& out_dir,
                                  const std::string& ext, std::vector<std::string>& refusals);
