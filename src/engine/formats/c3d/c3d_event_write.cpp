// EVENT records. The arrays hold max(events, 1) entries: a file whose events were all deleted
// keeps one blank entry and USED 0, as no array may have a dimension of 0.
#include "engine/formats/c3d/c3d_event_write.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

struct Encoder {
    C3dProcessor processor;
    void word(std::string& out, int value) const {
        unsigned char at[2];
        c3d_put_int16(at, static_cast<int16_t>(value), processor);
        out.append(reinterpret_cast<char*>(at), 2);
    }
    void real(std::string& out, double value) const {
        unsigned char at[4];
        c3d_put_float(at, value, processor);
        out.append(reinterpret_cast<char*>(at), 4);
    }
};

// A whole parameter record whose offset to the next points just past itself.
std::string parameter_record(char name_byte, int group, const std::string& name, int type, const std::vector<int>& dims,
                             const std::string& values, const std::string& description, const Encoder& e) {
    std::string out;
    out.push_back(name_byte);
    out.push_back(static_cast<char>(group));
    out += name;
    std::string rest;
    rest.push_back(static_cast<char>(type));
    rest.push_back(static_cast<char>(dims.size()));
    for (int d : dims) rest.push_back(static_cast<char>(d));
    rest += values;
    rest.push_back(static_cast<char>(std::min<size_t>(description.size(), 255)));
    rest += description.substr(0, 255);
    e.word(out, static_cast<int>(rest.size() + 2));
    return out + rest;
}

std::string group_record(int group, const std::string& name, const Encoder& e) {
    std::string out;
    out.push_back(static_cast<char>(name.size()));
    out.push_back(static_cast<char>(-group));
    out += name;
    e.word(out, 3);
    out.push_back('\0');
    return out;
}

// A parameter's description, as its record holds it after the values.
std::string description_of(const C3dSource& source, const C3dParameter& p) {
    const C3dRecordSpan& span = source.parameters.records[p.record];
    const auto* base = reinterpret_cast<const unsigned char*>(source.section.data());
    const size_t at = static_cast<size_t>(p.data - base) + p.count * static_cast<size_t>(std::abs(p.type));
    if (at >= span.at + span.size) return {};
    const size_t size = base[at];
    return source.section.substr(at + 1, std::min(size, span.at + span.size - at - 1));
}

std::string strings_values(const std::vector<std::string>& list, size_t& length) {
    length = 1;
    for (const auto& s : list) length = std::max(length, std::min<size_t>(s.size(), 255));
    std::string values;
    for (std::string s : list) {
        s.resize(length, ' ');
        values += s;
    }
    return values;
}

}  // namespace

void c3d_event_changes(const C3dSource& source, const C3dTrial& trial, C3dSectionChanges& changes) {
    const C3dParameters& parameters = source.parameters;
    const Encoder e{source.processor};
    const auto& events = trial.events;
    const size_t entries = std::max<size_t>(events.size(), 1);
    double old_used = 0;
    if (!parameters.number("EVENT", "USED", old_used)) old_used = 0;

    // The group's id: the file's, or the first one free.
    int group = 0, highest = 0;
    for (const C3dRecordSpan& span : parameters.records) {
        const int id = static_cast<signed char>(source.section[span.at + 1]);
        highest = std::max(highest, std::abs(id));
    }
    for (const C3dParameter& p : parameters.list) {
        if (p.group == "EVENT") group = static_cast<signed char>(source.section[parameters.records[p.record].at + 1]);
    }
    if (group == 0) {
        group = std::min(highest + 1, 127);
        changes.added.push_back(group_record(group, "EVENT", e));
    }

    const auto text_of = [&](const std::function<std::string(const GaitEvent&)>& field) {
        std::vector<std::string> list;
        for (const GaitEvent& event : events) list.push_back(field(event));
        if (list.empty()) list.emplace_back();
        return list;
    };
    struct Made {
        int type;
        std::vector<int> dims;
        std::string values;
    };
    const auto strings_made = [&](const std::function<std::string(const GaitEvent&)>& field) {
        size_t length;
        std::string values = strings_values(text_of(field), length);
        return Made{-1, {static_cast<int>(length), static_cast<int>(entries)}, values};
    };
    std::vector<std::pair<std::string, Made>> made;
    {
        std::string used;
        e.word(used, static_cast<int>(events.size()));
        made.push_back({"USED", {2, {}, used}});
    }
    made.push_back({"CONTEXTS", strings_made([](const GaitEvent& v) { return v.context; })});
    made.push_back({"LABELS", strings_made([](const GaitEvent& v) { return v.label; })});
    made.push_back({"DESCRIPTIONS", strings_made([](const GaitEvent& v) { return v.description; })});
    {
        std::string times, icons, flags;
        for (size_t k = 0; k < entries; ++k) {
            const GaitEvent* event = k < events.size() ? &events[k] : nullptr;
            e.real(times, 0);
            e.real(times, event ? event->time : 0);
            e.word(icons, event ? event->icon_id : 0);
            flags.push_back(event && event->context == "General" ? 1 : 0);
        }
        made.push_back({"TIMES", {4, {2, static_cast<int>(entries)}, times}});
        made.push_back({"ICON_IDS", {2, {static_cast<int>(entries)}, icons}});
        made.push_back({"GENERIC_FLAGS", {1, {static_cast<int>(entries)}, flags}});
    }

    for (auto& [name, m] : made) {
        const C3dParameter* p = parameters.find("EVENT", name);
        if (!p) {
            changes.added.push_back(parameter_record(static_cast<char>(name.size()), group, name, m.type, m.dims, m.values, {}, e));
            continue;
        }
        if (name == "GENERIC_FLAGS" && p->type == 2) {
            std::string words;
            for (char flag : m.values) e.word(words, flag);
            m = {2, m.dims, words};
        }
        const char name_byte = source.section[parameters.records[p->record].at];
        changes.replaced.emplace_back(p->record, parameter_record(name_byte, group, name, m.type, m.dims, m.values,
                                                                  description_of(source, *p), e));
    }

    // Every other parameter of the group with one entry per event keeps each event's old entry.
    const auto old_count = static_cast<size_t>(old_used);
    for (const C3dParameter& p : parameters.list) {
        if (p.group != "EVENT" || old_count == 0 || p.dimensions.empty() ||
            static_cast<size_t>(p.dimensions.back()) != old_count)
            continue;
        if (std::any_of(made.begin(), made.end(), [&](const auto& m) { return m.first == p.name; })) continue;
        const size_t entry = p.count / old_count * static_cast<size_t>(std::abs(p.type));
        std::string values;
        for (size_t k = 0; k < entries; ++k) {
            const int from = k < events.size() && events[k].source_index >= 0 &&
                                     static_cast<size_t>(events[k].source_index) < old_count
                                 ? events[k].source_index
                                 : 0;
            values.append(reinterpret_cast<const char*>(p.data) + from * entry, entry);
        }
        std::vector<int> dims = p.dimensions;
        dims.back() = static_cast<int>(entries);
        const char name_byte = source.section[parameters.records[p.record].at];
        changes.replaced.emplace_back(p.record, parameter_record(name_byte, group, p.name, p.type, dims, values,
                                                                 description_of(source, p), e));
    }
}
