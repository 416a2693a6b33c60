// The parameter records are a chain: each one says where the next starts. A chain that runs
// backwards or out of the section, or a record cut by the section's end, refuses the file.
#include "formats/c3d_parameters.h"

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

std::string c3d_parse_parameters(std::string_view bytes, size_t offset, C3dParameters& out) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (offset + 4 > bytes.size()) return "the parameter section lies outside the file.";
    const int processor = data[offset + 3];
    if (!c3d_known_processor(processor)) {
        return "the processor type " + std::to_string(processor) +
               " is none of 84 (Intel), 85 (DEC) and 86 (MIPS).";
    }
    out.processor = static_cast<C3dProcessor>(processor);
    const size_t blocks = data[offset + 2];
    size_t end = bytes.size();
    if (blocks > 0) {
        if (offset + blocks * 512 > bytes.size() + 511) {
            return "the parameter section of " + std::to_string(blocks) + " blocks runs past the end of the file.";
        }
        end = std::min(bytes.size(), offset + blocks * 512);
    }

    std::map<int, std::string> groups;
    std::vector<std::pair<int, C3dParameter>> parameters;
    size_t at = offset + 4;
    while (at + 2 <= end) {
        const int name_length = std::abs(static_cast<signed char>(data[at]));
        const int id = static_cast<signed char>(data[at + 1]);
        if (name_length == 0 || id == 0) break;
        const size_t name_at = at + 2;
        const size_t link_at = name_at + name_length;
        if (link_at + 2 > end) return "the parameter section ends inside a record.";
        const std::string name =
            upper(std::string_view(reinterpret_cast<const char*>(data + name_at), static_cast<size_t>(name_length)));
        const int link = c3d_int16(data + link_at, out.processor);
        const size_t next = link_at + static_cast<size_t>(std::max(link, 0));
        if (link != 0 && (link < 2 || next > end)) {
            return "the record " + name + " points outside the parameter section.";
        }
        if (id < 0) {
            groups[-id] = name;
        } else {
            const size_t record_end = link != 0 ? next : end;
            size_t p = link_at + 2;
            if (p + 2 > record_end) return "the parameter " + name + " is cut short.";
            C3dParameter parameter;
            parameter.name = name;
            parameter.type = static_cast<signed char>(data[p]);
            const int dimensions = data[p + 1];
            p += 2;
            if (parameter.type != -1 && parameter.type != 1 && parameter.type != 2 && parameter.type != 4) {
                return "the parameter " + name + " has the unknown type " + std::to_string(parameter.type) + ".";
            }
            if (p + dimensions > record_end) return "the parameter " + name + " is cut short.";
            size_t count = 1;
            for (int d = 0; d < dimensions; ++d) {
                parameter.dimensions.push_back(data[p + d]);
                count *= data[p + d];  // at most 255 per dimension; checked against the record below
                if (count > bytes.size()) break;
            }
            p += dimensions;
            const size_t size = count * static_cast<size_t>(std::abs(parameter.type));
            if (count > bytes.size() || p + size > record_end) {
                return "the values of the parameter " + name + " run past its record.";
            }
            parameter.data = data + p;
            parameter.count = count;
            parameters.emplace_back(id, std::move(parameter));
        }
        if (link == 0) break;
        at = next;
    }
    for (auto& [group_id, parameter] : parameters) {
        const auto group = groups.find(group_id);
        if (group == groups.end()) continue;  // a parameter of no group is of no use to anyone
        parameter.group = group->second;
        out.list.push_back(std::move(parameter));
    }
    return {};
}
