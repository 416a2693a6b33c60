// The application shell through its real widgets: opening, switching, closing, saving,
// the refusal of an eleventh file, preferences and the View menu.
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/shell/app_commands.h"
#include "gui/shell/startup.h"
#include "gui/windows/main_window.h"
#include "platform/launch.h"
#include "support/gui_fixture.h"

TEST_F(GuiTest, StartsInTheNoFileState) {
    for (const char* name : {"guardar1", "guardar_como1", "cerrar1", "boton_herr_guardar", "boton_herr_cerrar",
                             "boton_herr_interpolar", "notebook_edicion", "notebook_info", "frame1",
                             "ver_fichero_origen1", "ver_reglas1", "editor_de_reglas1", "button_lay_vall",
                             "hscale_quality_avi"}) {
        EXPECT_FALSE(sensitive(name)) << name;
    }
    EXPECT_TRUE(sensitive("boton_herr_abrir"));
    EXPECT_TRUE(sensitive("abrir1"));
    EXPECT_FALSE(visible("hbox_lay_1"));
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(app_windows.main_window)), " ZEMO v.1.2");
    EXPECT_EQ(label("label_lay_10"), "0");
}

TEST_F(GuiTest, OpeningARealCaptureFillsTheWidgets) {
    const std::string path = shared_data("evart.idf");
    open_capture(path);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(label("label_nombre"), "evart.idf");
    EXPECT_EQ(label("label_frames"), "243");
    EXPECT_EQ(label("label_marcas"), "66");
    EXPECT_EQ(label("label_hz"), "60");
    EXPECT_EQ(label("label_tipo"), "IDF");
    EXPECT_EQ(label("label_errores"), "2031");
    EXPECT_EQ(lower("hscale_frame"), 0);
    EXPECT_EQ(upper("hscale_frame"), 242);
    EXPECT_EQ(value("hscale_frame"), 0);
    EXPECT_EQ(upper("spinbutton_can_origen"), 241);
    EXPECT_EQ(value("spinbutton_can_destino"), 242);
    EXPECT_EQ(upper("spin_ver_destino_trazas"), 242);
    EXPECT_EQ(value("spin_ver_destino_trazas"), 242);
    EXPECT_EQ(value("spin_ver_zoom"), 1.0);  // the framing fills the view at zoom 1
    EXPECT_EQ(value("spinbutton_can_factor_suavizado"), 5);
    EXPECT_FALSE(sensitive("spinbutton_can_factor_suavizado"));

    const auto rows = list_rows("list_can");
    ASSERT_EQ(rows.size(), 22u);
    EXPECT_EQ(rows[0], "RSHO");
    EXPECT_EQ(rows[21], "LTOE");
    EXPECT_EQ(list_rows("clist_entity"), rows);
    EXPECT_EQ(list_rows("list_ver_trazas"), rows);
    EXPECT_EQ(menu_items("optionmenu_can_origen").size(), 22u);
    EXPECT_EQ(menu_items("option_mar_marcas")[1], "LSCA");
    const auto colours = menu_items("optionmenu_hue_color");
    ASSERT_EQ(colours.size(), 15u);
    EXPECT_EQ(colours[13], "Gris");
    EXPECT_EQ(menu_items("option_layer_plot"), std::vector<std::string>{"evart.idf"});

    for (const char* name : {"guardar1", "guardar_como1", "cerrar1", "boton_herr_guardar", "notebook_edicion",
                             "frame1", "button_lay_vall", "ver_fichero_origen1"}) {
        EXPECT_TRUE(sensitive(name)) << name;
    }
    EXPECT_FALSE(sensitive("ver_reglas1"));
    EXPECT_TRUE(visible("hbox_lay_1"));
    EXPECT_TRUE(active("togglebutton_lay_tool_1"));
    EXPECT_TRUE(active("togglebutton_lay_view_1"));
    EXPECT_EQ(status_text(), " File opened successfully ");
    EXPECT_EQ(history_text(), "The file: " + path + " was opened.\n");
}

TEST_F(GuiTest, EachLayerKeepsItsPlacementAcrossSwitches) {
    open_small_capture("a.idf", 2, 10);
    open_small_capture("b.idf", 3, 20);
    open_small_capture("c.idf", 4, 30);
    ASSERT_EQ(app.current_layer, 3);
    // Layer 3 is current: move it away from the defaults, then switch to layer 1.
    set_widget_value("spinbutton_offsetx", 12.5);
    set_widget_value("hscale_init", 7);
    set_widget_value("hscale_scaledata", -0.25);
    set_widget_active("checkbutton_drawbox", false);
    click("togglebutton_lay_tool_1");
    EXPECT_EQ(app.current_layer, 1);
    EXPECT_TRUE(active("togglebutton_lay_tool_1"));
    EXPECT_FALSE(active("togglebutton_lay_tool_3"));
    EXPECT_TRUE(active("togglebutton_lay_view_3"));
    EXPECT_EQ(value("spinbutton_offsetx"), 0);
    EXPECT_TRUE(active("checkbutton_drawbox"));
    EXPECT_EQ(label("label_frames"), "10");
    EXPECT_EQ(label("label_nombre"), dir.path("a.idf"));
    EXPECT_EQ(upper("hscale_frame"), 9);
    EXPECT_EQ(list_rows("list_can").size(), 2u);

    set_widget_value("spinbutton_offsety", -3);
    click("togglebutton_lay_tool_3");
    EXPECT_EQ(value("spinbutton_offsetx"), 12.5);
    EXPECT_EQ(value("hscale_init"), 7);
    EXPECT_FLOAT_EQ(value("hscale_scaledata"), -0.25);
    EXPECT_FALSE(active("checkbutton_drawbox"));
    EXPECT_EQ(upper("hscale_frame"), 29);
    click("togglebutton_lay_tool_1");
    EXPECT_EQ(value("spinbutton_offsety"), -3);

    // A click on the current layer's button leaves it current and on.
    click("togglebutton_lay_tool_1");
    EXPECT_EQ(app.current_layer, 1);
    EXPECT_TRUE(active("togglebutton_lay_tool_1"));
}

TEST_F(GuiTest, ViewButtonsHideAndShowLayers) {
    open_small_capture("a.idf", 1, 5);
    open_small_capture("b.idf", 1, 5);
    click("togglebutton_lay_view_1");
    click("togglebutton_lay_view_2");
    EXPECT_EQ(app.layers[1].visible, 0);
    EXPECT_EQ(app.layers[2].visible, 0);
    EXPECT_EQ(app.current_layer, 2);
    click("button_lay_vall");
    EXPECT_EQ(app.layers[1].visible, 1);
    EXPECT_EQ(app.layers[2].visible, 1);
    EXPECT_TRUE(active("togglebutton_lay_view_1"));
}

TEST_F(GuiTest, ClosingMakesTheLowestOpenLayerCurrent) {
    const std::string a = open_small_capture("a.idf", 1, 5);
    open_small_capture("b.idf", 1, 6);
    const std::string c = open_small_capture("c.idf", 1, 7);
    click("togglebutton_lay_tool_2");
    click("cerrar1");  // closes layer 2
    click("togglebutton_lay_tool_3");
    click("boton_herr_cerrar");  // closes layer 3
    EXPECT_EQ(app.current_layer, 1);
    EXPECT_EQ(app.open_count, 1);
    EXPECT_TRUE(active("togglebutton_lay_tool_1"));
    EXPECT_FALSE(visible("hbox_lay_2"));
    EXPECT_FALSE(visible("hbox_lay_3"));
    EXPECT_EQ(label("label_frames"), "5");
    EXPECT_EQ(status_text(), " File has been closed");
    EXPECT_NE(history_text().find("File closed: " + c + "\n"), std::string::npos);
    EXPECT_EQ(menu_items("option_layer_plot"), std::vector<std::string>{"a.idf"});

    // The next file takes the lowest free slot.
    open_small_capture("d.idf", 1, 8);
    EXPECT_EQ(app.current_layer, 2);

    click("togglebutton_lay_tool_1");
    click("cerrar1");
    click("cerrar1");
    EXPECT_EQ(app.current_layer, 0);
    EXPECT_EQ(app.open_count, 0);
    EXPECT_FALSE(sensitive("guardar1"));
    EXPECT_FALSE(sensitive("notebook_edicion"));
    EXPECT_FALSE(visible("hbox_lay_1"));
    EXPECT_FALSE(visible("hbox_lay_2"));
    const std::string history = history_text();
    EXPECT_NE(history.find("File closed: " + a + "\n"), std::string::npos);
}

TEST_F(GuiTest, AnEleventhFileIsRefusedAndNothingChanges) {
    for (int n = 0; n < 10; ++n) open_small_capture("f" + std::to_string(n) + ".idf", 1, 3 + n);
    ASSERT_EQ(app.open_count, 10);
    const std::string history = history_text();
    open_small_capture("eleventh.idf", 1, 50);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "You can't open more than 10 files");
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_EQ(messages[0].buttons, 2);
    EXPECT_EQ(app.open_count, 10);
    EXPECT_EQ(app.current_layer, 10);
    EXPECT_EQ(label("label_frames"), "12");
    EXPECT_EQ(history_text(), history);
}

TEST_F(GuiTest, ABadFileIsRefusedWithItsMessageAndTheOpenLayerStays) {
    open_small_capture("good.idf", 2, 5);
    const std::string bad = dir.path("100% bad.idf");
    write_file(bad, "INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_CHANNELS: 9999\nNUM_DATA: 5\n");
    open_capture(bad);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error opening file:\n " + bad +
                                    "\n Line 3: NUM_CHANNELS: 9999 is more than 3000 columns (1000 marks), the most a "
                                    "layer can hold.");
    EXPECT_EQ(app.open_count, 1);
    EXPECT_EQ(label("label_frames"), "5");
    click("cerrar1");
    EXPECT_NE(history_text().find("File closed: " + dir.path("good.idf")), std::string::npos);
}

TEST_F(GuiTest, SaveAsThenSaveWritesToTheOpenedFile) {
    const std::string opened = open_small_capture("walk.idf", 2, 4);
    click("guardar_como1");
    ASSERT_NE(app_windows.file_selection, nullptr);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(app_windows.file_selection)), "Save as...");
    const std::string other = dir.path("other.idf");
    gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), other.c_str());
    gtk_button_clicked(GTK_BUTTON(GTK_FILE_SELECTION(app_windows.file_selection)->ok_button));
    ASSERT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(status_text(), " File Saved Successfully");

    app.channels[1].samples[3].z = 4321.5;
    click("boton_herr_guardar");
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(read_file(opened).find("5 \t3 \t4321.5\n"), std::string::npos);
    EXPECT_EQ(read_file(other).find("4321.5"), std::string::npos);
}

TEST_F(GuiTest, PreferencesAreEditedAndSavedToZemoIni) {
    const WorkingDirectory in_test_folder(dir.dir);
    app.xml_editor_command = "xmlcopyeditor";
    click("preferencias1");
    GtkWidget* dialog = app_windows.preferences_dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(find_widget(dialog, "entry_editorxml"))), "xmlcopyeditor");
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(find_widget(dialog, "entry_visorxml"))), "");
    gtk_entry_set_text(GTK_ENTRY(find_widget(dialog, "entry_editoridf")), "gedit --new-window");
    gtk_entry_set_text(GTK_ENTRY(find_widget(dialog, "entry_visorxml")), "firefox");
    gtk_button_clicked(GTK_BUTTON(find_widget(dialog, "boton_preferencias_aceptar")));
    EXPECT_EQ(app_windows.preferences_dialog, nullptr);
    EXPECT_EQ(read_file("zemo.ini"), "xmlcopyeditor\ngedit --new-window\nfirefox\n");

    click("preferencias1");
    gtk_entry_set_text(GTK_ENTRY(find_widget(app_windows.preferences_dialog, "entry_visorxml")), "changed");
    gtk_button_clicked(GTK_BUTTON(find_widget(app_windows.preferences_dialog, "boton_preferencias_cancelar")));
    EXPECT_EQ(app.xml_viewer_command, "firefox");
    EXPECT_EQ(read_file("zemo.ini"), "xmlcopyeditor\ngedit --new-window\nfirefox\n");
}

TEST_F(GuiTest, ToolsAndHelpLaunchTheirCommands) {
    std::vector<std::vector<std::string>> launched;
    set_launch_recorder([&](const LaunchRequest& launch) { launched.push_back(launch.argv); });
    // Names a shell would split, expand or run: each reaches the program as one argument.
    const std::string path = open_small_capture("a;touch INJECTED;b $(id) `id` \"q'.idf", 1, 3);
    const std::string rules = "/rules/gait's \"best\" (2) $HOME.fim";
    app.idf_editor_command = "gedit --new-window";
    app.xml_editor_command = "'/opt/xml edit/xe' -n";
    app.xml_viewer_command = "";  // nothing configured: nothing is launched
    app.rules_file = rules;
    click("ver_fichero_origen1");
    click("editor_de_reglas1");
    click("ver_reglas1");
    click("manual_del_usuario1");
    EXPECT_TRUE(messages.empty());
    app.xml_viewer_command = "firefox 'unclosed";
    click("ver_reglas1");
    set_launch_recorder(nullptr);
    EXPECT_EQ(launched, (std::vector<std::vector<std::string>>{{"gedit", "--new-window", path},
                                                               {"/opt/xml edit/xe", "-n", rules},
                                                               {"xdg-open", "help/index.html"}}));
    ASSERT_EQ(messages.size(), 1u);  // the command that cannot be split says so
    EXPECT_NE(messages[0].text.find("firefox 'unclosed"), std::string::npos) << messages[0].text;
}

TEST_F(GuiTest, ViewMenuShowsAndHidesThePanels) {
    const char* pairs[][2] = {{"toolbar2", "toolbar1"},
                              {"edit_pannel1", "notebook_edicion"},
                              {"visualization_pannel1", "notebook_info"},
                              {"active_layers1", "vbox_layers"}};
    for (const auto& pair : pairs) {
        EXPECT_TRUE(active(pair[0]));
        click(pair[0]);
        EXPECT_FALSE(active(pair[0]));
        EXPECT_FALSE(visible(pair[1])) << pair[1];
        click(pair[0]);
        EXPECT_TRUE(visible(pair[1])) << pair[1];
    }
}

TEST_F(GuiTest, QuitClosesEveryLayerAndEndsTheLoop) {
    const std::string a = open_small_capture("a.idf", 1, 3);
    const std::string b = open_small_capture("b.idf", 1, 3);
    const std::string c = open_small_capture("c.idf", 1, 3);
    g_idle_add(+[](gpointer) -> gboolean {
        gtk_menu_item_activate(GTK_MENU_ITEM(find_widget(app_windows.main_window, "salir1")));
        return G_SOURCE_REMOVE;
    }, nullptr);
    const guint watchdog = g_timeout_add(5000, +[](gpointer) -> gboolean {
        gtk_main_quit();
        ADD_FAILURE() << "Quit did not end the main loop";
        return G_SOURCE_REMOVE;
    }, nullptr);
    gtk_main();
    g_source_remove(watchdog);
    EXPECT_EQ(app.open_count, 0);
    const std::string history = history_text();
    for (const std::string& path : {a, b, c}) EXPECT_NE(history.find("File closed: " + path + "\n"), std::string::npos);
}

TEST_F(GuiTest, FindWidgetClimbsFromPopUpMenusAndWarnsOnUnknownNames) {
    open_small_capture("a.idf", 2, 3);
    GtkWidget* menu = gtk_option_menu_get_menu(GTK_OPTION_MENU(widget("option_mar_marcas")));
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(find_widget(GTK_WIDGET(items->data), "label_nombre"), widget("label_nombre"));
    g_list_free(items);

    std::vector<std::string> warnings;
    const guint handler = g_log_set_handler(nullptr, G_LOG_LEVEL_WARNING, +[](const gchar*, GLogLevelFlags, const gchar* text, gpointer into) {
        static_cast<std::vector<std::string>*>(into)->push_back(text);
    }, &warnings);
    EXPECT_EQ(find_widget(app_windows.main_window, "no_such_widget"), nullptr);
    g_log_remove_handler(nullptr, handler);
    EXPECT_EQ(warnings, std::vector<std::string>{"Widget not found: no_such_widget"});
}

TEST_F(GuiTest, AMissingImagesFolderStillBuildsTheWindowsWithWarnings) {
    auto in_test_folder = std::make_unique<WorkingDirectory>(dir.dir);
    std::vector<std::string> warnings;
    const guint handler = g_log_set_handler(nullptr, G_LOG_LEVEL_WARNING, +[](const gchar*, GLogLevelFlags, const gchar* text, gpointer into) {
        static_cast<std::vector<std::string>*>(into)->push_back(text);
    }, &warnings);
    GtkWidget* window = create_main_window();
    GtkWidget* splash = create_splash_window();
    g_log_remove_handler(nullptr, handler);
    in_test_folder.reset();
    EXPECT_NE(find_widget(window, "boton_herr_abrir"), nullptr);
    for (const char* file : {"abrir.XPM", "mini_eye.xpm", "s_esqueleto.XPM", "play.XPM"}) {
        EXPECT_NE(std::find(warnings.begin(), warnings.end(), std::string("Couldn't find pixmap file: ") + file),
                  warnings.end()) << file;
    }
    EXPECT_NE(std::find(warnings.begin(), warnings.end(), "Couldn't find pixmap file: splash.XPM"), warnings.end());
    gtk_widget_destroy(window);
    gtk_widget_destroy(splash);
}

TEST_F(GuiTest, ACaptureNamedAtStartUpBecomesLayerOne) {
    const std::string path = shared_data("Eb015pi.idf");
    open_startup_capture(path.c_str());
    EXPECT_EQ(app.current_layer, 1);
    EXPECT_EQ(label("label_frames"), "450");
    EXPECT_EQ(label("label_nombre"), "Eb015pi.idf");
    EXPECT_EQ(history_text(), "The file: " + path + " was opened.\n");
}

TEST_F(GuiTest, ACaptureNamedAtStartUpThatCannotBeReadLeavesNoFileOpen) {
    const std::string bad = dir.path("bad.idf");
    write_file(bad, "INFORMATION_SECTION\nNUM_DATA: 5\n");
    open_startup_capture(bad.c_str());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error opening file:\n " + bad + "\n Label CAPTURE_RATE: not found.");
    EXPECT_EQ(app.current_layer, 0);
    EXPECT_FALSE(sensitive("guardar1"));
    EXPECT_EQ(history_text(), "");
}
