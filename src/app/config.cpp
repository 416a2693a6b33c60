// zemo.ini is read line by line, so a command may contain spaces ("gedit --new-window").
#include "app/config.h"

#include <cstdio>
#include <sstream>
#include <string>

#include "core/capture_model.h"
#include "platform/regular_file.h"

const char* const CONFIG_FILE_NAME = "zemo.ini";

// Three commands of at most 255 characters; a larger file is not a configuration.
static constexpr size_t MOST_CONFIG_BYTES = 64 << 10;

static std::string cut_command(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() > COMMAND_CAPACITY - 1) text.resize(COMMAND_CAPACITY - 1);
    return text;
}

void config_load() {
    std::string text, reason;
    if (read_regular_file(CONFIG_FILE_NAME, MOST_CONFIG_BYTES, text, reason) != FileRead::done) return;
    std::istringstream in(text);
    std::string* commands[] = {&app.xml_editor_command, &app.idf_editor_command, &app.xml_viewer_command};
    std::string line;
    for (std::string* command : commands) {
        if (!std::getline(in, line)) break;
        *command = cut_command(line);
    }
}

void config_save() {
    FILE* out = std::fopen(CONFIG_FILE_NAME, "w");
    if (!out) return;
    std::fprintf(out, "%s\n", app.xml_editor_command.c_str());
    std::fprintf(out, "%s\n", app.idf_editor_command.c_str());
    std::fprintf(out, "%s\n", app.xml_viewer_command.c_str());
    std::fclose(out);
}
