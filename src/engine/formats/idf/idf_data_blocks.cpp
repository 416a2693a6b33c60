// A block knows where it stands from its own first line, which carries its column and frame;
// from there each line must be the next column. Lines past the last frame are left unread, as
// the line-by-line reader leaves them.
#include "engine/formats/idf/idf_data_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/formats/idf/idf_format.h"
#include "engine/formats/idf/idf_number.h"
#include "platform/parallel_pieces.h"

namespace {

// Below this a second thread costs more than it saves.
constexpr size_t SMALLEST_SHARED_TEXT = 1 << 20;

// Each block's counters change at every line its thread reads: a block of its own cache line keeps
// one thread's writes from slowing the others down.
struct alignas(64) Block {
    const char* begin = nullptr;  // the first line
    const char* end = nullptr;    // where the next block's first line begins
    long long first = -1;         // the place (frame x columns + column) of the first line
    long long count = 0;          // lines read in their place
    bool stopped = false;         // a line was no data line, or out of place
    long long lost = 0;
};

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The usual shape of a data line, "digits blanks digits blanks decimal" then its line end, read
// in one pass; nullptr for any other shape, which the general reading then decides on. Past the
// line, `next` is where the following line begins.
const char* read_usual_line(const char* p, const char* end, int& column, int& frame, double& value) {
    const auto whole = [&](int& n) {
        p = idf_read_int(p, end, n);
        if (!p || p == end || !is_blank(*p)) return false;
        while (p < end && is_blank(*p)) ++p;
        return true;
    };
    if (!whole(column) || !whole(frame)) return nullptr;
    p = idf_read_double(p, end, value);
    if (!p) return nullptr;
    while (p < end && is_blank(*p)) ++p;
    if (p < end && *p == '\r') ++p;
    if (p == end) return p;
    return *p == '\n' ? p + 1 : nullptr;
}

void read_block(Block& block, const char* text_end, const IdfDataTarget& target) {
    const int columns = target.columns, frames = target.frames;
    const int mark_columns = columns / 3 * 3;
    int column = -1, frame = 0, mark = 0, axis = 0;
    for (const char* p = block.begin; p < block.end;) {
        int found_column, found_frame;
        double value;
        const char* next = read_usual_line(p, text_end, found_column, found_frame, value);
        if (!next || !std::isfinite(value)) {
            const auto* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(text_end - p)));
            const char* line_end = newline ? newline : text_end;
            const size_t length = static_cast<size_t>(line_end - p) - (line_end > p && line_end[-1] == '\r');
            if (!idf_parse_data_line({p, length}, found_column, found_frame, value)) {
                block.stopped = true;
                return;
            }
            next = newline ? newline + 1 : text_end;
        }
        if (column < 0) {
            if (found_column < 0 || found_column >= columns || found_frame < 0 || found_frame >= frames) {
                block.stopped = true;
                return;
            }
            column = found_column;
            frame = found_frame;
            mark = column / 3;
            axis = column % 3;
            block.first = static_cast<long long>(frame) * columns + column;
        } else if (found_column != column || found_frame != frame) {
            block.stopped = true;
            return;
        }
        if (column < mark_columns) {
            block.lost += is_lost(value);
            Sample& sample = target.samples[mark][frame];
            (axis == 0 ? sample.x : axis == 1 ? sample.y : sample.z) = value;
        }
        ++block.count;
        if (++axis == 3) axis = 0, ++mark;
        if (++column == columns) {
            column = mark = axis = 0;
            if (++frame == frames) return;
        }
        p = next;
    }
}

bool starts_column_zero(const char* p, const char* end) {
    return end - p >= 2 && p[0] == '0' && (p[1] == ' ' || p[1] == '\t');
}

// The first line of column 0 that begins at or after `from`.
const char* next_block_start(const char* text, const char* end, const char* from) {
    const char* p = from;
    if (p > text && p[-1] != '\n') {
        const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
        p = newline ? static_cast<const char*>(newline) + 1 : end;
    }
    while (p < end && !starts_column_zero(p, end)) {
        const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
        p = newline ? static_cast<const char*>(newline) + 1 : end;
    }
    return p;
}

}  // namespace

bool idf_read_data_blocks(std::string_view text, const IdfDataTarget& target, int threads, long long& lost) {
    const long long total = static_cast<long long>(target.columns) * target.frames;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const size_t count = text.size() < SMALLEST_SHARED_TEXT ? 1 : static_cast<size_t>(std::max(1, threads));
    std::vector<Block> blocks(count);
    blocks[0].begin = begin;
    for (size_t b = 1; b < count; ++b) {
        blocks[b].begin = next_block_start(begin, end, std::max(blocks[b - 1].begin, begin + text.size() / count * b));
    }
    for (size_t b = 0; b < count; ++b) blocks[b].end = b + 1 < count ? blocks[b + 1].begin : end;

    run_pieces(static_cast<int>(count), [&](int b) { read_block(blocks[static_cast<size_t>(b)], end, target); });

    // The blocks must follow on from the first data line, each where the one before it ended.
    long long next = 1;
    lost = 0;
    for (const Block& block : blocks) {
        if (next == total) {
            if (block.count > 0) return false;  // it wrote samples past the end: read again
            continue;
        }
        if (block.count == 0) {
            if (block.stopped) return false;
            continue;
        }
        if (block.first != next || block.stopped) return false;
        next += block.count;
        lost += block.lost;
    }
    return next == total;
}
