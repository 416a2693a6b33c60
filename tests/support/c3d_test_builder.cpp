// The test builder writes the parameter records by hand, in the order a file from a lab might
// have them, with the group after its parameters to check that order does not matter.
#include "support/c3d_test_builder.h"

#include <cmath>
#include <cstring>

namespace {

struct Encoder {
    C3dProcessor processor;

    void int16(std::string& out, int value) const {
        const auto word = static_cast<uint16_t>(value);
        if (processor == C3dProcessor::mips) {
            out.push_back(static_cast<char>(word >> 8));
            out.push_back(static_cast<char>(word & 0xff));
        } else {
            out.push_back(static_cast<char>(word & 0xff));
            out.push_back(static_cast<char>(word >> 8));
        }
    }

    void real(std::string& out, double value) const {
        uint32_t bits;
        if (processor == C3dProcessor::dec) {
            // VAX F: the IEEE bits of four times the value, 16-bit halves exchanged; zero is all zeros.
            if (value == 0) {
                out.append(4, '\0');
                return;
            }
            const float scaled = static_cast<float>(value * 4);
            std::memcpy(&bits, &scaled, 4);
            const char bytes[4] = {static_cast<char>(bits >> 16 & 0xff), static_cast<char>(bits >> 24),
                                   static_cast<char>(bits & 0xff), static_cast<char>(bits >> 8 & 0xff)};
            out.append(bytes, 4);
            return;
        }
        const float f = static_cast<float>(value);
        std::memcpy(&bits, &f, 4);
        for (int i = 0; i < 4; ++i) {
            const int shift = processor == C3dProcessor::mips ? 24 - 8 * i : 8 * i;
            out.push_back(static_cast<char>(bits >> shift & 0xff));
        }
    }
};

void record(std::string& out, const Encoder& e, int id, const std::string& name, int type,
            const std::vector<int>& dims, const std::string& values) {
    out.push_back(static_cast<char>(name.size()));
    out.push_back(static_cast<char>(id));
    out += name;
    e.int16(out, static_cast<int>(2 + 2 + dims.size() + values.size() + 1));
    out.push_back(static_cast<char>(type));
    out.push_back(static_cast<char>(dims.size()));
    for (int d : dims) out.push_back(static_cast<char>(d));
    out += values;
    out.push_back(0);
}

void group(std::string& out, const Encoder& e, int id, const std::string& name) {
    out.push_back(static_cast<char>(name.size()));
    out.push_back(static_cast<char>(-id));
    out += name;
    e.int16(out, 3);
    out.push_back(0);
}

void strings(std::string& out, const Encoder& e, const std::string& name, const std::vector<std::string>& list,
             int id = 1) {
    size_t longest = 1;
    for (const auto& s : list) longest = std::max(longest, s.size());
    std::string values;
    for (auto s : list) {
        s.resize(longest, ' ');
        values += s;
    }
    record(out, e, id, name, -1, {static_cast<int>(longest), static_cast<int>(list.size())}, values);
}

void further_groups(std::string& out, const Encoder& e, const std::vector<C3dGroupBuild>& groups) {
    int next = 3;
    for (const C3dGroupBuild& g : groups) {
        // ANALOG's parameters join the group the builder always writes.
        const int id = g.name == "ANALOG" ? 2 : next++;
        if (id != 2) group(out, e, id, g.name);
        for (const C3dParameterBuild& p : g.parameters) {
            if (!p.strings.empty()) {
                strings(out, e, p.name, p.strings, id);
                continue;
            }
            std::string values;
            for (double v : p.numbers) {
                if (p.type == 1) values.push_back(static_cast<char>(v));
                else if (p.type == 2) e.int16(values, static_cast<int>(v));
                else e.real(values, v);
            }
            record(out, e, id, p.name, p.type, p.dims, values);
        }
    }
}

}  // namespace

void put_c3d_int16(std::string& bytes, size_t offset, int value, C3dProcessor processor) {
    std::string word;
    Encoder{processor}.int16(word, value);
    bytes.replace(offset, 2, word);
}

std::string build_c3d(const C3dBuild& b) {
    const Encoder e{b.processor};
    const int points = static_cast<int>(b.labels.size());
    const double scale = b.floats ? -std::fabs(b.scale) : std::fabs(b.scale);

    // Parameters first (their size fixes DATA_START), with the data start patched in afterwards.
    std::string section;
    section += '\x01';
    section += 'P';
    section += '\0';  // blocks, below
    section += static_cast<char>(b.processor);
    std::vector<std::string> first(b.labels.begin(),
                                   b.labels.begin() + std::min<size_t>(b.labels.size(), b.labels_in_first));
    strings(section, e, "LABELS", first);
    if (b.labels.size() > first.size())
        strings(section, e, "LABELS2", std::vector<std::string>(b.labels.begin() + first.size(), b.labels.end()));
    for (const auto& [name, list] : b.label_groups) strings(section, e, name, list);
    size_t data_start_at = 0;
    if (b.point_parameters) {
        std::string v;
        e.int16(v, points);
        record(section, e, 1, "USED", 2, {}, v);
        v.clear();
        e.real(v, scale);
        record(section, e, 1, "SCALE", 4, {}, v);
        v.clear();
        e.real(v, b.rate);
        record(section, e, 1, "RATE", 4, {}, v);
        v.clear();
        e.int16(v, 0);
        record(section, e, 1, "DATA_START", 2, {}, v);
        data_start_at = section.size() - 3;
    }
    further_groups(section, e, b.groups);
    std::string v;
    e.int16(v, b.analog_channels);
    record(section, e, 2, "USED", 2, {}, v);
    group(section, e, 2, "ANALOG");
    group(section, e, 1, "POINT");
    // The last record ends the chain.
    const size_t blocks = (section.size() + 511) / 512;
    section[2] = static_cast<char>(blocks);
    const int data_start = static_cast<int>(2 + blocks);
    if (data_start_at) put_c3d_int16(section, data_start_at, data_start, b.processor);
    section.resize(blocks * 512, '\0');
    put_c3d_int16(section, section.find("POINT") + 5, 0, b.processor);

    std::string header;
    header += '\x02';
    header += 'P';
    e.int16(header, points);
    e.int16(header, b.analog_channels * b.analog_per_frame);
    e.int16(header, 1);
    e.int16(header, b.frames);
    e.int16(header, 0);
    e.real(header, scale);
    e.int16(header, data_start);
    e.int16(header, b.analog_per_frame);
    e.real(header, b.rate);
    header.resize(512, '\0');

    std::string data;
    for (int f = 0; f < b.frames; ++f) {
        for (int p = 0; p < points; ++p) {
            const auto values = b.point(p, f);
            for (double value : values) {
                if (b.floats) e.real(data, value);
                else e.int16(data, static_cast<int>(std::lround(value)));
            }
        }
        for (int a = 0; a < b.analog_channels * b.analog_per_frame; ++a) {
            const double value = b.analog ? b.analog(f, a) : b.floats ? 12345.0 + a : 1234 + a;
            if (b.floats) e.real(data, value);
            else e.int16(data, static_cast<int>(std::lround(value)));
        }
    }
    data.resize((data.size() + 511) / 512 * 512, '\0');
    return header + section + data;
}
