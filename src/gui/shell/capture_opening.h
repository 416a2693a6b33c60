// Opening a capture as a new layer, however it was asked for (Open, File > Recent, a drop on the
// window, the command line), and remembering it among the recent captures.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// Reads the capture into a new layer and refreshes the interface; 0 when it was opened (a file
// that cannot be read has said so and changes nothing).
int open_capture_layer(const std::string& path);

// Adds File > Recent after Open in the window's File menu, filled from the configuration folder.
void create_recent_menu(GtkWidget* window);

// The captures in File > Recent, newest first.
const std::vector<std::string>& recent_captures();

// The folder of the capture opened last, empty when none is remembered.
std::string last_capture_folder();

// Files dropped on the window (a text/uri-list of file: URIs) open as layers, in their order.
void accept_dropped_captures(GtkWidget* window);
// Opens each local file of a text/uri-list as a layer; returns how many opened.
int open_dropped_uris(const char* uri_list);
