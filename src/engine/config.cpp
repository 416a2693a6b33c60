// zemo.ini is read line by line, so a command may contain spaces ("gedit --new-window").
#include "engine/config.h"

#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "platform/file_replace.h"
#include "platform/paths.h"
#include "platform/program_folders.h"
#include "platform/regular_file.h"

const char* const CONFIG_FILE_NAME = "zemo.ini";

// Three commands of at most 255 characters; a larger file is not a configuration.
static constexpr size_t MOST_CONFIG_BYTES = 64 << 10;

static std::string cut_command(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() > COMMAND_CAPACITY - 1) text.resize(COMMAND_CAPACITY - 1);
    return text;
}

void config_load(AppState& state, const std::string& path) {
    std::string text, reason;
    if (read_regular_file(path, MOST_CONFIG_BYTES, text, reason) != FileRead::done) return;
    std::istringstream in(text);
    std::string* commands[] = {&state.xml_editor_command, &state.idf_editor_command, &state.xml_viewer_command};
    std::string line;
    for (std::string* command : commands) {
        if (!std::getline(in, line)) break;
        *command = cut_command(line);
    }
}

void config_load(const std::string& path) { config_load(app, path); }

// Written whole or not at all, and never over what is not a regular file (a FIFO would block).
void config_save(const AppState& state, const std::string& path) {
    replace_file(path, IDF_TEMP_FILE_NAME, [&state](FILE* out) {
        return std::fprintf(out, "%s\n%s\n%s\n", state.xml_editor_command.c_str(), state.idf_editor_command.c_str(),
                            state.xml_viewer_command.c_str()) >= 0;
    });
}

void config_save(const std::string& path) { config_save(app, path); }

std::string config_file_path(const ProgramFolders& folders) {
    return folders.installed ? join_path(folders.config, CONFIG_FILE_NAME) : std::string(CONFIG_FILE_NAME);
}

bool config_seed(const ProgramFolders& folders) {
    const std::string target = config_file_path(folders);
    if (!folders.installed || access(target.c_str(), F_OK) == 0) return true;
    std::string defaults, reason;
    const std::string shipped = join_path(folders.runtime, "defaults/zemo.ini");
    if (read_regular_file(shipped, MOST_CONFIG_BYTES, defaults, reason) != FileRead::done) defaults = "\n\n\n";
    if (!make_folders(folders.config)) return false;
    return !replace_file(target, IDF_TEMP_FILE_NAME, [&](FILE* out) {
                return std::fwrite(defaults.data(), 1, defaults.size(), out) == defaults.size();
            }).failed();
}
