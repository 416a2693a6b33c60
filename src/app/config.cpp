// zemo.ini is read line by line, so a command may contain spaces ("gedit --new-window").
#include "app/config.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "core/capture_model.h"

const char* const CONFIG_FILE_NAME = "zemo.ini";

static std::string cut_command(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() > COMMAND_CAPACITY - 1) text.resize(COMMAND_CAPACITY - 1);
    return text;
}

void config_load() {
    std::ifstream in(CONFIG_FILE_NAME, std::ios::binary);
    if (!in) return;
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
