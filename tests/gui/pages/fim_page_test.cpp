// The expert-system page through its widgets: choosing the rules file, starting a run in
// either mode, the two views, and the page while a run goes on.
#include <algorithm>
#include <functional>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "support/gui_fixture.h"

namespace {

const std::string SEPARATOR = " ------------------------------------------------------------------\n";

struct FimPageTest : GuiTest {
    std::string view_text(const char* name) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget(name)));
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        std::string result = text;
        g_free(text);
        return result;
    }
    std::string entry_text(const char* name) { return gtk_entry_get_text(GTK_ENTRY(widget(name))); }

    // Mark B is lost at frames 10 .. 12; every axis peaks at frame 0, before the run looks.
    void open_gappy() {
        const std::string path = dir.path("gappy.idf");
        write_file(path, make_idf_text(60, 2, 30, [](int m, int f, int a) {
                       if (m == 1 && f >= 10 && f <= 12) return LOST_VALUE;
                       return f == 0 ? 1000.0 : 10.0 * m + a + 0.5 * f;
                   }, {"A", "B"}));
        open_capture(path);
    }
    void choose_rules(const std::string& path, bool confirm = true) {
        click("boton_mib_abrir");
        ASSERT_NE(app_windows.file_selection, nullptr);
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(app_windows.file_selection)), "Open Rules File");
        GtkFileSelection* selection = GTK_FILE_SELECTION(app_windows.file_selection);
        gtk_file_selection_set_filename(selection, path.c_str());
        gtk_button_clicked(GTK_BUTTON(confirm ? selection->ok_button : selection->cancel_button));
        process_pending_events();
        EXPECT_EQ(app_windows.file_selection, nullptr);
    }
    // Runs `during` once, from inside the run, when it first lets the interface work.
    void while_running(std::function<void()> during) {
        static std::function<void()> action;
        action = std::move(during);
        g_idle_add(+[](gpointer) -> gboolean {
            action();
            return FALSE;
        }, nullptr);
    }
};

std::string header(const std::string& name) { return SEPARATOR + "  Expert System: " + name + "\n" + SEPARATOR; }

const std::string lost_lines = " Losed Mark [B](x)\n Losed Mark [B](y)\n Losed Mark [B](z)\n";

}  // namespace

TEST_F(FimPageTest, ChoosingARulesFileShowsItsNameAndEnablesTheRulesMenu) {
    open_gappy();
    EXPECT_FALSE(sensitive("editor_de_reglas1"));
    EXPECT_FALSE(sensitive("ver_reglas1"));
    const std::string rules = dir.path("gait.fim");
    write_file(rules, "<FIM/>");
    choose_rules(rules, false);
    EXPECT_TRUE(sensitive("editor_de_reglas1")) << "usable as soon as the dialog opens";
    EXPECT_TRUE(sensitive("ver_reglas1"));
    EXPECT_EQ(app.rules_file, "") << "cancel keeps the rules file";
    choose_rules(rules);
    EXPECT_EQ(app.rules_file, rules);
    EXPECT_EQ(entry_text("entry_mib_fichero"), "gait.fim");
    EXPECT_EQ(view_text("text_mib_reglas"), "") << "the file is read only when a run starts";
}

TEST_F(FimPageTest, StartWithoutRulesFileDoesNothing) {
    open_gappy();
    click("boton_mib_comenzar");
    EXPECT_EQ(view_text("text_mib_reglas"), "");
    EXPECT_EQ(view_text("text_mib_acciones"), "");
    EXPECT_TRUE(messages.empty());
}

TEST_F(FimPageTest, RunsWriteBelowEachOtherAndRepairWhenAsked) {
    open_gappy();
    choose_rules(build_path("rules/diagnosis.fim"));
    click("boton_mib_comenzar");
    const std::string progress = header("Losed Marks") + " Progress: .. [OK]\n" + header("Erroneous Trajectories") +
                                 " Progress: .. [OK]\n" + header("Smooth Trajectories") + " Progress: .. [OK]\n";
    const std::string findings = header("Losed Marks") + lost_lines + lost_lines + lost_lines +
                                 header("Erroneous Trajectories") + header("Smooth Trajectories");
    EXPECT_EQ(view_text("text_mib_reglas"), progress);
    EXPECT_EQ(view_text("text_mib_acciones"), findings);
    EXPECT_TRUE(is_lost(app.channels[1].samples[11].y)) << "information mode changes nothing";

    click("radiobutton_mib_reparar");
    click("boton_mib_comenzar");
    EXPECT_EQ(view_text("text_mib_reglas"), progress + progress);
    EXPECT_EQ(view_text("text_mib_acciones"), findings + header("Losed Marks") + " Losed Mark [B](x)\n" +
                                                 header("Erroneous Trajectories") + header("Smooth Trajectories"));
    EXPECT_FALSE(is_lost(app.channels[1].samples[11].y));
    EXPECT_FALSE(is_lost(app.layers[1].channels[1].samples[11].y)) << "the layer shares the repaired samples";
    EXPECT_TRUE(messages.empty());

    open_gappy();  // opening a capture forgets the rules file and empties the page
    EXPECT_EQ(app.rules_file, "");
    EXPECT_EQ(entry_text("entry_mib_fichero"), "");
    EXPECT_EQ(view_text("text_mib_acciones"), "");
}

TEST_F(FimPageTest, RulesFileThatIsNotFimShowsTheErrorAndWritesNothing) {
    open_gappy();
    const std::string rules = dir.path("other.fim");
    write_file(rules, "<?xml version=\"1.0\"?>\n<rules/>\n");
    choose_rules(rules);
    click("boton_mib_comenzar");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Incorrect document type; root node isn't FIM");
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_EQ(view_text("text_mib_reglas"), "");
    EXPECT_TRUE(sensitive("boton_mib_comenzar"));
}

TEST_F(FimPageTest, WhileRunningTheStartIsLockedAndTheModeCanChange) {
    open_gappy();
    choose_rules(build_path("rules/diagnosis.fim"));
    bool start_sensitive = true, open_sensitive = true, radio_sensitive = false;
    while_running([&] {
        start_sensitive = sensitive("boton_mib_comenzar");
        open_sensitive = sensitive("boton_mib_abrir");
        radio_sensitive = sensitive("radiobutton_mib_reparar");
        gtk_button_clicked(GTK_BUTTON(widget("boton_mib_comenzar")));  // ignored: a run is going on
        set_widget_active("radiobutton_mib_reparar", true);          // the user switches to repair
    });
    click("boton_mib_comenzar");
    EXPECT_FALSE(start_sensitive);
    EXPECT_FALSE(open_sensitive);
    EXPECT_TRUE(radio_sensitive);
    EXPECT_TRUE(sensitive("boton_mib_comenzar")) << "unlocked after the run";
    EXPECT_TRUE(sensitive("boton_mib_abrir"));
    // The switch made during the run took effect at the first finding: the gap was repaired.
    EXPECT_EQ(view_text("text_mib_acciones"), header("Losed Marks") + " Losed Mark [B](x)\n" +
                                                  header("Erroneous Trajectories") + header("Smooth Trajectories"));
    const std::string progress = view_text("text_mib_reglas");
    EXPECT_EQ(std::count(progress.begin(), progress.end(), '['), 3) << "one run: the second start did nothing";
    EXPECT_FALSE(is_lost(app.channels[1].samples[11].y));
}

TEST_F(FimPageTest, ClosingTheCaptureDuringARunStopsIt) {
    open_gappy();
    choose_rules(build_path("rules/diagnosis.fim"));
    click("radiobutton_mib_reparar");
    while_running([&] { click("boton_herr_cerrar"); });
    click("boton_mib_comenzar");
    EXPECT_EQ(app.current_layer, 0);
    EXPECT_EQ(view_text("text_mib_reglas").find(" [OK]"), std::string::npos) << "the run stopped with its capture";
    const std::string why = " The run stopped: the layer it worked on was closed or another layer became current.\n";
    const std::string findings = view_text("text_mib_acciones");
    EXPECT_EQ(findings.substr(findings.size() - why.size()), why) << findings;
    EXPECT_TRUE(sensitive("boton_mib_abrir"));
}
