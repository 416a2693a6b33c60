// Rewriting the kept parameter section. Records are copied as they lay, each with the bytes up
// to the next one, so a file written with no change is the file read; a value that must change
// is written over its old bytes in the file's encoding, and only LABELS, when a new name is
// longer than its strings, changes size.
#include "engine/formats/c3d/c3d_section_write.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr size_t BLOCK = 512;

size_t round_to_blocks(size_t size) { return (size + BLOCK - 1) / BLOCK * BLOCK; }

// Where a parameter's values start inside the bytes of its record.
size_t value_offset(const C3dSource& source, const C3dParameter& parameter) {
    const auto* base = reinterpret_cast<const unsigned char*>(source.section.data());
    return static_cast<size_t>(parameter.data - base) - source.parameters.records[parameter.record].at;
}

// Writes `value` over the parameter's first element in `record` when it reads otherwise and
// its type can hold it.
void set_number(std::string& record, const C3dSource& source, const C3dParameter& parameter, double value) {
    double now;
    if (!source.parameters.number(parameter.group, parameter.name, now) || now == value) return;
    auto* at = reinterpret_cast<unsigned char*>(record.data()) + value_offset(source, parameter);
    switch (parameter.type) {
    case 1:
        if (value >= 0 && value <= 255) *at = static_cast<unsigned char>(value);
        break;
    case 2:
        if (value >= 0 && value <= 65535) c3d_put_uint16(at, static_cast<uint16_t>(value), source.processor);
        break;
    case 4: c3d_put_float(at, value, source.processor); break;
    default: break;
    }
}

size_t name_length(const std::string& record) { return static_cast<size_t>(std::abs(static_cast<signed char>(record[0]))); }

// Makes the record's offset to the next record its own length: the next record follows it.
void link_to_end(std::string& record, C3dProcessor processor) {
    const size_t link_at = 2 + name_length(record);
    c3d_put_int16(reinterpret_cast<unsigned char*>(record.data()) + link_at,
                  static_cast<int16_t>(record.size() - link_at), processor);
}

// A character record made again with strings of `length` characters: `labels` are the old
// strings (each as long as the old first dimension), some replaced.
std::string relabelled(const std::string& record, const C3dParameter& parameter, const std::vector<std::string>& labels,
                       size_t length, C3dProcessor processor) {
    const size_t head = 2 + name_length(record);
    const auto dimensions = parameter.dimensions.size();
    const size_t data_at = head + 2 + 2 + dimensions;
    const size_t description_at = data_at + parameter.count;
    std::string description;
    if (description_at < record.size()) {
        const size_t size = static_cast<unsigned char>(record[description_at]);
        description = record.substr(description_at + 1, std::min(size, record.size() - description_at - 1));
    }
    const bool last = c3d_int16(reinterpret_cast<const unsigned char*>(record.data()) + head, processor) == 0;
    std::string out = record.substr(0, head + 2 + 2 + dimensions);
    out[head + 4] = static_cast<char>(length);
    for (const std::string& label : labels) {
        std::string padded = label.substr(0, length);
        padded.resize(length, ' ');
        out += padded;
    }
    out.push_back(static_cast<char>(description.size()));
    out += description;
    if (!last) link_to_end(out, processor);
    return out;
}

// Puts the renamed points' labels into LABELS, LABELS2 ... (each holds the points after the
// previous one's).
void rename_points(const C3dSource& source, const C3dSectionChanges& changes, std::vector<std::string>& records) {
    if (changes.renamed.empty()) return;
    size_t first_point = 0;
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? "LABELS" : "LABELS" + std::to_string(n);
        const C3dParameter* parameter = source.parameters.find("POINT", name);
        if (!parameter || parameter->type != -1 || parameter->dimensions.empty() || parameter->dimensions[0] == 0) return;
        const size_t length = static_cast<size_t>(parameter->dimensions[0]);
        const size_t count = parameter->count / length;
        std::vector<std::string> labels;
        for (size_t i = 0; i < count; ++i) {
            labels.emplace_back(reinterpret_cast<const char*>(parameter->data) + i * length, length);
        }
        size_t longest = length;
        bool changed = false;
        for (const auto& [point, label] : changes.renamed) {
            if (static_cast<size_t>(point) < first_point || static_cast<size_t>(point) >= first_point + count) continue;
            labels[point - first_point] = label;
            longest = std::max(longest, std::min<size_t>(label.size(), 255));
            changed = true;
        }
        first_point += count;
        if (!changed) continue;
        std::string& record = records[parameter->record];
        if (longest == length) {
            std::string values;
            for (std::string label : labels) {
                label.resize(length, ' ');
                values += label;
            }
            record.replace(value_offset(source, *parameter), values.size(), values);
        } else {
            record = relabelled(record, *parameter, labels, longest, source.processor);
        }
    }
}

// Puts the records made anew in place and the added ones at the end; each then points to the one
// after it, and the last ends the chain.
void relink_records(const C3dSectionChanges& changes, std::vector<std::string>& records, C3dProcessor processor) {
    if (changes.replaced.empty() && changes.added.empty()) return;
    for (const auto& [index, record] : changes.replaced) records[index] = record;
    // Added records follow the last one read; a section that held none starts with them.
    const bool had_records = !records.empty();
    const size_t old_last = had_records ? records.size() - 1 : 0;
    for (const std::string& record : changes.added) records.push_back(record);
    for (const auto& [index, record] : changes.replaced) link_to_end(records[index], processor);
    if (!changes.added.empty() && had_records) link_to_end(records[old_last], processor);
    if (records.empty()) return;
    std::string& last = records.back();
    c3d_put_int16(reinterpret_cast<unsigned char*>(last.data()) + 2 + name_length(last), 0, processor);
}

}  // namespace

std::string c3d_section_written(const C3dSource& source, const C3dSectionChanges& changes, int& data_start_block) {
    const C3dParameters& parameters = source.parameters;
    std::vector<std::string> records;
    for (const C3dRecordSpan& span : parameters.records) {
        records.push_back(source.section.substr(span.at, span.size));
        if (span.relinked) link_to_end(records.back(), source.processor);
    }
    const auto set = [&](const char* name, double value) {
        if (const C3dParameter* p = parameters.find("POINT", name)) set_number(records[p->record], source, *p, value);
    };
    set("USED", static_cast<double>(changes.points));
    set("FRAMES", static_cast<double>(std::min<long long>(changes.frames, 65535)));
    if (changes.to_floats) set("SCALE", changes.float_scale);
    rename_points(source, changes, records);
    relink_records(changes, records, source.processor);

    // The records, then what lay after them when they kept their size, or zeros.
    const size_t old_end = parameters.records.empty() ? 4 : parameters.records_end();
    std::string section = source.section.substr(0, 4);
    std::vector<size_t> record_at;
    for (const std::string& record : records) {
        record_at.push_back(section.size());
        section += record;
    }
    const size_t records_end = section.size();
    if (records_end == old_end) {
        section += source.section.substr(old_end);
    } else if (records_end < old_end) {
        section.append(old_end - records_end, '\0');
        section += source.section.substr(old_end);
    }
    // A chain whose last record points past itself needs a zero after it to end.
    const bool closed = !records.empty() && c3d_int16(reinterpret_cast<const unsigned char*>(records.back().data()) +
                                                          2 + name_length(records.back()),
                                                      source.processor) == 0;
    section.resize(round_to_blocks(std::max(section.size(), records_end + (closed ? 0 : 1))), '\0');

    // The blocks the section declares must hold its records and lie before the data.
    const size_t declared = static_cast<unsigned char>(section[2]);
    const size_t needed = round_to_blocks(records_end) / BLOCK, held = section.size() / BLOCK;
    if (declared != 0 && (declared < needed || declared > held)) {
        section[2] = static_cast<char>(std::min<size_t>(declared < needed ? needed : held, 255));
    }

    data_start_block = static_cast<int>((source.head.size() + section.size()) / BLOCK + 1);
    if (const C3dParameter* p = parameters.find("POINT", "DATA_START")) {
        std::string record = section.substr(record_at[p->record], records[p->record].size());
        set_number(record, source, *p, data_start_block);
        section.replace(record_at[p->record], record.size(), record);
    }
    return section;
}
