// A mark picked in the view becomes the " Marks " page's mark and is selected in the channels
// list (added to the selection with Ctrl+click).
#pragma once

void connect_picked_mark();

// The current layer's mark becomes the " Marks " page's mark and the selected channel, as a mark
// picked in the view does (`add` keeps the channels selected before).
void show_mark_on_pages(int mark, bool add);
