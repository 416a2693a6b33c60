// Handlers of the expert-system page: they read the page's widgets, call the run and let the
// interface stay alive while it goes.
#include "gui/pages/fim_page.h"

#include <optional>

#include "engine/fuzzy/expert_system.h"
#include "engine/history/undo_step.h"
#include "engine/model/capture_model.h"
#include "gui/kit/file_dialog.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "platform/paths.h"

namespace {

// The page's controls that would start another run or change the rules file; the two mode
// buttons stay usable, so the mode can be changed while a run goes on.
const char* const run_controls[] = {"boton_mib_abrir", "boton_mib_comenzar", "entry_mib_fichero"};

bool run_in_progress = false;

void set_run_controls_sensitive(bool sensitive) {
    for (const char* name : run_controls) set_widget_sensitive(name, sensitive);
}

}  // namespace

void open_rules_file_command() {
    set_widget_sensitive("editor_de_reglas1", true);
    set_widget_sensitive("ver_reglas1", true);
    file_select("Open Rules File", "*.fim", SELECT_RULES_FILE);
}

void rules_file_chosen(const std::string& path) {
    app.rules_file = path;
    set_entry_text("entry_mib_fichero", last_path_component(path));
}

void rules_view_append(const std::string& text) {
    append_text_view("text_mib_reglas", text);
    process_pending_events();
}

void actions_view_append(const std::string& text) {
    append_text_view("text_mib_acciones", text);
    process_pending_events();
}

void start_diagnosis_command() {
    if (run_in_progress || app.rules_file.empty()) return;
    run_in_progress = true;
    set_run_controls_sensitive(false);
    DiagnosisReport report;
    report.rules_append = rules_view_append;
    report.actions_append = actions_view_append;
    report.repair_mode = [] { return widget_active("radiobutton_mib_reparar"); };
    report.process_events = process_pending_events;
    const std::string path = app.rules_file;  // the run may let another layer become current
    {
        // A repair may touch any mark; what it did not change is not stored.
        std::optional<UndoStep> step;
        if (app.current_layer != 0 && widget_active("radiobutton_mib_reparar")) {
            step.emplace(app, "Diagnosis repair");
            step->keep_all();
        }
        expert_system_run(path, report);
    }
    set_run_controls_sensitive(true);
    run_in_progress = false;
}

void connect_fim_page(GtkWidget* window) {
    g_signal_connect_swapped(find_widget(window, "boton_mib_abrir"), "clicked", G_CALLBACK(open_rules_file_command),
                             nullptr);
    g_signal_connect_swapped(find_widget(window, "boton_mib_comenzar"), "clicked", G_CALLBACK(start_diagnosis_command),
                             nullptr);
    set_file_select_action(SELECT_RULES_FILE, [](const std::string& path) {
        rules_file_chosen(path);
        return 0;
    });
}
