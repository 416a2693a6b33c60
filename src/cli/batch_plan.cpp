// Batch outputs are named after their inputs; a plan that would lose data is refused whole.
#include "cli/batch_plan.h"

#include <sys/stat.h>

#include <map>

#include "platform/paths.h"

namespace {

// Whether two paths name the same existing file (links and "." or ".." included).
bool same_file(const std::string& a, const std::string& b) {
    struct stat first {}, second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace

std::string batch_output_name(const std::string& input, const std::string& out_dir, const std::string& ext) {
    std::string name = last_path_component(input);
    if (!ext.empty()) {
        const size_t dot = name.find_last_of('.');
        if (dot != std::string::npos && dot > 0) name.resize(dot);
        name += "." + (ext[0] == '.' ? ext.substr(1) : ext);
    }
    return join_path(out_dir, name);
}

std::vector<BatchFile> plan_batch(const std::vector<std::string>& inputs, const std::string& out_dir,
                                  const std::string& ext, std::vector<std::string>& refusals) {
    std::vector<BatchFile> files;
    std::map<std::string, std::string> writer_of;  // output -> the first input that writes it
    for (const std::string& input : inputs) {
        const std::string output = batch_output_name(input, out_dir, ext);
        const auto [first, fresh] = writer_of.emplace(absolute_path(output), input);
        if (!fresh) {
            refusals.push_back(input + " and " + first->second + " would both write " + output);
        } else if (same_file(input, output)) {
            refusals.push_back(output + " would overwrite its input " + input);
        }
        files.push_back({input, output});
    }
    return files;
}
