// A mark picked in the view becomes the " Marks " page's mark and is selected in the channels
// list (added to the selection with Ctrl+click).
#pragma once

void connect_picked_mark();
