// The diagnosis run. Inputs are computed once per mark and frame and shared by the three axes;
// whatever changes a mark's samples makes them computed afresh, so the findings are those of
// a computation for every inference.
#include "engine/fuzzy/expert_system.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/fuzzy/fim_parser.h"
#include "engine/fuzzy/fuzzy_engine.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "engine/fuzzy/motion_inputs.h"
#include "engine/model/capture_model.h"
#include "engine/processing/trajectory_edit.h"
#include "engine/scene/view_state.h"

namespace {

const char* const SEPARATOR = " ------------------------------------------------------------------\n";

bool named(xmlNodePtr node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// The capture the run started on. The run keeps its sample arrays alive, so that a capture
// closed while events were processed can be told from a new one, and is never read freed: the
// arrays tell captures apart, as every layer has arrays of its own, so another layer made current
// in the working copy is told as well.
struct CaptureHold {
    explicit CaptureHold(CaptureData& data) : data(data) {}
    CaptureData& data;
    int num_frames = 0;
    int num_columns = 0;
    std::vector<std::shared_ptr<Sample[]>> samples;

    void take() {
        num_frames = data.num_frames;
        num_columns = data.num_columns;
        samples.clear();
        for (const Channel& channel : data.channels) samples.push_back(channel.samples);
    }
    bool still_current() const {
        if (data.num_frames != num_frames || data.num_columns != num_columns || data.channels.size() != samples.size())
            return false;
        for (size_t m = 0; m < samples.size(); ++m) {
            if (data.channels[m].samples != samples[m]) return false;
        }
        return true;
    }
};

// One system's pass over the marks, with the buffers it reuses.
class SystemRun {
public:
    SystemRun(const DiagnosisReport& report, BoundsMethod method, const ViewBounds& view_bounds,
              const CaptureHold& hold, std::string& line)
        : report_(report), method_(method), view_extent_(view_bounds), hold_(hold), data_(hold.data),
          line_(line) {}

    // False when the capture went away.
    bool run(Diagnosis diagnosis) {
        diagnosis_ = diagnosis;
        use_view_bounds_ = diagnosis == Diagnosis::lost_marks;
        view_bounds_ = view_axis_bounds(view_extent_);
        for (int m = 0; m < hold_.num_columns / 3; ++m) {
            if (!run_mark(m)) return false;
            report_.rules_append(".");
            if (!hold_.still_current()) return false;
        }
        return true;
    }

private:
    bool repair_mode() const { return report_.repair_mode && report_.repair_mode(); }

    float first_output() const {
        return fuzzy_system.output_variables.empty() ? 0.0f : fuzzy_system.output_variables.front().value;
    }

    void inputs_changed(int m) {
        computed_frame_ = -1;
        sliding_.reset(data_.channels[m].samples.get(), hold_.num_frames);
    }

    void compute_inputs(int n, int m) {
        if (method_ == BoundsMethod::every_inference) {
            fuzzy_compute_inputs(data_, view_extent_, n, m, use_view_bounds_);
            return;
        }
        if (computed_frame_ == n) return;
        fuzzy_normalise(data_, n, m, use_view_bounds_ ? view_bounds_ : sliding_.at(n));
        computed_frame_ = n;
    }

    void begin_line(const char* text) { line_.assign(text); }
    void add_number(int value) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        line_.append(digits, end);
    }

    // Writes a finding; false when the capture went away while it showed.
    bool write_finding() {
        report_.actions_append(line_);
        return hold_.still_current();
    }

    // What the finding at frame n on `axis` does; 0 to go on, 1 to leave the mark, -1 to stop.
    int act(int m, int n, int axis) {
        const std::string& name = data_.channels[m].name_text();
        switch (diagnosis_) {
        case Diagnosis::lost_marks:
            begin_line(" Losed Mark [");
            line_ += name;
            line_ += "](";
            line_ += static_cast<char>('x' + axis);
            line_ += ")\n";
            if (!write_finding()) return -1;
            // Repair is idempotent: once done, a later finding on the mark would repeat only
            // its messages, so the mark is repaired once.
            if (!mark_repaired_ && repair_mode()) {
                const bool had_lost = count_channel_lost(data_, 0, hold_.num_frames - 1, m) > 0;
                repair_channel(data_, 0, hold_.num_frames - 1, m, SampleOrigin::diagnosis);
                if (had_lost) note_samples_changed(data_);
                mark_repaired_ = true;
                inputs_changed(m);
                if (!hold_.still_current()) return -1;
            }
            return 0;
        case Diagnosis::erroneous_trajectories: {
            if (stretch_first_ < 0) {
                stretch_first_ = n;
                return 0;
            }
            if (stretch_first_ == n) return 0;
            const int first = stretch_first_;
            stretch_first_ = -1;
            begin_line(" Trajec. Error [");
            line_ += name;
            line_ += "] in (";
            add_number(first);
            line_ += " - ";
            add_number(n);
            line_ += ")\n";
            if (!write_finding()) return -1;
            if (repair_mode()) {
                // The stretch is the diagnosis's: what the repair cannot refill stays lost, and
                // must not read as the measured value it replaced.
                Sample* samples = data_.channels[m].samples.get();
                SampleOrigin* origins = writable_origins(data_, m);
                for (int f = first; f < n; ++f) {
                    samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
                    origins[f] = SampleOrigin::diagnosis;
                }
                repair_channel(data_, 0, hold_.num_frames - 1, m, SampleOrigin::diagnosis);
                note_samples_changed(data_);
                inputs_changed(m);
                if (!hold_.still_current()) return -1;
            }
            return 0;
        }
        case Diagnosis::smooth_trajectories:
            begin_line(" [");
            line_ += name;
            line_ += "] Need Smooth\n";
            if (!write_finding()) return -1;
            if (repair_mode()) {
                if (smooth_channel(data_, 0, hold_.num_frames - 1, m, 3, SampleOrigin::diagnosis) == 0) {
                    note_samples_changed(data_);
                }
                return hold_.still_current() ? 1 : -1;
            }
            return 0;
        case Diagnosis::none:
            break;
        }
        return 0;
    }

    bool is_finding(float r) const {
        switch (diagnosis_) {
        case Diagnosis::lost_marks: return r > 2.0f;
        case Diagnosis::erroneous_trajectories: return r > 7.0f;
        case Diagnosis::smooth_trajectories: return r > 5.0f;
        case Diagnosis::none: break;
        }
        return false;
    }

    bool run_mark(int m) {
        stretch_first_ = -1;
        mark_repaired_ = false;
        inputs_changed(m);
        for (int n = 4; n < hold_.num_frames; ++n) {
            for (int axis = 0; axis < 3; ++axis) {
                compute_inputs(n, m);
                fuzzy_assign_inputs(m, static_cast<char>('x' + axis));
                fuzzy_fuzzify();
                fuzzy_evaluate_rules();
                fuzzy_defuzzify();
                fuzzy_reset_rule_degrees();
                if (!is_finding(first_output())) continue;
                const int next = act(m, n, axis);
                if (next < 0) return false;
                if (next > 0) return true;
            }
        }
        return true;
    }

    const DiagnosisReport& report_;
    BoundsMethod method_;
    const ViewBounds& view_extent_;
    const CaptureHold& hold_;
    CaptureData& data_;
    std::string& line_;
    Diagnosis diagnosis_ = Diagnosis::none;
    bool use_view_bounds_ = false;
    AxisBounds view_bounds_{};
    SlidingBounds sliding_;
    int computed_frame_ = -1;
    int stretch_first_ = -1;     // first frame of the open stretch, -1 for none
    bool mark_repaired_ = false;  // lost-mark repair already done on this mark
};

// A run whose capture went away says so where it was writing, so that the findings are not
// taken for those of a whole run.
RunResult stopped(const DiagnosisReport& report) {
    const char* why = " The run stopped: the layer it worked on was closed or another layer became current.\n";
    report.rules_append(std::string(" [Stopped]\n") + why);
    report.actions_append(why);
    return RUN_STOPPED;
}

}  // namespace

Diagnosis diagnosis_of(const char* system_name) {
    if (std::strcmp(system_name, "Losed Marks") == 0) return Diagnosis::lost_marks;
    if (std::strcmp(system_name, "Erroneous Trajectories") == 0) return Diagnosis::erroneous_trajectories;
    if (std::strcmp(system_name, "Smooth Trajectories") == 0) return Diagnosis::smooth_trajectories;
    return Diagnosis::none;
}

RunResult expert_system_run(const std::string& path, const DiagnosisReport& report, BoundsMethod method) {
    return expert_system_run(app, view.bounds, path, report, method);
}

RunResult expert_system_run(CaptureData& data, const ViewBounds& view_bounds, const std::string& path,
                            const DiagnosisReport& report, BoundsMethod method) {
    FimDocument document;
    if (fim_open(path, document) != 0) return RUN_NOT_STARTED;
    // Each repair marks the layer changed at once, so closing it during the run asks; the
    // interface reloads once, when the run ends.
    SampleChangeBatch batch;
    auto hold = std::make_unique<CaptureHold>(data);
    hold->take();
    std::string line;
    line.reserve(256);
    auto system_run = std::make_unique<SystemRun>(report, method, view_bounds, *hold, line);
    for (xmlNodePtr child = document.root->children; child; child = child->next) {
        if (!named(child, "system")) continue;
        xmlChar* name_attribute = xmlGetProp(child, reinterpret_cast<const xmlChar*>("name"));
        const std::string name = name_attribute ? reinterpret_cast<const char*>(name_attribute) : "";
        xmlFree(name_attribute);
        const std::string header = std::string("  Expert System: ") + name + "\n";
        for (const char* text : {SEPARATOR, header.c_str(), SEPARATOR}) report.rules_append(text);
        for (const char* text : {SEPARATOR, header.c_str(), SEPARATOR}) report.actions_append(text);
        if (report.process_events) report.process_events();
        if (!hold->still_current()) return stopped(report);
        for (const std::string& warning : fim_parse_system(child)) report.rules_append(" Warning: " + warning + ".\n");
        report.rules_append(" Progress: ");
        const bool finished = system_run->run(diagnosis_of(name.c_str()));
        fim_clear();
        if (!finished) return stopped(report);
        report.rules_append(" [OK]\n");
    }
    return RUN_DONE;
}
