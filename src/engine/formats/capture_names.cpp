// The naming rules of marks read from C3D and TRC files.
#include "engine/formats/capture_names.h"

#include <set>

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0'; }

std::string cleaned(const std::string& label, size_t position) {
    size_t begin = 0, end = label.size();
    while (begin < end && blank(label[begin])) ++begin;
    while (end > begin && blank(label[end - 1])) --end;
    std::string name = label.substr(begin, end - begin);
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte > 0x7e) c = '_';
    }
    if (name.empty()) {
        std::string number = std::to_string(position + 1);
        if (number.size() < 3) number.insert(number.begin(), 3 - number.size(), '0');
        return "M" + number;
    }
    if (name[0] != '0') return name;
    std::string prefixed(1, 'M');
    prefixed.append(name);
    return prefixed;
}

}  // namespace

std::vector<std::string> capture_names(const std::vector<std::string>& labels) {
    std::vector<std::string> names;
    names.reserve(labels.size());
    std::set<std::string> taken;
    for (size_t i = 0; i < labels.size(); ++i) {
        const std::string base = cleaned(labels[i], i);
        std::string name = base;
        for (int n = 2; taken.count(name) != 0; ++n) name = base + "~" + std::to_string(n);
        taken.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}
