// BON text to a skeleton and back. The reader checks every number the drawing code will index
// with, so a skeleton it accepts can be drawn and edited without further tests.
#include "engine/skeleton/bon_format.h"

#include <cassert>

#include "engine/model/colour_table.h"

namespace {

const char* const INVALID = "The Skeleton file is invalid. \n ";
// A file written for a layer with another number of marks.
const char* const MARK_COUNT_MESSAGE = "The Skeleton file is invalid. \n There is a different number of channels";
// Any larger magnitude is out of every range the reader accepts; parsing stops growing there.
constexpr long long NUMBER_CAP = 1000000000000LL;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// An optional sign and at least one digit, nothing else.
bool parse_integer(std::string_view word, long long& value) {
    size_t at = 0;
    const bool negative = !word.empty() && word[0] == '-';
    if (!word.empty() && (word[0] == '-' || word[0] == '+')) at = 1;
    if (at == word.size()) return false;
    value = 0;
    for (; at < word.size(); ++at) {
        if (word[at] < '0' || word[at] > '9') return false;
        if (value < NUMBER_CAP) value = value * 10 + (word[at] - '0');
    }
    if (negative) value = -value;
    return true;
}

// A word as a message can show it: short, printable.
std::string shown(std::string_view word) {
    constexpr size_t longest = 24;
    std::string text;
    for (char c : word.substr(0, longest)) text += c >= 0x20 && c < 0x7f ? c : '?';
    if (word.size() > longest) text += "...";
    return text;
}

// The numbers of the text in order, each with the line it stands on.
class NumberReader {
public:
    NumberReader(std::string_view text, std::string& error) : text_(text), error_(error) {}

    // The next number; on failure the message names the line and says what is wrong, using
    // `missing` when the text has ended.
    bool read(long long& value, const std::string& missing) {
        while (at_ < text_.size() && is_blank(text_[at_])) {
            if (text_[at_] == '\n') ++line_;
            ++at_;
        }
        if (at_ == text_.size()) return fail(missing);
        const size_t start = at_;
        while (at_ < text_.size() && !is_blank(text_[at_])) ++at_;
        word_ = text_.substr(start, at_ - start);
        if (!parse_integer(word_, value)) return fail("\"" + shown(word_) + "\" is not a number");
        return true;
    }

    // The number last read as the file writes it, for messages.
    std::string word() const { return shown(word_); }

    // Sets the message for a problem with the number last read (or the one missing).
    bool fail(const std::string& what) {
        error_ = INVALID + ("Line " + std::to_string(line_) + ": " + what);
        return false;
    }

private:
    std::string_view text_;
    std::string& error_;
    std::string_view word_;
    size_t at_ = 0;
    int line_ = 1;
};

bool valid_colour(long long colour) { return colour >= 0 && colour < colour_count; }

std::string colour_problem(const std::string& what, const std::string& colour) {
    return what + " has the colour " + colour + "; the colours are 0 to " + std::to_string(colour_count - 1);
}

std::string counted(long long n, const char* thing) { return std::to_string(n) + " " + thing + (n == 1 ? "" : "s"); }

std::string mark_range(int marks) {
    return marks > 0 ? "the layer's marks are 0 to " + std::to_string(marks - 1) : "the layer has no marks";
}

}  // namespace

int bon_parse(std::string_view text, int marks, Skeleton& out, std::string& error) {
    assert(marks >= 0 && marks <= MAX_CHANNELS && "bon_parse: mark count out of range");
    error.clear();
    NumberReader in(text, error);
    long long file_marks = 0, bones = 0;
    if (!in.read(file_marks, "the numbers of marks and bones are missing")) return 1;
    if (!in.read(bones, "the number of bones is missing")) return 1;
    if (file_marks != marks) {
        error = MARK_COUNT_MESSAGE;
        return 1;
    }
    if (bones < 0 || bones > MAX_BONES) {
        in.fail("the skeleton has " + in.word() + " bones; a layer holds 0 to " + std::to_string(MAX_BONES));
        return 1;
    }
    const std::string announced = "; the header announces " + counted(marks, "mark") + " and " + counted(bones, "bone");

    out.mark_count = marks;
    out.mark_styles.assign(static_cast<size_t>(marks), MarkStyle{DEFAULT_MARK_COLOUR, 1});
    for (int m = 0; m < marks; ++m) {
        const std::string missing = "the file ends before the end of mark " + std::to_string(m) + announced;
        long long colour = 0, visible = 0;
        if (!in.read(colour, missing)) return 1;
        if (!valid_colour(colour)) {
            in.fail(colour_problem("mark " + std::to_string(m), in.word()));
            return 1;
        }
        if (!in.read(visible, missing)) return 1;
        out.mark_styles[m] = {static_cast<int32_t>(colour), visible != 0 ? 1 : 0};
    }

    out.bone_count = static_cast<int>(bones);
    for (int b = 0; b < out.bone_count; ++b) {
        const std::string name = "bone " + std::to_string(b);
        const std::string missing = "the file ends before the end of " + name + announced;
        long long ends[2] = {0, 0};
        for (long long& end : ends) {
            if (!in.read(end, missing)) return 1;
            if (end < 0 || end >= marks) {
                in.fail(name + " joins mark " + in.word() + "; " + mark_range(marks));
                return 1;
            }
        }
        long long colour = 0;
        if (!in.read(colour, missing)) return 1;
        if (!valid_colour(colour)) {
            in.fail(colour_problem(name, in.word()));
            return 1;
        }
        out.bones[b] = {static_cast<int32_t>(colour), static_cast<int32_t>(ends[0]), static_cast<int32_t>(ends[1])};
    }
    return 0;
}

bool bon_write_stream(const CaptureData& data, FILE* out) {
    const int marks = data.mark_count();
    bool ok = std::fprintf(out, "%d\t%d\n", marks, data.bone_count) > 0;
    for (int m = 0; ok && m < marks; ++m) {
        const MarkStyle& style = data.mark_styles[m];
        ok = std::fprintf(out, "%d\t%d\n", style.colour, style.visible) > 0;
    }
    for (int b = 0; ok && b < data.bone_count; ++b) {
        const Bone& bone = data.bones[b];
        ok = std::fprintf(out, "%d\t%d\t%d\n", bone.origin, bone.destination, bone.colour) > 0;
    }
    return ok && !std::ferror(out);
}
