// How the engine reports to whoever drives it: the desktop program installs its message boxes,
// status bar, history log and widgets here; zemo-cli installs the console; tests install recorders.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/status.h"

// Message box types and button sets, with the GTK meanings.
enum MessageType { MESSAGE_INFO = 0, MESSAGE_WARNING = 1, MESSAGE_QUESTION = 2, MESSAGE_ERROR = 3 };
enum MessageButtons { BUTTONS_OK = 1, BUTTONS_CLOSE = 2 };

struct Seams {
    // Shows text literally (never as a format) and returns the box's response.
    std::function<int(const std::string& text, int type, int buttons)> show_message;
    std::function<void(const std::string& text)> status_set;
    std::function<void(const std::string& text)> history_append;
    // The current layer's placement as its widgets hold it; without widgets a slot keeps its own.
    std::function<LayerPlacement()> read_placement;
    // Called after slot n has been marked in use and visible, to show its row in the layers panel.
    std::function<void(int n)> layer_row_shown;
    // Called after slot n has been marked free, to hide its row.
    std::function<void(int n)> layer_row_hidden;
    // Called after a command has changed samples of the working copy (note_samples_changed).
    std::function<void()> samples_changed;
    // True where a message box waits to be answered (the desktop program): the messages shown
    // while a MessageCollector is open are kept and shown together when it closes. Where messages
    // are lines of text (zemo-cli) each one is shown at once.
    bool collect_messages = false;
};

// Replaces every seam; the ones left empty do nothing.
void install_seams(Seams seams);
// The seams in force, so that one of them can be replaced.
Seams installed_seams();

// An error also puts its first line on the status bar, which then tells what happened last.
int show_message(const std::string& text, int type, int buttons);
void status_set(const std::string& text);
void history_append(const std::string& text);
std::optional<LayerPlacement> read_layer_placement();
void layer_row_shown(int n);
void layer_row_hidden(int n);
void report_samples_changed();

// The usual error box: error icon and a Close button.
void show_error(const std::string& text);
// A failed status in the usual error box (a quiet one shows nothing); 0 on success, else 1.
int show_failure(const Status& status);

// The messages of one command (collectors nest; the outermost counts). When it closes, a single
// message is shown as it came; several are shown as one box with the first MESSAGES_SHOWN of them
// and "… and N more", of the most serious type among them, and every one goes to the history log.
class MessageCollector {
public:
    MessageCollector();
    ~MessageCollector();
    MessageCollector(const MessageCollector&) = delete;
    MessageCollector& operator=(const MessageCollector&) = delete;
};
constexpr int MESSAGES_SHOWN = 20;

// Shows what the open collector holds so far, so that a question asked now comes after it.
void show_collected_messages();
