// The " Bones " page through its widgets and its two dialogs: the lists, the bone menus, the
// skeleton file buttons, and the picture the view draws after each change.
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "gui/gl/scene_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "support/gui_fixture.h"

namespace {

struct Rgb {
    int r, g, b;
};

constexpr Rgb ROJO_CLARO{249, 0, 0};
constexpr Rgb AZUL_CLARO{0, 0, 249};
constexpr Rgb VERDE_CLARO{29, 249, 0};

const std::vector<std::string> names = {"LASI", "RASI", "LKNE", "RKNE", "SACR"};

// Marks 0 and 1 span the bounds; the others lie inside, apart from each other.
double position(int m, int, int a) {
    static const double at[5][3] = {{0, 0, 0}, {200, 200, 200}, {60, 100, 140}, {140, 100, 60}, {100, 40, 100}};
    return at[m][a];
}

const char* const CHANNELS_MESSAGE = "The Skeleton file is invalid. \n There is a different number of channels";

struct BonesPageTest : GuiTest {
    std::vector<unsigned char> pixels;

    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        gtk_widget_show(app_windows.main_window);
        process_pending_events();
    }

    void open_scene() {
        const std::string path = dir.path("scene.idf");
        write_file(path, make_idf_text(100, 5, 3, position, names));
        open_capture(path);
        gtk_option_menu_set_history(GTK_OPTION_MENU(widget("option_ver_render")), 2);  // flat colours
        set_widget_active("checkbutton_drawbox", false);
        set_widget_value("spin_ver_marcas", 8);
        set_widget_value("spin_ver_huesos", 4);
    }

    int count(Rgb colour) {
        int width = 0, height = 0;
        pixels = render_view_pixels(widget("gtkglext_modelo3D"), width, height);
        EXPECT_FALSE(pixels.empty()) << "the view could not draw";
        int n = 0;
        for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
            n += pixels[i] == colour.r && pixels[i + 1] == colour.g && pixels[i + 2] == colour.b;
        }
        return n;
    }

    // The open top-level window registered under `name`, or nullptr.
    static GtkWidget* open_window(const char* name) {
        GtkWidget* found = nullptr;
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            if (g_object_get_data(G_OBJECT(w->data), name) == w->data) found = GTK_WIDGET(w->data);
        }
        g_list_free(windows);
        return found;
    }

    void select_row(const char* list, int row) { gtk_clist_select_row(GTK_CLIST(widget(list)), row, 0); }
    bool nothing_selected(const char* list) { return GTK_CLIST(widget(list))->selection == nullptr; }

    void choose(GtkWidget* window, const char* option_menu, int position) {
        gtk_option_menu_set_history(GTK_OPTION_MENU(find_widget(window, option_menu)), position);
    }
    int chosen(GtkWidget* window, const char* option_menu) {
        return gtk_option_menu_get_history(GTK_OPTION_MENU(find_widget(window, option_menu)));
    }

    void insert_bone(int origin, int destination, int colour) {
        choose(app_windows.main_window, "optionmenu_hue_origen", origin);
        choose(app_windows.main_window, "optionmenu_hue_destino", destination);
        choose(app_windows.main_window, "optionmenu_hue_color", colour);
        click("boton_insertar");
    }

    // Selects the mark, opens its dialog, sets colour and visibility and presses OK.
    void edit_mark(int mark, int colour, bool visible) {
        select_row("clist_hue_marcas", mark);
        click("boton_hue_editarmarca");
        GtkWidget* dialog = open_window("window_ed_marca");
        ASSERT_NE(dialog, nullptr);
        choose(dialog, "optionmenu_color", colour);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(find_widget(dialog, "check_visible_marca")), visible);
        gtk_button_clicked(GTK_BUTTON(find_widget(dialog, "boton_aceptar")));
        process_pending_events();
        EXPECT_EQ(open_window("window_ed_marca"), nullptr) << "OK left the dialog open";
    }

    GtkWidget* open_bone_dialog(int bone) {
        select_row("clist_hue_huesos", bone);
        click("boton_hue_editarhuesos");
        return open_window("window_ed_hueso");
    }

    void press_bone_ok(GtkWidget* dialog) {
        gtk_button_clicked(GTK_BUTTON(find_widget(dialog, "boton_acpetar")));
        process_pending_events();
        EXPECT_EQ(open_window("window_ed_hueso"), nullptr) << "OK left the dialog open";
    }

    // Presses the button, checks the file-selection dialog's title and answers it with the path.
    void choose_file(const char* button, const char* title, const std::string& path) {
        click(button);
        ASSERT_NE(app_windows.file_selection, nullptr);
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(app_windows.file_selection)), title);
        GtkFileSelection* selection = GTK_FILE_SELECTION(app_windows.file_selection);
        gtk_file_selection_set_filename(selection, path.c_str());
        gtk_button_clicked(GTK_BUTTON(selection->ok_button));
        process_pending_events();
        EXPECT_EQ(app_windows.file_selection, nullptr);
    }

    std::string entry_text(const char* name) { return gtk_entry_get_text(GTK_ENTRY(widget(name))); }
};

// A window manager's close button: a delete event on the window.
void close_with_frame(GtkWidget* window) {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(window->window));
    gtk_main_do_event(event);
    gdk_event_free(event);
    process_pending_events();
}

}  // namespace

TEST_F(BonesPageTest, AMarkEditedInItsDialogChangesTheListAndThePicture) {
    open_scene();
    EXPECT_EQ(list_rows("clist_hue_marcas", 0), names);
    EXPECT_EQ(list_rows("clist_hue_marcas", 1), std::vector<std::string>(5, "Gris"));
    EXPECT_EQ(list_rows("clist_hue_marcas", 2), std::vector<std::string>(5, "Yes"));
    EXPECT_TRUE(list_rows("clist_hue_huesos").empty());
    EXPECT_EQ(menu_items("optionmenu_hue_origen"), names);

    click("boton_hue_editarmarca");
    EXPECT_EQ(open_window("window_ed_marca"), nullptr) << "a dialog opened with no mark selected";
    EXPECT_EQ(count(ROJO_CLARO), 0);

    select_row("clist_hue_marcas", 2);
    click("boton_hue_editarmarca");
    GtkWidget* dialog = open_window("window_ed_marca");
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Edit Mark - Skeleton");
    EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialog)));
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(find_widget(dialog, "entry_nombre"))), "LKNE");
    EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(find_widget(dialog, "entry_nombre"))));
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(find_widget(dialog, "check_visible_marca"))));
    EXPECT_EQ(chosen(dialog, "optionmenu_color"), 13);
    choose(dialog, "optionmenu_color", 6);
    gtk_button_clicked(GTK_BUTTON(find_widget(dialog, "boton_aceptar")));
    process_pending_events();
    EXPECT_EQ(open_window("window_ed_marca"), nullptr);
    EXPECT_EQ(list_rows("clist_hue_marcas", 1)[2], "Rojo Claro");
    EXPECT_EQ(list_rows("clist_hue_marcas", 2)[2], "Yes");
    EXPECT_TRUE(nothing_selected("clist_hue_marcas"));
    EXPECT_GT(count(ROJO_CLARO), 0);

    edit_mark(2, 6, false);
    EXPECT_EQ(list_rows("clist_hue_marcas", 2)[2], "No");
    EXPECT_EQ(count(ROJO_CLARO), 0) << "a hidden mark was drawn";

    // Closing the dialog with the window frame discards the edit.
    select_row("clist_hue_marcas", 0);
    click("boton_hue_editarmarca");
    dialog = open_window("window_ed_marca");
    ASSERT_NE(dialog, nullptr);
    choose(dialog, "optionmenu_color", 8);
    close_with_frame(dialog);
    EXPECT_EQ(open_window("window_ed_marca"), nullptr);
    EXPECT_EQ(list_rows("clist_hue_marcas", 1)[0], "Gris");
    EXPECT_EQ(app.mark_styles[0].colour, 13);
    EXPECT_TRUE(messages.empty());
}

TEST_F(BonesPageTest, BonesAreInsertedRefusedAndTurnedAroundInTheirDialog) {
    open_scene();
    insert_bone(2, 3, 8);
    EXPECT_EQ(list_rows("clist_hue_huesos", 0), std::vector<std::string>{"LKNE"});
    EXPECT_EQ(list_rows("clist_hue_huesos", 1), std::vector<std::string>{"RKNE"});
    EXPECT_EQ(list_rows("clist_hue_huesos", 2), std::vector<std::string>{"Azul Claro"});
    EXPECT_GT(count(AZUL_CLARO), 0);

    click("boton_insertar");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "This bone has been inserted previously");
    insert_bone(3, 2, 8);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "This bone (inverted) has been inserted previously");
    insert_bone(3, 3, 8);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].text, "Select distinct origin and destination channels");
    EXPECT_EQ(messages[2].type, 3);
    EXPECT_EQ(list_rows("clist_hue_huesos").size(), 1u);

    GtkWidget* dialog = open_bone_dialog(0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Edit Bone - Skeleton");
    EXPECT_EQ(menu_items("optionmenu_hue_destino"), names);
    EXPECT_EQ(chosen(dialog, "optionmenu_origen"), 2);
    EXPECT_EQ(chosen(dialog, "optionmenu_destino"), 3);
    EXPECT_EQ(chosen(dialog, "optionmenu_color"), 8);
    choose(dialog, "optionmenu_origen", 3);
    choose(dialog, "optionmenu_destino", 2);
    choose(dialog, "optionmenu_color", 10);
    press_bone_ok(dialog);
    EXPECT_EQ(messages.size(), 3u) << "the bone was compared with itself";
    EXPECT_EQ(list_rows("clist_hue_huesos", 0), std::vector<std::string>{"RKNE"});
    EXPECT_EQ(list_rows("clist_hue_huesos", 1), std::vector<std::string>{"LKNE"});
    EXPECT_EQ(list_rows("clist_hue_huesos", 2), std::vector<std::string>{"Verde Claro"});
    EXPECT_GT(count(VERDE_CLARO), 0);
    EXPECT_EQ(count(AZUL_CLARO), 0);

    // A bone with a hidden end is not drawn.
    edit_mark(3, 13, false);
    EXPECT_EQ(count(VERDE_CLARO), 0);
}

TEST_F(BonesPageTest, ARefusedEditClosesTheDialogAndDeleteTakesOnlyTheSelectedBone) {
    open_scene();
    insert_bone(0, 1, 0);
    insert_bone(2, 3, 1);
    insert_bone(4, 0, 2);
    ASSERT_EQ(list_rows("clist_hue_huesos").size(), 3u);

    GtkWidget* dialog = open_bone_dialog(1);
    ASSERT_NE(dialog, nullptr);
    choose(dialog, "optionmenu_origen", 1);
    choose(dialog, "optionmenu_destino", 0);
    press_bone_ok(dialog);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "This bone (inverted) has been inserted previously");
    EXPECT_EQ(list_rows("clist_hue_huesos", 0)[1], "LKNE");

    // Right after an insertion no row is selected: delete takes nothing.
    select_row("clist_hue_huesos", 0);
    insert_bone(1, 2, 3);
    click("boton_hue_eliminarhuesos");
    EXPECT_EQ(list_rows("clist_hue_huesos").size(), 4u);

    select_row("clist_hue_huesos", 1);
    click("boton_hue_eliminarhuesos");
    EXPECT_EQ(list_rows("clist_hue_huesos", 2),
              (std::vector<std::string>{"Rojo Oscuro", "Azul Oscuro", "Celeste Oscuro"}));
    EXPECT_TRUE(nothing_selected("clist_hue_huesos"));
    click("boton_hue_editarhuesos");
    EXPECT_EQ(open_window("window_ed_hueso"), nullptr);
}

TEST_F(BonesPageTest, OpenSaveAsAndSaveGoThroughTheFileSelection) {
    open_scene();
    const std::string opened = dir.path("walk.bon");
    const std::string copy = dir.path("copy.bon");
    write_file(opened, "5\t1\n6\t1\n10\t1\n6\t0\n10\t1\n11\t1\n0\t4\t11\n");
    choose_file("boton_hue_abrir", "Open Skeleton File", opened);
    EXPECT_EQ(entry_text("entry_hue_fichero"), "walk.bon");
    EXPECT_EQ(status_text(), " Skeleton file has been opened.");
    EXPECT_EQ(list_rows("clist_hue_marcas", 1),
              (std::vector<std::string>{"Rojo Claro", "Verde Claro", "Rojo Claro", "Verde Claro", "Naranja Claro"}));
    EXPECT_EQ(list_rows("clist_hue_marcas", 2)[2], "No");
    EXPECT_EQ(list_rows("clist_hue_huesos", 1), std::vector<std::string>{"SACR"});
    EXPECT_GT(count({249, 182, 0}), 0) << "the loaded bone was not drawn";

    choose_file("boton_hue_guardarcomo", "Save Skeleton File", copy);
    EXPECT_EQ(read_file(copy), read_file(opened));
    EXPECT_EQ(status_text(), " Skeleton File has been saved");
    EXPECT_EQ(entry_text("entry_hue_fichero"), "walk.bon");

    insert_bone(1, 2, 5);
    click("boton_hue_guardar");
    EXPECT_EQ(read_file(opened), "5\t2\n6\t1\n10\t1\n6\t0\n10\t1\n11\t1\n0\t4\t11\n1\t2\t5\n");
    EXPECT_EQ(read_file(copy), "5\t1\n6\t1\n10\t1\n6\t0\n10\t1\n11\t1\n0\t4\t11\n");

    // A skeleton for four marks is refused and the lists keep what they showed.
    const std::string four = dir.path("four.bon");
    write_file(four, "4\t0\n0\t1\n0\t1\n0\t1\n0\t1\n");
    choose_file("boton_hue_abrir", "Open Skeleton File", four);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, CHANNELS_MESSAGE);
    EXPECT_EQ(list_rows("clist_hue_marcas", 1)[0], "Rojo Claro");
    EXPECT_EQ(list_rows("clist_hue_huesos").size(), 2u);
    EXPECT_EQ(entry_text("entry_hue_fichero"), "walk.bon");

    // OK with no file name typed: the folder itself cannot be written as a skeleton.
    choose_file("boton_hue_guardarcomo", "Save Skeleton File", dir.dir + "/");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text.rfind("Error saving file:\n " + dir.dir, 0), 0u) << messages[1].text;
    EXPECT_EQ(read_file(opened), "5\t2\n6\t1\n10\t1\n6\t0\n10\t1\n11\t1\n0\t4\t11\n1\t2\t5\n");
}

TEST_F(BonesPageTest, TheSkeletonTravelsWithItsLayer) {
    open_scene();
    const std::string skeleton = dir.path("scene.bon");
    write_file(skeleton, "5\t1\n0\t1\n0\t1\n0\t1\n0\t1\n0\t1\n0\t1\t4\n");
    choose_file("boton_hue_abrir", "Open Skeleton File", skeleton);
    ASSERT_EQ(list_rows("clist_hue_huesos").size(), 1u);

    open_small_capture("other.idf", 3, 5);
    EXPECT_EQ(entry_text("entry_hue_fichero"), "");
    EXPECT_EQ(list_rows("clist_hue_marcas", 1), std::vector<std::string>(3, "Gris"));
    EXPECT_TRUE(list_rows("clist_hue_huesos").empty());

    click("togglebutton_lay_tool_1");
    EXPECT_EQ(entry_text("entry_hue_fichero"), skeleton);
    EXPECT_EQ(list_rows("clist_hue_marcas", 1), std::vector<std::string>(5, "Rojo Oscuro"));
    EXPECT_EQ(list_rows("clist_hue_huesos", 0), std::vector<std::string>{"LASI"});
}
