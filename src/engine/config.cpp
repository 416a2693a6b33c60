// zemo.ini is read line by line, so a command may contain spaces ("gedit --new-window").
#include "engine/config.h"

#include <cstdio>
#include <sstream>
#include <string>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "platform/file_replace.h"
#include "platform/regular_file.h"

const char* const CONFIG_FILE_NAME = "zemo.ini";

// Three commands of at most 255 characters; a larger file is not a configuration.
static constexpr size_t MOST_CONFIG_BYTES = 64 << 10;

static std::string cut_command(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() > COMMAND_CAPACITY - 1) text.resize(COMMAND_CAPACITY - 1);
    return text;
}

void config_load(AppState& state) {
    std::string text, reason;
    if (read_regular_file(CONFIG_FILE_NAME, MOST_CONFIG_BYTES, text, reason) != FileRead::done) return;
    std::istringstream in(text);
    std::string* commands[] = {&state.xml_editor_command, &state.idf_editor_command, &state.xml_viewer_command};
    std::string line;
    for (std::string* command : commands) {
        if (!std::getline(in, line)) break;
        *command = cut_command(line);
    }
}

void config_load() { config_load(app); }

// Written whole or not at all, and never over what is not a regular file (a FIFO would block).
void config_save(const AppState& state) {
    replace_file(CONFIG_FILE_NAME, IDF_TEMP_FILE_NAME, [&state](FILE* out) {
        return std::fprintf(out, "%s\n%s\n%s\n", state.xml_editor_command.c_str(), state.idf_editor_command.c_str(),
                            state.xml_viewer_command.c_str()) >= 0;
    });
}

void config_save() { config_save(app); }
