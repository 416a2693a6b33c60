// The text block's content, apart from the GL printing.
#include "engine/scene/text_block.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/model/colour_table.h"

void text_block_line(const CaptureData& data, int line, int mark, int frame, int view_height,
                     TextBlockPiece pieces[TEXT_BLOCK_PIECES]) {
    const Sample& s = data.channels[mark].samples[frame];
    const bool lost = s.x > LOST_THRESHOLD;  // only x is tested
    const int y = view_height - (10 * (line + 1) + 5);
    const int colour = data.mark_styles[mark].colour;
    const ColourEntry& c = ColourTable[colour >= 0 && colour < COLOUR_COUNT ? colour : DEFAULT_MARK_COLOUR];
    const int xs[TEXT_BLOCK_PIECES] = {10, 50, 180, 270, 360};
    for (int i = 0; i < TEXT_BLOCK_PIECES; ++i) {
        pieces[i].x = xs[i];
        pieces[i].y = y;
        pieces[i].colour[0] = pieces[i].colour[1] = pieces[i].colour[2] = 0.0f;
    }
    pieces[0].colour[0] = c.red / 255.0f;
    pieces[0].colour[1] = c.green / 255.0f;
    pieces[0].colour[2] = c.blue / 255.0f;
    // A lost mark's line stands out in red.
    for (int i = 0; lost && i < TEXT_BLOCK_PIECES; ++i) {
        pieces[i].colour[0] = 1.0f;
        pieces[i].colour[1] = pieces[i].colour[2] = 0.0f;
    }
    std::snprintf(pieces[0].text, sizeof pieces[0].text, "%s", lost ? "[NO]" : "[OK]");
    std::snprintf(pieces[1].text, sizeof pieces[1].text, "%s", data.channels[mark].name_text().c_str());
    if (lost) {
        std::snprintf(pieces[2].text, sizeof pieces[2].text, "[ERROR,");
        std::snprintf(pieces[3].text, sizeof pieces[3].text, "ERROR,");
        std::snprintf(pieces[4].text, sizeof pieces[4].text, "ERROR]");
    } else {
        std::snprintf(pieces[2].text, sizeof pieces[2].text, "[%5.2f,", s.x);
        std::snprintf(pieces[3].text, sizeof pieces[3].text, "%5.2f,", s.y);
        std::snprintf(pieces[4].text, sizeof pieces[4].text, "%5.2f]", s.z);
    }
}

void text_block_align(std::vector<TextBlockLine>& lines) {
    int x = 0;
    for (int column = 0; column < TEXT_BLOCK_PIECES; ++column) {
        size_t widest = 0;
        for (const TextBlockLine& line : lines) widest = std::max(widest, std::strlen(line[column].text));
        const int start = std::max(x, lines.empty() ? 0 : lines.front()[column].x);
        for (TextBlockLine& line : lines) line[column].x = start;
        x = start + static_cast<int>(widest) * TEXT_BLOCK_CHAR_SIZE + TEXT_BLOCK_GAP;
    }
}
