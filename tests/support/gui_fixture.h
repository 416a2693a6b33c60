// Interface tests run the real windows on the test display: widgets are found by name and
// clicked, toggled and typed into as a user would; message boxes go to a recorder.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

struct GuiTest : ::testing::Test {
    void SetUp() override;
    void TearDown() override;

    GtkWidget* widget(const char* name);
    void click(const char* name);
    std::string label(const char* name);
    std::string status_text();
    std::string history_text();
    bool sensitive(const char* name);
    bool visible(const char* name);
    bool active(const char* name);
    double value(const char* name);
    double lower(const char* name);
    double upper(const char* name);
    std::vector<std::string> menu_items(const char* option_menu);
    std::vector<std::string> list_rows(const char* clist, int column = 0);

    // Real input through the X server, as a user's (xdotool's XTest events): keys reach the window
    // that has the keyboard focus, clicks whatever lies under the pointer. focus_main_window shows
    // the main window and gives it the keyboard focus; xdotool runs one or more xdotool command
    // lines and handles the events they caused.
    void focus_main_window();
    void xdotool(const std::string& commands);
    // Handles the X server's events until it has been quiet for a moment.
    void settle();
    // Runs the GTK main loop until `condition` holds or `timeout` has passed; whether it held. The
    // loop wakes at least every few milliseconds, so conditions outside it (a file, a child
    // process) are seen too.
    bool run_until(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Where the point (x, y) of a widget's allocation lies on the screen.
    std::pair<int, int> on_screen(GtkWidget* widget, int x, int y);
    // Moves the pointer there and clicks button 1.
    void click_on_screen(std::pair<int, int> at);

    // Open through the toolbar and the file-selection dialog.
    void open_capture(const std::string& path);
    // Writes a small capture into the test's folder and opens it.
    std::string open_small_capture(const std::string& name, int marks, int frames);

    std::vector<RecordedMessage> messages;
    TempDir dir;
};
