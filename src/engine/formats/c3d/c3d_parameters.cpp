// The parameter records are a chain: each one says where the next starts. A chain that runs
// backwards or past the data, or a record cut short, ends the reading there: what came before
// it is kept, and the reader decides whether that is enough.
#include "engine/formats/c3d/c3d_parameters.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string trimmed(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\0')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\0')) --end;
    return std::string(text.substr(begin, end - begin));
}

}  // namespace

const C3dParameter* C3dParameters::find(std::string_view group, std::string_view name) const {
    for (const C3dParameter& parameter : list) {
        if (parameter.group == group && parameter.name == name) return &parameter;
    }
    return nullptr;
}

bool C3dParameters::number(std::string_view group, std::string_view name, double& value) const {
    const C3dParameter* parameter = find(group, name);
    if (!parameter || parameter->type < 1 || parameter->count == 0) return false;
    switch (parameter->type) {
    case 1: value = *parameter->data; break;
    case 2: value = c3d_uint16(parameter->data, processor); break;
    default: value = c3d_float(parameter->data, processor); break;
    }
    return true;
}

std::vector<std::string> C3dParameters::strings(std::string_view group, std::string_view name) const {
    std::vector<std::string> result;
    const C3dParameter* parameter = find(group, name);
    if (!parameter || parameter->type != -1 || parameter->count == 0) return result;
    const char* text = reinterpret_cast<const char*>(parameter->data);
    const size_t length =
        parameter->dimensions.empty() ? parameter->count : static_cast<size_t>(parameter->dimensions[0]);
    if (length == 0) return result;
    for (size_t at = 0; at + length <= parameter->count; at += length) result.push_back(trimmed({text + at, length}));
    return result;
}

std::string c3d_parse_parameters(std::string_view bytes, size_t offset, size_t limit, C3dParameters& out) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (offset + 4 > bytes.size()) return "the parameter section lies outside the file.";
    const int processor = data[offset + 3];
    if (!c3d_known_processor(processor)) {
        return "the processor type " + std::to_string(processor) +
               " is none of 84 (Intel), 85 (DEC) and 86 (MIPS).";
    }
    out.processor = static_cast<C3dProcessor>(processor);
    if (limit > bytes.size() || limit < offset + 4) limit = bytes.size();
    const size_t blocks = data[offset + 2];
    out.declared_end = limit;
    if (blocks > 0) {
        if (offset + blocks * 512 > bytes.size() + 511) {
            return "the parameter section of " + std::to_string(blocks) + " blocks runs past the end of the file.";
        }
        out.declared_end = std::min(bytes.size(), offset + blocks * 512);
        // The declared blocks are the section's, wherever the header says the data start.
        limit = std::max(limit, out.declared_end);
    }

    std::map<int, std::string> groups;
    std::vector<std::pair<int, C3dParameter>> parameters;
    size_t at = offset + 4;
    while (at + 2 <= limit) {
        const int name_length = std::abs(static_cast<signed char>(data[at]));
        const int id = static_cast<signed char>(data[at + 1]);
        if (name_length == 0 || id == 0) break;
        const size_t name_at = at + 2;
        const size_t link_at = name_at + name_length;
        if (link_at + 2 > limit) {
            out.damage = "the parameter section ends inside a record.";
            break;
        }
        const std::string name =
            upper(std::string_view(reinterpret_cast<const char*>(data + name_at), static_cast<size_t>(name_length)));
        const int link = c3d_int16(data + link_at, out.processor);
        if (link < 0 || link == 1) {
            out.damage = "the record " + name + " points outside the parameter section.";
            break;
        }
        const size_t next = link_at + static_cast<size_t>(link);
        // A record that points past the data is kept when it is whole by its own length; the
        // chain cannot be followed past it.
        const bool relinked = link != 0 && next > limit;
        const size_t record_end = link != 0 && !relinked ? next : limit;
        size_t p = link_at + 2;
        if (id > 0) {
            if (p + 2 > record_end) {
                out.damage = "the parameter " + name + " is cut short.";
                break;
            }
            C3dParameter parameter;
            parameter.name = name;
            parameter.type = static_cast<signed char>(data[p]);
            const int dimensions = data[p + 1];
            p += 2;
            if (parameter.type != -1 && parameter.type != 1 && parameter.type != 2 && parameter.type != 4) {
                out.damage = "the parameter " + name + " has the unknown type " + std::to_string(parameter.type) + ".";
                break;
            }
            if (p + dimensions > record_end) {
                out.damage = "the parameter " + name + " is cut short.";
                break;
            }
            size_t count = 1;
            for (int d = 0; d < dimensions; ++d) {
                parameter.dimensions.push_back(data[p + d]);
                count *= data[p + d];  // at most 255 per dimension; checked against the record below
                if (count > bytes.size()) break;
            }
            p += dimensions;
            const size_t size = count * static_cast<size_t>(std::abs(parameter.type));
            if (count > bytes.size() || p + size > record_end) {
                out.damage = "the values of the parameter " + name + " run past its record.";
                break;
            }
            parameter.data = data + p;
            parameter.count = count;
            parameter.record = out.records.size();
            parameters.emplace_back(id, std::move(parameter));
            p += size;
        } else {
            groups[-id] = name;
        }
        // The record's own end: past its description.
        const size_t own_end = p < record_end ? std::min(record_end, p + 1 + data[p]) : record_end;
        C3dRecordSpan span;
        span.at = at;
        span.size = (link != 0 && !relinked ? next : own_end) - at;
        span.relinked = relinked;
        out.records.push_back(span);
        if (relinked) {
            out.damage = "the record " + name + " points outside the parameter section.";
            break;
        }
        if (link == 0) break;
        at = next;
    }
    out.past_declared_blocks = blocks > 0 && out.records_end() > out.declared_end;
    for (auto& [group_id, parameter] : parameters) {
        const auto group = groups.find(group_id);
        if (group == groups.end()) continue;  // a parameter of no group is of no use to anyone
        parameter.group = group->second;
        out.list.push_back(std::move(parameter));
    }
    return {};
}

bool c3d_cut_parameters(C3dParameters& parameters, size_t end) {
    size_t kept = parameters.records.size();
    while (kept > 0 && parameters.records[kept - 1].at + parameters.records[kept - 1].size > end) --kept;
    if (kept == parameters.records.size()) return false;
    parameters.records.resize(kept);
    parameters.past_declared_blocks = parameters.past_declared_blocks && parameters.records_end() > parameters.declared_end;
    std::erase_if(parameters.list, [kept](const C3dParameter& p) { return p.record >= kept; });
    parameters.damage = "the parameter records run into the data.";
    return true;
}
