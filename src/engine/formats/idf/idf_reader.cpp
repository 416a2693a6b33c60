// The IDF reader. The header is read as whitespace-separated words (labels followed by integers,
// then the column names); the data section starts at the first line that begins with "0" and
// holds exactly one line per column and frame. Nothing is allocated from the header's counts
// until they are known to fit in the file.
#include "engine/formats/idf/idf_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <deque>
#include <limits>
#include <vector>

#include "engine/formats/idf/idf_data_blocks.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/model/seams.h"
#include "platform/parallel_pieces.h"

namespace {

// The shortest data line, "0 0 0" and its line end: what one announced line costs at least.
constexpr long long MIN_DATA_LINE_BYTES = 6;

std::string opening_error(const std::string& name, const std::string& what) {
    return "Error opening file:\n " + name + "\n " + what;
}

std::string at_line(long long line, const std::string& what) {
    return "Line " + std::to_string(line) + ": " + what;
}

bool parse_int_token(const std::string& token, int& value) {
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin < end && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc{} && result.ptr == end && begin < end;
}

// A sign and digits: an integer as the header's pairs count it, whether or not it fits an int.
bool is_integer_token(const std::string& token) {
    size_t at = !token.empty() && (token[0] == '+' || token[0] == '-') ? 1 : 0;
    if (at == token.size()) return false;
    for (; at < token.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(token[at]))) return false;
    }
    return true;
}

enum class LabelNumber { whole, too_large, fraction, not_a_number };

// The number after a label. A whole number written with a decimal point ("60.0") is whole.
LabelNumber read_label_number(const std::string& token, int& value) {
    if (parse_int_token(token, value)) return LabelNumber::whole;
    if (is_integer_token(token)) return LabelNumber::too_large;
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin < end && *begin == '+') ++begin;
    double number = 0;
    const auto result = std::from_chars(begin, end, number);
    if (result.ptr != end || begin == end) return LabelNumber::not_a_number;
    if (result.ec == std::errc::result_out_of_range) return LabelNumber::too_large;
    if (result.ec != std::errc{} || !std::isfinite(number)) return LabelNumber::not_a_number;
    if (number != std::floor(number)) return LabelNumber::fraction;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return LabelNumber::too_large;
    }
    value = static_cast<int>(number);
    return LabelNumber::whole;
}

struct Token {
    std::string text;
    long long line;
};

// Splits header lines into words on demand, and keeps every header line for the writer.
class HeaderScanner {
public:
    explicit HeaderScanner(LineReader& in) : in_(in) {}

    bool next(Token& token) {
        if (!fill()) return false;
        token = std::move(pending_.front());
        pending_.pop_front();
        return true;
    }

    // The next word, not consumed; nullptr at the end of the file.
    const Token* peek() {
        return fill() ? &pending_.front() : nullptr;
    }

    void drop() { pending_.pop_front(); }

    // The next word, if it is an integer, is consumed.
    bool next_integer() {
        if (!fill() || !is_integer_token(pending_.front().text)) return false;
        pending_.pop_front();
        return true;
    }

    // A word followed by an integer, single words before it skipped.
    bool next_pair_skipping(Token& word) {
        while (next(word)) {
            if (next_integer()) return true;
        }
        return false;
    }

    // A word directly followed by an integer.
    bool next_pair(Token& word) { return next(word) && next_integer(); }

    // Drops the rest of the current line and reads lines up to the first one that begins with
    // "0", which is returned and not kept in the header.
    bool find_data_start(std::string_view& first_data_line) {
        pending_.clear();
        while (in_.next(first_data_line)) {
            if (!first_data_line.empty() && first_data_line[0] == '0') return true;
            keep(first_data_line);
        }
        return false;
    }

    std::string take_header() { return std::move(header_); }

private:
    bool fill() {
        std::string_view line;
        while (pending_.empty()) {
            if (!in_.next(line)) return false;
            keep(line);
            size_t pos = 0;
            while (pos < line.size()) {
                while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
                size_t end = pos;
                while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
                if (end > pos) pending_.push_back({std::string(line.substr(pos, end - pos)), in_.line_number()});
                pos = end;
            }
        }
        return true;
    }

    // Header lines are kept with their own line ends, so a header written on Windows is copied
    // unchanged.
    void keep(std::string_view line) {
        header_.append(line);
        header_.append(in_.line_end());
    }

    LineReader& in_;
    std::deque<Token> pending_;
    std::string header_;
};

// The label's word-and-integer pair; with skip_words, single words before it are skipped. A
// label whose number is not a whole number that fits is refused with the line and the number.
bool read_label(HeaderScanner& scan, bool skip_words, const char* label, const std::string& name, int& value,
                long long& line, ReadError& error) {
    Token word;
    while (scan.next(word)) {
        const Token* number = scan.peek();
        if (!number) return false;
        if (word.text == label) {
            const auto problem = [&](const std::string& what) {
                error.text = opening_error(name, at_line(number->line, word.text + " " + number->text + what));
                return false;
            };
            switch (read_label_number(number->text, value)) {
            case LabelNumber::whole:
                line = word.line;
                scan.drop();
                return true;
            case LabelNumber::too_large:
                return problem(" is too large: the largest number allowed is " +
                               std::to_string(std::numeric_limits<int>::max()) + ".");
            case LabelNumber::fraction: return problem(" is not a whole number.");
            case LabelNumber::not_a_number: break;
            }
        } else if (is_integer_token(number->text)) {
            error.text = opening_error(name, std::string("Label ") + label + " not found.");
            return false;
        }
        if (!skip_words) return false;
    }
    return false;
}

std::string describe_bad_line(std::string_view line) {
    constexpr size_t SHOWN = 60;
    std::string shown(line.substr(0, SHOWN));
    if (line.size() > SHOWN) shown += "...";
    int column, frame;
    const char* p = line.data();
    const char* end = p + line.size();
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    auto parsed = std::from_chars(p, end, column);
    if (parsed.ec == std::errc{}) {
        p = parsed.ptr;
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        parsed = std::from_chars(p, end, frame);
        if (parsed.ec == std::errc{}) {
            p = parsed.ptr;
            while (p < end && (*p == ' ' || *p == '\t')) ++p;
            return "the value \"" + std::string(p, std::min<size_t>(end - p, SHOWN)) + "\" is not a number.";
        }
    }
    return "\"" + shown + "\" is not a data line (column, frame, value).";
}

}  // namespace

int idf_parse_header(LineReader& in, const std::string& name, CaptureData& out, std::string& first_data_line,
                     ReadError& error) {
    error = {};
    HeaderScanner scan(in);
    Token first;
    if (!scan.next(first) || first.text != "INFORMATION_SECTION") {
        error.text = opening_error(name, "INFORMATION_SECTION not found.");
        return 1;
    }
    int rate, columns, frames;
    long long rate_line, columns_line, frames_line;
    if (!read_label(scan, true, "CAPTURE_RATE:", name, rate, rate_line, error)) return 1;
    if (!read_label(scan, false, "NUM_CHANNELS:", name, columns, columns_line, error)) return 1;
    if (columns < 3) {
        error.text = opening_error(name, at_line(columns_line, "NUM_CHANNELS: " + std::to_string(columns) +
                                                                   " gives no mark (three columns make one)."));
        return 1;
    }
    if (columns > MAX_COLUMNS) {
        error.text = opening_error(
            name, at_line(columns_line, "NUM_CHANNELS: " + std::to_string(columns) + " is more than " +
                                            std::to_string(MAX_COLUMNS) + " columns (" +
                                            std::to_string(MAX_CHANNELS) + " marks), the most a layer can hold."));
        return 1;
    }
    if (!read_label(scan, false, "NUM_DATA:", name, frames, frames_line, error)) return 1;
    if (frames < 1) {
        error.text =
            opening_error(name, at_line(frames_line, "NUM_DATA: " + std::to_string(frames) + " must be at least 1."));
        return 1;
    }

    // Column list: N pairs; every third name, less its last three characters, names a mark.
    const int marks = columns / 3;
    std::vector<SharedText> names(static_cast<size_t>(marks));
    Token word;
    if (!scan.next_pair_skipping(word)) return 1;
    for (int k = 0;; ++k) {
        if (k % 3 == 0 && k / 3 < marks) {
            names[k / 3] = std::make_shared<const std::string>(
                word.text.size() > 3 ? word.text.substr(0, word.text.size() - 3) : std::string());
        }
        if (k == columns - 1) break;
        if (!scan.next_pair(word)) return 1;
    }

    std::string_view data_line;
    if (!scan.find_data_start(data_line)) return 1;
    const long long needed = static_cast<long long>(frames) * columns * MIN_DATA_LINE_BYTES - 1;
    const long long available = static_cast<long long>(data_line.size()) + 1 + in.remaining_bytes();
    if (needed > available) {
        error.text = opening_error(
            name, at_line(frames_line, "NUM_DATA: " + std::to_string(frames) + " frames of " +
                                           std::to_string(columns) + " columns are more than the file holds."));
        return 1;
    }
    first_data_line.assign(data_line);

    out = CaptureData{};
    out.capture_rate = rate;
    out.set_columns(columns);
    out.num_frames = frames;
    for (int m = 0; m < marks; ++m) out.channels[m].name = std::move(names[m]);
    out.header = std::make_shared<const std::string>(scan.take_header());
    return 0;
}

// Reads the data lines one by one, stopping at the first that is not where it should be. The
// lines of `in` are numbered from `line_base`; the first data line, already read, is line
// `first_line_number`.
static int read_lines_in_order(LineReader& in, long long line_base, std::string_view first_data_line,
                               long long first_line_number, const std::string& name,
                               const std::vector<Sample*>& samples, CaptureData& out, ReadError& error) {
    const int columns = out.num_columns;
    const int mark_columns = out.mark_count() * 3;
    std::string_view line = first_data_line;
    long long line_number = first_line_number;
    int error_count = 0;
    const long long total = static_cast<long long>(out.num_frames) * columns;
    int expected_column = 0;
    int expected_frame = 0;
    for (long long i = 0; i < total; ++i) {
        if (i > 0) {
            if (!in.next(line)) {
                const std::string what = in.failed() ? "the file could not be read further."
                                                     : "the file ends after " + std::to_string(i) + " of " +
                                                           std::to_string(total) + " data lines.";
                error.text = opening_error(name, at_line(line_number + 1, what));
                return 1;
            }
            line_number = line_base + in.line_number();
        }
        int column, frame;
        double value;
        if (!idf_parse_data_line(line, column, frame, value)) {
            error.text = opening_error(name, at_line(line_number, describe_bad_line(line)));
            return 1;
        }
        if (column != expected_column || frame != expected_frame) {
            error.text = opening_error(
                name, at_line(line_number, "expected column " + std::to_string(expected_column) + " of frame " +
                                               std::to_string(expected_frame) + ", found column " +
                                               std::to_string(column) + " of frame " + std::to_string(frame) + "."));
            return 1;
        }
        if (column < mark_columns) {
            error_count += is_lost(value);
            Sample& sample = samples[column / 3][frame];
            (column % 3 == 0 ? sample.x : column % 3 == 1 ? sample.y : sample.z) = value;
        }
        if (++expected_column == columns) {
            expected_column = 0;
            ++expected_frame;
        }
    }
    out.error_count = error_count;
    return 0;
}

int idf_parse_data(LineReader& in, const std::string& name, std::string_view first_data_line, CaptureData& out,
                   ReadError& error) {
    error = {};
    const int marks = out.mark_count();
    const int frames = out.num_frames;
    std::vector<Sample*> samples(static_cast<size_t>(marks));
    for (int m = 0; m < marks; ++m) {
        out.channels[m].samples = std::make_shared_for_overwrite<Sample[]>(frames);
        samples[m] = out.channels[m].samples.get();
    }
    const long long first_line_number = in.line_number();

    // The rest in memory is read on every core; should anything be amiss, it is read again line
    // by line, which finds the first line at fault and names it.
    std::string_view rest;
    if (!in.rest(rest)) return read_lines_in_order(in, 0, first_data_line, first_line_number, name, samples, out, error);
    int column, frame;
    double value;
    long long lost = 0;
    if (idf_parse_data_line(first_data_line, column, frame, value) && column == 0 && frame == 0 &&
        idf_read_data_blocks(rest, {out.num_columns, frames, samples.data()}, worker_threads(), lost)) {
        if (marks > 0) samples[0][0].x = value;
        out.error_count = static_cast<int>(lost + is_lost(value));
        return 0;
    }
    LineReader again(rest);
    return read_lines_in_order(again, first_line_number, first_data_line, first_line_number, name, samples, out,
                               error);
}

int idf_parse(std::string_view text, const std::string& name, CaptureData& out, ReadError& error) {
    LineReader in(text);
    CaptureData loaded;
    std::string first_data_line;
    if (idf_parse_header(in, name, loaded, first_data_line, error) != 0 ||
        idf_parse_data(in, name, first_data_line, loaded, error) != 0)
        return 1;
    out = std::move(loaded);
    return 0;
}

int idf_parse_lines(LineReader& in, const std::string& name, CaptureData& out, ReadError& error) {
    CaptureData loaded;
    std::string first_data_line;
    if (idf_parse_header(in, name, loaded, first_data_line, error) != 0) return 1;
    status_set(" Opening file... ");
    if (idf_parse_data(in, name, first_data_line, loaded, error) != 0) return 1;
    out = std::move(loaded);
    return 0;
}
