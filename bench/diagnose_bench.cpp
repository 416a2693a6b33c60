// The expert-system run of the sample rules on a generated capture of 40 marks x 10 000 frames,
// with the window bounds kept as the window slides against recomputed for every inference; and
// one inference of "Erroneous Trajectories" against the same system built with fuzzylite.
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/fuzzy/expert_system.h"
#include "engine/fuzzy/fim_parser.h"
#include "engine/fuzzy/fuzzy_engine.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/scene/view_state.h"
#include "platform/paths.h"

#ifdef ZEMO_HAVE_FUZZYLITE
#include <fl/Headers.h>
#endif

namespace {

constexpr int MARKS = 40;
constexpr int FRAMES = 10000;
constexpr int INFERENCES = 200000;

// Smooth walking-like trajectories with a few gaps, jumps and noisy stretches to find.
void fill_capture() {
    app_reset();
    app.capture_rate = 100;
    app.set_columns(3 * MARKS);
    app.num_frames = FRAMES;
    app.file_name = "generated.idf";
    app.current_layer = 1;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(-8, 8);
    for (int m = 0; m < MARKS; ++m) {
        auto samples = std::make_shared_for_overwrite<Sample[]>(FRAMES);
        for (int f = 0; f < FRAMES; ++f) {
            samples[f] = {0.8 * f + 200 * std::sin(0.03 * f + m), 300 * std::cos(0.02 * f + m), 900 + 100 * std::sin(0.05 * f)};
        }
        for (int g = 0; g < 3; ++g) {
            const int start = static_cast<int>(random() % (FRAMES - 20));
            for (int f = start; f < start + 5 + g * 5; ++f) samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
        }
        if (m % 7 == 0) {
            const int start = static_cast<int>(random() % (FRAMES - 20));
            for (int f = start; f < start + 10; ++f) samples[f].z += 200;
        }
        if (m % 11 == 0) {
            for (int f = 1000; f < 1400; ++f) samples[f].y += noise(random);
        }
        app.channels[m].name = std::make_shared<const std::string>("M" + std::to_string(m));
        app.channels[m].samples = std::move(samples);
    }
    app.layers[1].in_use = 1;
    layer_store(1);
}

std::string run(const std::string& rules, BoundsMethod method, double& ms) {
    fill_capture();
    std::string findings;
    DiagnosisReport report;
    report.rules_append = [](const std::string&) {};
    report.actions_append = [&findings](const std::string& text) { findings += text; };
    report.repair_mode = [] { return false; };
    report.process_events = [] {};
    ms = best_seconds(1, [&] { expert_system_run(app, view.bounds, rules, report, method); }) * 1000;
    return findings;
}

#ifdef ZEMO_HAVE_FUZZYLITE

std::string identifier(const char* text) {
    std::string id = "v_";
    for (const char* p = text; *p; ++p) id += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return id;
}

float corner_b(const FuzzySet& s) { return s.left_slope == VERTICAL_SLOPE ? s.a : s.a + 1.0f / s.left_slope; }
float corner_c(const FuzzySet& s) { return s.right_slope == VERTICAL_SLOPE ? s.d : s.d - 1.0f / s.right_slope; }

// The loaded fuzzy_system as a Mamdani engine: minimum for "and" and implication, maximum
// aggregation, centroid defuzzification.
fl::Engine* fuzzylite_engine(std::map<const FuzzySet*, std::string>& terms) {
    auto* engine = new fl::Engine("erroneous_trajectories");
    const auto add_terms = [&](fl::Variable* variable, LinguisticVariable& source) {
        float low = 1e30f, high = -1e30f;
        for (FuzzySet& set : source.sets) {
            const std::string label = identifier(set.label);
            variable->addTerm(new fl::Trapezoid(label, set.a, corner_b(set), corner_c(set), set.d));
            terms[&set] = variable->getName() + " is " + label;
            low = std::min(low, set.a);
            high = std::max(high, set.d);
        }
        variable->setRange(low, high);
    };
    for (LinguisticVariable& source : fuzzy_system.input_variables) {
        auto* input = new fl::InputVariable(identifier(source.name));
        add_terms(input, source);
        engine->addInputVariable(input);
    }
    for (LinguisticVariable& source : fuzzy_system.output_variables) {
        auto* output = new fl::OutputVariable(identifier(source.name));
        add_terms(output, source);
        output->setDefuzzifier(new fl::Centroid(100));
        output->setAggregation(new fl::Maximum);
        output->setDefaultValue(0.0);
        engine->addOutputVariable(output);
    }
    auto* rules = new fl::RuleBlock;
    rules->setConjunction(new fl::Minimum);
    rules->setImplication(new fl::Minimum);
    rules->setActivation(new fl::General);
    for (const FuzzyRule& rule : fuzzy_system.rules) {
        if (rule.antecedents.empty() || rule.consequents.empty()) continue;
        std::string text = "if ";
        for (size_t i = 0; i < rule.antecedents.size(); ++i) text += (i ? " and " : "") + terms[rule.antecedents[i]];
        text += " then ";
        for (size_t i = 0; i < rule.consequents.size(); ++i) text += (i ? " and " : "") + terms[rule.consequents[i]];
        rules->addRule(fl::Rule::parse(text, engine));
    }
    engine->addRuleBlock(rules);
    return engine;
}

void compare_with_fuzzylite(const std::string& path) {
    FimDocument document;
    if (fim_open(path, document) != 0) return;
    for (xmlNodePtr node = document.root->children; node; node = node->next) {
        xmlChar* name = xmlGetProp(node, reinterpret_cast<const xmlChar*>("name"));
        const bool wanted = name && std::string(reinterpret_cast<char*>(name)) == "Erroneous Trajectories";
        xmlFree(name);
        if (!wanted) continue;
        fim_clear();
        fim_parse_system(node);
        break;
    }
    std::map<const FuzzySet*, std::string> terms;
    fl::Engine* engine = fuzzylite_engine(terms);
    const size_t inputs = fuzzy_system.input_variables.size();
    std::vector<float> values(INFERENCES * inputs);
    std::mt19937 random(3);
    for (size_t i = 0; i < values.size(); ++i) values[i] = std::uniform_real_distribution<float>(0, 10)(random);

    double sink = 0;
    const double ours = best_seconds(3, [&] {
        for (int k = 0; k < INFERENCES; ++k) {
            for (size_t v = 0; v < inputs; ++v) fuzzy_system.input_variables[v].value = values[k * inputs + v];
            fuzzy_fuzzify();
            fuzzy_evaluate_rules();
            fuzzy_defuzzify();
            fuzzy_reset_rule_degrees();
            sink += fuzzy_system.output_variables[0].value;
        }
    });
    const double theirs = best_seconds(1, [&] {
        for (int k = 0; k < INFERENCES; ++k) {
            for (size_t v = 0; v < inputs; ++v) engine->getInputVariable(v)->setValue(values[k * inputs + v]);
            engine->process();
            sink += engine->getOutputVariable(0)->getValue();
        }
    });
    report("inference_vs_fuzzylite", theirs / ours, "x");
    std::fprintf(stderr, "per inference: ours %.0f ns, fuzzylite %.0f ns (%zu inputs, %zu rules; checksum %g)\n",
                 ours / INFERENCES * 1e9, theirs / INFERENCES * 1e9, inputs, fuzzy_system.rules.size(), sink);
    delete engine;
    fim_clear();
}

#endif

}  // namespace

void bench_diagnose() {
    install_seams({});
    const std::string rules = join_path(program_directory(), "rules/diagnosis.fim");
    double sliding_ms = 0, plain_ms = 0;
    const std::string sliding = run(rules, BoundsMethod::sliding, sliding_ms);
    const std::string plain = run(rules, BoundsMethod::every_inference, plain_ms);
    report("diagnose_run", sliding_ms, "ms");
    report("diagnose_speedup", plain_ms / sliding_ms, "x");
    std::fprintf(stderr, "findings %s (%zu characters)\n", sliding == plain ? "identical" : "DIFFER", sliding.size());
#ifdef ZEMO_HAVE_FUZZYLITE
    compare_with_fuzzylite(rules);
#else
    std::fprintf(stderr, "built without fuzzylite: no inference_vs_fuzzylite\n");
#endif
    app_reset();
}
