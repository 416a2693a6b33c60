// The " Gaps " page: every gap of the current layer and the suspect stretches of the jump and swap
// detector in one sortable list. Selecting a row goes to its first frame and mark, double-clicking
// frames it in the view; "Fill…", "Fill all" and "Cut" act on the rows.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "engine/processing/gap_list.h"

// The list view with its columns, for the window description to place.
GtkWidget* gaps_list_new();

// The rows follow the current layer and its samples (rebuilt when the page is shown); with no
// file open the list is empty.
void refresh_gaps_page();
void clear_gaps_page();

// The selected rows, in the order the list shows them.
std::vector<GapRow> selected_gap_rows();

// "Cut": the selected suspect stretches become lost.
void cut_selected_stretches();
// "Fill all": every gap up to the Accurate Fill's max gap, as the Channels page fills it.
void fill_all_gaps();

void connect_gaps_page(GtkWidget* window);
