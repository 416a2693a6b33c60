// The interface test fixture and its own main: GTK is initialised once, on the test display.
#include "support/gui_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "gui/gl/gl_view.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/shell/startup.h"

static bool display_available = false;

void GuiTest::SetUp() {
    if (!display_available) GTEST_SKIP() << "the interface tests need a display (the suite runs them under Xvfb)";
    app_reset();
    create_interface();
    Seams seams = installed_seams();
    seams.show_message = [this](const std::string& text, int type, int buttons) {
        messages.push_back({text, type, buttons});
        return 0;
    };
    install_seams(seams);
}

void GuiTest::TearDown() {
    if (!display_available) return;
    for (GtkWidget* window : {app_windows.file_selection, app_windows.preferences_dialog, app_windows.splash_window,
                              app_windows.main_window}) {
        if (window) gtk_widget_destroy(window);
    }
    app_windows = AppWindows{};
    install_seams({});
    app_reset();
    process_pending_events();
}

GtkWidget* GuiTest::widget(const char* name) {
    GtkWidget* found = find_widget(app_windows.main_window, name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void GuiTest::click(const char* name) {
    GtkWidget* w = widget(name);
    if (GTK_IS_MENU_ITEM(w)) {
        gtk_menu_item_activate(GTK_MENU_ITEM(w));
    } else if (GTK_IS_TOOL_BUTTON(w)) {
        g_signal_emit_by_name(w, "clicked");
    } else {
        gtk_button_clicked(GTK_BUTTON(w));
    }
    process_pending_events();
}

std::string GuiTest::label(const char* name) { return gtk_label_get_text(GTK_LABEL(widget(name))); }

std::string GuiTest::status_text() {
    GtkStatusbar* bar = GTK_STATUSBAR(widget("statusbar_principal"));
    return gtk_label_get_text(GTK_LABEL(bar->label));
}

std::string GuiTest::history_text() {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget("text_ver_historico")));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::string result = text;
    g_free(text);
    return result;
}

bool GuiTest::sensitive(const char* name) { return GTK_WIDGET_SENSITIVE(widget(name)); }
bool GuiTest::visible(const char* name) { return GTK_WIDGET_VISIBLE(widget(name)); }
bool GuiTest::active(const char* name) { return widget_active(name); }
double GuiTest::value(const char* name) { return widget_value(name); }

static GtkAdjustment* adjustment(GtkWidget* w) {
    return GTK_IS_SPIN_BUTTON(w) ? gtk_spin_button_get_adjustment(GTK_SPIN_BUTTON(w)) : gtk_range_get_adjustment(GTK_RANGE(w));
}

double GuiTest::lower(const char* name) { return adjustment(widget(name))->lower; }
double GuiTest::upper(const char* name) { return adjustment(widget(name))->upper; }

std::vector<std::string> GuiTest::menu_items(const char* option_menu) {
    std::vector<std::string> items;
    GtkWidget* menu = gtk_option_menu_get_menu(GTK_OPTION_MENU(widget(option_menu)));
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* item = children; item; item = item->next) {
        GtkWidget* child = gtk_bin_get_child(GTK_BIN(item->data));
        // The selected item's label is shown inside the option menu itself.
        if (!child) child = gtk_bin_get_child(GTK_BIN(widget(option_menu)));
        items.emplace_back(child && GTK_IS_LABEL(child) ? gtk_label_get_text(GTK_LABEL(child)) : "");
    }
    g_list_free(children);
    return items;
}

std::vector<std::string> GuiTest::list_rows(const char* clist, int column) {
    std::vector<std::string> rows;
    GtkCList* list = GTK_CLIST(widget(clist));
    for (int r = 0; r < list->rows; ++r) {
        gchar* text = nullptr;
        gtk_clist_get_text(list, r, column, &text);
        rows.emplace_back(text ? text : "");
    }
    return rows;
}

bool GuiTest::run_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    // The wake-up has the lowest priority: a condition slower to check than its period must not
    // keep the redraws and other idle work from running.
    const guint wake =
        g_timeout_add_full(G_PRIORITY_LOW, 5, +[](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
    bool held = condition();
    while (!held && std::chrono::steady_clock::now() < end) {
        g_main_context_iteration(nullptr, TRUE);
        held = condition();
    }
    g_source_remove(wake);
    return held;
}

void GuiTest::settle() {
    for (int quiet = 0; quiet < 3;) {
        gdk_display_sync(gdk_display_get_default());
        quiet = gtk_events_pending() ? 0 : quiet + 1;
        process_pending_events();
        g_usleep(10 * 1000);
    }
}

void GuiTest::focus_main_window() {
    GtkWidget* window = app_windows.main_window;
    gtk_widget_show(window);
    settle();
    // There is no window manager on the test display: the window takes the focus itself.
    gdk_window_focus(window->window, GDK_CURRENT_TIME);
    for (int i = 0; i < 100 && !gtk_window_has_toplevel_focus(GTK_WINDOW(window)); ++i) settle();
    ASSERT_TRUE(gtk_window_has_toplevel_focus(GTK_WINDOW(window)));
}

void GuiTest::xdotool(const std::string& commands) {
    // xdotool closes its display before it exits, so the server has made every event by then.
    std::string err;
    ASSERT_EQ(run_command("(" + commands + ")", nullptr, &err), 0) << commands << "\n" << err;
    settle();
}

std::pair<int, int> GuiTest::on_screen(GtkWidget* w, int x, int y) {
    int origin_x = 0, origin_y = 0;
    gdk_window_get_origin(w->window, &origin_x, &origin_y);
    // A widget without a window of its own is placed inside its parent's.
    if (GTK_WIDGET_NO_WINDOW(w)) {
        origin_x += w->allocation.x;
        origin_y += w->allocation.y;
    }
    return {origin_x + x, origin_y + y};
}

void GuiTest::click_on_screen(std::pair<int, int> at) {
    xdotool("xdotool mousemove " + std::to_string(at.first) + " " + std::to_string(at.second) + " click 1");
}

void GuiTest::open_capture(const std::string& path) {
    click("boton_herr_abrir");
    ASSERT_NE(app_windows.file_selection, nullptr);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(app_windows.file_selection)), "Open file");
    GtkFileSelection* selection = GTK_FILE_SELECTION(app_windows.file_selection);
    gtk_file_selection_set_filename(selection, path.c_str());
    gtk_button_clicked(GTK_BUTTON(selection->ok_button));
    process_pending_events();
    EXPECT_EQ(app_windows.file_selection, nullptr) << "the dialog stayed open";
}

std::string GuiTest::open_small_capture(const std::string& name, int marks, int frames) {
    const std::string path = dir.path(name);
    write_file(path, make_idf_text(100, marks, frames, [](int m, int f, int a) { return m * 10.0 + f + a; }));
    open_capture(path);
    return path;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef ZEMO_PRIVATE_DISPLAY
    // Tests that type and click through the X server move its one pointer and keyboard focus, and
    // windows of tests run beside them would take their clicks: each run has a server of its own.
    std::optional<PrivateXServer> server;
    if (!GTEST_FLAG_GET(list_tests)) {
        server.emplace();
        // Without Xvfb these tests are skipped, as the others are without a display.
        if (server->display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", server->display.c_str(), 1);
        }
    }
#endif
    // A display that is there but slow to answer (a loaded machine) gets a few more tries; a
    // missing one skips the interface tests.
    for (int attempt = 0; std::getenv("DISPLAY") && !display_available && attempt < 5; ++attempt) {
        if (attempt > 0) g_usleep(300 * 1000);
        display_available = init_toolkit();
    }
    // Images are found in the run-time folder, as the program finds them.
    if (chdir(ZEMO_BUILD_DIR) != 0) return 1;
    return RUN_ALL_TESTS();
}
