// Unsaved work through the real windows: Close and Quit ask before changed samples or skeletons
// are lost, Save as asks before it replaces a file, and the " Marks " page follows every change
// of samples so that Make never writes stale values back.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "support/gui_fixture.h"

namespace {

struct UnsavedWorkTest : GuiTest {
    // What the boxes asked, in order: a question's text, or the file selection's title.
    std::vector<std::string> asked;
    // The answers, in order: a question is answered by the button of that label, the file
    // selection by CHOOSE + the path typed into it (CHOOSE alone presses its Cancel). A file
    // selection the test drives itself has no answer waiting and is left alone.
    std::deque<std::string> answers;
    guint answerer = 0;
    int ticks_unanswered = 0;
    static constexpr const char* CHOOSE = "file:";

    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
        // Modal boxes run their own loop, which still dispatches timeouts.
        answerer = g_timeout_add(20, +[](gpointer self) -> gboolean {
            static_cast<UnsavedWorkTest*>(self)->answer_open_box();
            return G_SOURCE_CONTINUE;
        }, this);
    }

    void TearDown() override {
        if (answerer) g_source_remove(answerer);
        EXPECT_TRUE(answers.empty()) << "a box that was expected never opened";
        GuiTest::TearDown();
    }

    static GtkWidget* open_question() {
        GtkWidget* found = nullptr;
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            if (GTK_IS_MESSAGE_DIALOG(w->data) && GTK_WIDGET_VISIBLE(w->data)) found = GTK_WIDGET(w->data);
        }
        g_list_free(windows);
        return found;
    }

    static GtkWidget* button_labelled(GtkWidget* dialog, const std::string& label) {
        GtkWidget* found = nullptr;
        GList* buttons = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(dialog)->action_area));
        for (GList* b = buttons; b; b = b->next) {
            const gchar* text = gtk_button_get_label(GTK_BUTTON(b->data));
            if (text && label == text) found = GTK_WIDGET(b->data);
        }
        g_list_free(buttons);
        return found;
    }

    bool file_answer_waits() const { return !answers.empty() && answers.front().rfind(CHOOSE, 0) == 0; }

    void answer_open_box() {
        if (GtkWidget* question = open_question()) {
            gchar* text = nullptr;
            g_object_get(question, "text", &text, nullptr);
            asked.emplace_back(text ? text : "");
            g_free(text);
            GtkWidget* button = answers.empty() ? nullptr : button_labelled(question, answers.front());
            if (!answers.empty()) answers.pop_front();
            if (button) {
                gtk_button_clicked(GTK_BUTTON(button));
            } else {
                ADD_FAILURE() << "no answer for: " << asked.back();
                dismiss_running_message();
            }
            return;
        }
        GtkWidget* selection = app_windows.file_selection;
        if (!selection || !GTK_WIDGET_VISIBLE(selection)) {
            ticks_unanswered = 0;
            return;
        }
        if (!file_answer_waits()) {
            // One the test drives itself is answered at once; one still open after seconds waits in vain.
            if (++ticks_unanswered < 150) return;
            ADD_FAILURE() << "no answer for the file selection " << gtk_window_get_title(GTK_WINDOW(selection));
            gtk_widget_destroy(selection);
            return;
        }
        asked.emplace_back(gtk_window_get_title(GTK_WINDOW(selection)));
        const std::string path = answers.front().substr(std::string(CHOOSE).size());
        answers.pop_front();
        GtkFileSelection* files = GTK_FILE_SELECTION(selection);
        gtk_file_selection_set_filename(files, path.c_str());
        gtk_button_clicked(GTK_BUTTON(path.empty() ? files->cancel_button : files->ok_button));
    }

    // A capture of two marks whose mark 1 is lost at frames 3 and 4, repaired at once: the layer
    // then holds changed samples.
    std::string open_repaired(const std::string& name) {
        const std::string path = dir.path(name);
        write_file(path, make_idf_text(100, 2, 10, [](int m, int f, int a) {
                       return m == 1 && (f == 3 || f == 4) ? LOST_VALUE : 10.0 * m + f + a;
                   }));
        open_capture(path);
        click("boton_herr_interpolar");
        EXPECT_EQ(app.error_count, 0);
        return path;
    }

    std::string question_for(const std::string& path) {
        return "Save changes to " + std::filesystem::path(path).filename().string() + "?";
    }
};

}  // namespace

TEST_F(UnsavedWorkTest, CloseAsksOnlyAboutChangesAndCancelKeepsTheLayer) {
    open_small_capture("untouched.idf", 2, 5);
    click("cerrar1");
    EXPECT_EQ(app.open_count, 0) << "nothing changed, nothing asked";

    const std::string path = open_repaired("gappy.idf");
    const std::string original = read_file(path);
    answers = {"Cancel"};
    click("cerrar1");
    EXPECT_EQ(app.open_count, 1);
    answers = {"Close without saving"};
    click("boton_herr_cerrar");
    EXPECT_EQ(app.open_count, 0);
    EXPECT_TRUE(read_file(path) == original);

    open_repaired("saved.idf");
    click("boton_herr_guardar");
    click("boton_herr_cerrar");
    EXPECT_EQ(app.open_count, 0) << "all was saved, nothing asked";
    EXPECT_EQ(asked, std::vector<std::string>(2, question_for(path)));
}

TEST_F(UnsavedWorkTest, SaveInTheQuestionWritesTheCaptureThenCloses) {
    const std::string path = open_repaired("gappy.idf");
    answers = {"Save"};
    click("cerrar1");
    EXPECT_EQ(asked, std::vector<std::string>{question_for(path)});
    EXPECT_EQ(app.open_count, 0);
    open_capture(path);
    EXPECT_EQ(label("label_errores"), "0") << "the repaired samples were written";
}

TEST_F(UnsavedWorkTest, SaveOfACaptureReadFromC3dWritesTheC3dBack) {
    const std::string c3d = dir.path("evart.c3d");
    std::filesystem::copy_file(shared_data("c3d/evart.c3d"), c3d);
    const std::string original = read_file(c3d);
    open_capture(c3d);
    click("boton_herr_interpolar");
    const int remaining = app.error_count;
    ASSERT_LT(remaining, 2031);
    answers = {"Save"};
    click("cerrar1");
    EXPECT_EQ(asked, std::vector<std::string>{"Save changes to evart.c3d?"});
    EXPECT_EQ(app.open_count, 0);
    // The same C3D file, as long, with the repaired marks.
    const std::string saved = read_file(c3d);
    EXPECT_EQ(saved.size(), original.size());
    EXPECT_EQ(saved.substr(0, 512), original.substr(0, 512));
    open_capture(c3d);
    EXPECT_EQ(app.source_format, CaptureFormat::c3d);
    EXPECT_EQ(label("label_errores"), std::to_string(remaining));
}

TEST_F(UnsavedWorkTest, QuitAsksForEveryChangedLayerBeforeClosingAny) {
    const std::string a = open_repaired("a.idf");
    open_small_capture("b.idf", 2, 5);
    const std::string c = open_repaired("c.idf");
    click("togglebutton_lay_tool_2");
    answers = {"Close without saving", "Cancel"};
    click("salir1");
    EXPECT_EQ(asked, (std::vector<std::string>{question_for(a), question_for(c)}));
    EXPECT_EQ(app.open_count, 3);
    EXPECT_EQ(app.current_layer, 2) << "the layer current before is current again";

    // The window's close button: Cancel stops the delete event and the window stays.
    answers = {"Cancel"};
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(app_windows.main_window->window));
    gtk_main_do_event(event);
    gdk_event_free(event);
    process_pending_events();
    ASSERT_NE(app_windows.main_window, nullptr);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(app_windows.main_window));
    EXPECT_EQ(app.open_count, 3);

    asked.clear();
    answers = {"Close without saving", "Close without saving"};
    click("salir1");
    EXPECT_EQ(asked, (std::vector<std::string>{question_for(a), question_for(c)}));
    EXPECT_EQ(app.open_count, 0);
}

TEST_F(UnsavedWorkTest, ASkeletonEditAsksAndSaveAsksForASkeletonFile) {
    const std::string capture = open_small_capture("walk.idf", 3, 5);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("optionmenu_hue_origen")), 0);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("optionmenu_hue_destino")), 2);
    gtk_option_menu_set_history(GTK_OPTION_MENU(widget("optionmenu_hue_color")), 6);
    click("boton_insertar");
    const std::string skeleton = dir.path("walk.bon");
    answers = {"Save", CHOOSE + skeleton};
    click("cerrar1");
    EXPECT_EQ(asked, (std::vector<std::string>{question_for(capture), "Save Skeleton File"}));
    EXPECT_EQ(app.open_count, 0);
    EXPECT_EQ(read_file(skeleton), "3\t1\n13\t1\n13\t1\n13\t1\n0\t2\t6\n");
}

TEST_F(UnsavedWorkTest, SaveAsOntoAnExistingFileAsksBeforeReplacingIt) {
    const std::string capture = open_small_capture("walk.idf", 3, 5);
    struct Case {
        const char* button;
        const char* file;
        std::string written;
    } cases[] = {{"guardar_como1", "other.idf", read_file(capture)},
                 {"boton_hue_guardarcomo", "other.bon", "3\t0\n13\t1\n13\t1\n13\t1\n"}};
    for (const Case& c : cases) {
        const std::string path = dir.path(c.file);
        write_file(path, "keep me");
        for (const char* button : {"Cancel", "Replace"}) {
            asked.clear();
            answers = {button};
            click(c.button);
            ASSERT_NE(app_windows.file_selection, nullptr);
            gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), path.c_str());
            gtk_button_clicked(GTK_BUTTON(GTK_FILE_SELECTION(app_windows.file_selection)->ok_button));
            process_pending_events();
            EXPECT_EQ(asked, std::vector<std::string>{"The file " + path + " already exists. Replace it?"});
            EXPECT_EQ(read_file(path), std::string(button) == "Cancel" ? "keep me" : c.written) << c.file << " " << button;
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(UnsavedWorkTest, MakeAfterADiagnosisRepairKeepsTheRepairedSamples) {
    open_capture(shared_data("evart.idf"));
    // Mark 0 (RSHO) is lost from frame 219 on; the trajectory editor shows x over 200..240.
    set_widget_value("spinbutton_mar_origen", 200);
    set_widget_value("spinbutton_mar_destino", 240);
    process_pending_events();
    ASSERT_TRUE(is_lost(app.channels[0].samples[230].x));

    app.rules_file = build_path("rules/diagnosis.fim");
    click("radiobutton_mib_reparar");
    click("boton_mib_comenzar");
    std::vector<double> repaired;
    for (int f = 200; f <= 240; ++f) repaired.push_back(app.channels[0].samples[f].x);
    ASSERT_FALSE(is_lost(repaired[30])) << "the run repaired the gap";
    EXPECT_EQ(list_rows("clist_mar", 1)[230], std::to_string(repaired[30])) << "the values list follows";

    click("boton_mar_aceptar");
    for (int f = 200; f <= 240; ++f) {
        EXPECT_NEAR(app.channels[0].samples[f].x, repaired[f - 200], 1e-3) << "frame " << f;
    }
}
