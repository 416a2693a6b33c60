// Dispatch to the installed reporting seams, and the collecting of one command's messages.
#include "engine/model/seams.h"

#include <utility>
#include <vector>

static Seams installed;

namespace {

struct Message {
    std::string text;
    int type;
    int buttons;
};

int open_collectors = 0;
std::vector<Message> collected;

int severity(int type) {
    switch (type) {
    case MESSAGE_ERROR: return 3;
    case MESSAGE_WARNING: return 2;
    case MESSAGE_QUESTION: return 1;
    default: return 0;
    }
}

std::string without_line_end(const std::string& text) {
    return !text.empty() && text.back() == '\n' ? text.substr(0, text.size() - 1) : text;
}

int show_now(const std::string& text, int type, int buttons) {
    return installed.show_message ? installed.show_message(text, type, buttons) : 0;
}

// The first MESSAGES_SHOWN of `messages`, one a line, and how many more there are.
std::string first_lines(const std::vector<const Message*>& messages) {
    std::string text;
    for (size_t i = 0; i < messages.size() && i < MESSAGES_SHOWN; ++i) {
        text += (i > 0 ? "\n" : "") + without_line_end(messages[i]->text);
    }
    if (messages.size() > MESSAGES_SHOWN) text += "\n… and " + std::to_string(messages.size() - MESSAGES_SHOWN) + " more";
    return text;
}

// Several messages: one box that lists the first of the problems, then the command's results
// (which a flood of problems must not hide), and every message in the history log.
void show_summary(const std::vector<Message>& messages) {
    std::vector<const Message*> problems, results;
    std::string log;
    int type = MESSAGE_INFO, buttons = BUTTONS_OK;
    for (const Message& message : messages) {
        (message.type == MESSAGE_INFO ? results : problems).push_back(&message);
        log += without_line_end(message.text) + "\n";
        if (severity(message.type) > severity(type)) type = message.type;
        if (message.buttons == BUTTONS_CLOSE) buttons = BUTTONS_CLOSE;
    }
    std::string text = first_lines(problems);
    if (!results.empty()) text += (text.empty() ? "" : "\n\n") + first_lines(results);
    history_append(log);
    show_now(text, type, buttons);
}

}  // namespace

void install_seams(Seams seams) { installed = std::move(seams); }

Seams installed_seams() { return installed; }

int show_message(const std::string& text, int type, int buttons) {
    // The status bar tells what happened last: a failed Open or Save does not go on saying
    // " Opening file... " or " Saving File... ".
    if (type == MESSAGE_ERROR) status_set(text.substr(0, text.find('\n')));
    if (open_collectors > 0 && installed.collect_messages) {
        collected.push_back({text, type, buttons});
        return 0;
    }
    return show_now(text, type, buttons);
}

void status_set(const std::string& text) {
    if (installed.status_set) installed.status_set(text);
}

void history_append(const std::string& text) {
    if (installed.history_append) installed.history_append(text);
}

std::optional<LayerPlacement> read_layer_placement() {
    if (!installed.read_placement) return std::nullopt;
    return installed.read_placement();
}

void layer_row_shown(int n) {
    if (installed.layer_row_shown) installed.layer_row_shown(n);
}

void layer_row_hidden(int n) {
    if (installed.layer_row_hidden) installed.layer_row_hidden(n);
}

void report_samples_changed() {
    if (installed.samples_changed) installed.samples_changed();
}

void show_error(const std::string& text) { show_message(text, MESSAGE_ERROR, BUTTONS_CLOSE); }

int show_failure(const Status& status) {
    if (status.ok()) return 0;
    if (!status.quiet()) show_error(status.message());
    return 1;
}

MessageCollector::MessageCollector() { ++open_collectors; }

MessageCollector::~MessageCollector() {
    if (--open_collectors == 0) show_collected_messages();
}

void show_collected_messages() {
    if (collected.empty()) return;
    // Taken out first: the box runs a main loop, where another command may collect its own.
    std::vector<Message> messages;
    messages.swap(collected);
    if (messages.size() == 1) {
        show_now(messages[0].text, messages[0].type, messages[0].buttons);
    } else {
        show_summary(messages);
    }
}
