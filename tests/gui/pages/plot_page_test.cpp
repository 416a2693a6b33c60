// The Plot page through its widgets: the layer and channel menus follow the open files, the
// to-plot list stays paired with its entries, and Plot Image writes the files and starts gp.bat,
// whose end the page reports.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "engine/model/capture_model.h"
#include "engine/plot/plot_items.h"
#include "gui/kit/ui_helpers.h"
#include "gui/pages/plot_image_window.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "support/gui_fixture.h"

namespace {

struct PlotPageTest : GuiTest {
    std::vector<LaunchRequest> launched;

    void SetUp() override {
        GuiTest::SetUp();
        plot_items.clear();
        set_launch_recorder([this](const LaunchRequest& launch) { launched.push_back(launch); });
    }
    void TearDown() override {
        set_launch_recorder(nullptr);
        plot_items.clear();
        GuiTest::TearDown();
    }

    void choose(const char* option_menu, int position) {
        gtk_option_menu_set_history(GTK_OPTION_MENU(widget(option_menu)), position);
        process_pending_events();
    }
    void add(const char* label, int from, int to, int colour) {
        set_entry_text("entry_label_plot", label);
        set_widget_value("spin_from_plot", from);
        set_widget_value("spin_to_plot", to);
        choose("option_colour_plot", colour);
        click("button_add_plot");
    }
    // Plot Image with the working directory in the test's folder, so gplot/ is the test's own.
    void plot_in_test_folder() {
        mkdir(dir.path("gplot").c_str(), 0777);
        const WorkingDirectory in_test_folder(dir.dir);
        click("button_plot_plot");
    }
    // Runs the main loop until the Plot page's result is no longer `running`.
    std::string result_after(const std::string& running) {
        run_until([&] { return label("label_result_plot") != running; }, std::chrono::seconds(30));
        return label("label_result_plot");
    }
};

// PATH with a folder of the test's own in front, for the scripts gp.bat finds there.
struct PathWithFolder {
    std::string previous = std::getenv("PATH") ? std::getenv("PATH") : "";
    explicit PathWithFolder(const std::string& folder) { setenv("PATH", (folder + ":" + previous).c_str(), 1); }
    ~PathWithFolder() { setenv("PATH", previous.c_str(), 1); }
};

// The share of the picture's pixels that the window shows the same.
double shown_share(GtkWidget* window, const std::string& png) {
    GdkPixbuf* picture = gdk_pixbuf_new_from_file(png.c_str(), nullptr);
    GtkWidget* image = gtk_bin_get_child(GTK_BIN(window));
    if (!picture || !image) return 0;
    const int width = gdk_pixbuf_get_width(picture), height = gdk_pixbuf_get_height(picture);
    GdkPixbuf* screen = gdk_pixbuf_get_from_drawable(nullptr, window->window, nullptr, image->allocation.x,
                                                     image->allocation.y, 0, 0, width, height);
    int same = 0;
    if (screen) {
        const bool alpha = gdk_pixbuf_get_has_alpha(picture);
        for (int y = 0; y < height; ++y) {
            const guchar* a = gdk_pixbuf_get_pixels(picture) + y * gdk_pixbuf_get_rowstride(picture);
            const guchar* b = gdk_pixbuf_get_pixels(screen) + y * gdk_pixbuf_get_rowstride(screen);
            for (int x = 0; x < width; ++x) {
                const guchar* p = a + x * (alpha ? 4 : 3);
                const guchar* q = b + x * 3;
                same += p[0] == q[0] && p[1] == q[1] && p[2] == q[2];
            }
        }
        g_object_unref(screen);
    }
    g_object_unref(picture);
    return static_cast<double>(same) / (width * height);
}

}  // namespace

TEST_F(PlotPageTest, LayerMenuChoosesTheChannelsRangeAndLabelWhileTheCurrentLayerStays) {
    EXPECT_TRUE(menu_items("option_channel_plot").empty());
    open_small_capture("first.idf", 3, 40);
    open_small_capture("second.idf", 2, 25);
    EXPECT_EQ(menu_items("option_layer_plot"), (std::vector<std::string>{"first.idf", "second.idf"}));
    // Position 0 is the first file, while the second one is the current layer.
    EXPECT_EQ(menu_items("option_channel_plot"), (std::vector<std::string>{"M0", "M1", "M2"}));
    EXPECT_EQ(upper("spin_to_plot"), 39);
    EXPECT_EQ(lower("spin_from_plot"), 0);
    EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(widget("entry_label_plot"))), std::string("first.idf"));
    EXPECT_EQ(app.current_layer, 2);
    EXPECT_EQ(app.mark_count(), 2);
    EXPECT_EQ(app.num_frames, 25);

    choose("option_layer_plot", 1);
    EXPECT_EQ(menu_items("option_channel_plot"), (std::vector<std::string>{"M0", "M1"}));
    EXPECT_EQ(upper("spin_to_plot"), 24);
    EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(widget("entry_label_plot"))), std::string("second.idf"));

    // Closing both files leaves the channel menu empty.
    click("boton_herr_cerrar");
    EXPECT_EQ(menu_items("option_layer_plot"), (std::vector<std::string>{"first.idf"}));
    EXPECT_EQ(menu_items("option_channel_plot").size(), 3u);
    click("boton_herr_cerrar");
    EXPECT_TRUE(menu_items("option_layer_plot").empty());
    EXPECT_TRUE(menu_items("option_channel_plot").empty());
    click("button_add_plot");
    EXPECT_TRUE(list_rows("clist_toplot_plot").empty());
    EXPECT_TRUE(plot_items.empty());
}

TEST_F(PlotPageTest, AddedEntryKeepsItsFieldsAndLabel) {
    open_small_capture("first.idf", 3, 40);
    open_small_capture("second.idf", 2, 25);
    choose("option_layer_plot", 1);
    choose("option_channel_plot", 1);
    set_widget_active("check_usedots_plot", true);
    add("one", 10, 20, 7);
    set_entry_text("entry_label_plot", "typed later");
    EXPECT_EQ(list_rows("clist_toplot_plot"), (std::vector<std::string>{"one"}));
    ASSERT_EQ(plot_items.size(), 1u);
    const PlotItem& item = plot_items[0];
    EXPECT_EQ(item.layer, 2);
    EXPECT_EQ(item.channel, 1);
    EXPECT_EQ(item.first_frame, 10);
    EXPECT_EQ(item.last_frame, 20);
    EXPECT_EQ(item.legend, "one");
    EXPECT_EQ(item.line_type, 8);
    EXPECT_EQ(item.dots, 1);
    EXPECT_EQ(item.filled, 0);
}

TEST_F(PlotPageTest, RemovingThreeSelectedRowsRemovesTheirEntries) {
    open_small_capture("first.idf", 3, 40);
    for (const char* label : {"a", "b", "c", "d", "e"}) add(label, 0, 5, 0);
    GtkCList* list = GTK_CLIST(widget("clist_toplot_plot"));
    for (int row : {0, 2, 3}) gtk_clist_select_row(list, row, 0);
    click("button_remove_plot");
    EXPECT_EQ(list_rows("clist_toplot_plot"), (std::vector<std::string>{"b", "e"}));
    ASSERT_EQ(plot_items.size(), 2u);
    EXPECT_EQ(plot_items[0].legend, "b");
    EXPECT_EQ(plot_items[1].legend, "e");
}

TEST_F(PlotPageTest, PlotImageWritesTheFilesAndStartsTheScript) {
    open_small_capture("first.idf", 3, 40);
    plot_in_test_folder();
    ASSERT_EQ(messages.size(), 1u) << "an empty list is refused";
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_TRUE(launched.empty());

    add("one", 10, 20, 1);
    set_widget_value("spin_from_plot", 0);
    set_widget_value("spin_to_plot", 3);
    set_widget_active("check_usedots_plot", true);
    add("two", 0, 3, 7);
    set_widget_active("radiobutton_y_plot", true);
    set_widget_value("spinbutton_xres_plot", 800);
    set_widget_value("spinbutton_yres_plot", 600);
    set_entry_text("entry_title_plot", "Walk");
    plot_in_test_folder();
    EXPECT_EQ(messages.size(), 1u);
    // gp.bat runs where the files are: in the working directory, the program's folder when it runs.
    EXPECT_EQ(launched, (std::vector<LaunchRequest>{{{"gp.bat"}, dir.dir}}));
    // first.idf holds m * 10 + f + a: channel 0's y runs over 1..21 for the frames plotted.
    EXPECT_EQ(read_file(dir.path("gplot/order.gnu")),
              "set parametric\nset output \"output.png\"\nset terminal png size 800,600\n\nset grid\n"
              "set title \"Walk\"\nset xrange [0:20]\nset yrange [0:22]\n"
              "plot \"data00.dat\" using ($0+10):2 title \"one\" with lines 2, \\\n"
              "\"data01.dat\" using ($0+0):2 title \"two\" with linespoints 8");
    EXPECT_EQ(read_file(dir.path("gplot/data01.dat")),
              "0.000000\t1.000000\t2.000000\n1.000000\t2.000000\t3.000000\n"
              "2.000000\t3.000000\t4.000000\n3.000000\t4.000000\t5.000000\n");

    // After its file is closed, the entry is refused and nothing starts.
    click("boton_herr_cerrar");
    launched.clear();
    plot_in_test_folder();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].text.find("The entry 0 (one)"), std::string::npos) << messages[1].text;
    EXPECT_TRUE(launched.empty());
}

TEST_F(PlotPageTest, PlotFilesThatCannotBeWrittenSayWhyAndNothingIsLaunched) {
    open_small_capture("walk.idf", 2, 20);
    add("a", 0, 19, 0);
    // gplot/ is a plain file here, so no plot file can be created inside it.
    write_file(dir.path("gplot"), "not a folder");
    {
        const WorkingDirectory in_test_folder(dir.dir);
        click("button_plot_plot");
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, 3);
    EXPECT_EQ(messages[0].text.rfind("Error saving file:\n ", 0), 0u) << messages[0].text;
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(read_file(dir.path("gplot")), "not a folder");
}

// Real gp.bat runs, found in PATH, with an xdg-open that cannot open anything as on a desktop
// without an image viewer: the page says so and Zemo shows the picture itself. When gnuplot
// cannot write its picture, the page says that with gnuplot's own words.
TEST_F(PlotPageTest, WithoutAViewerOrWhenGnuplotFailsThePageSaysSo) {
    set_launch_recorder(nullptr);
    const std::string bin = dir.path("bin");
    mkdir(bin.c_str(), 0777);
    ASSERT_EQ(symlink(build_path("gp.bat").c_str(), (bin + "/gp.bat").c_str()), 0);
    write_file(bin + "/xdg-open", "#!/bin/sh\nexit 3\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    const PathWithFolder path(bin);

    open_small_capture("walk.idf", 2, 40);
    add("walk", 0, 39, 0);
    set_widget_value("spinbutton_xres_plot", 320);
    set_widget_value("spinbutton_yres_plot", 240);
    plot_in_test_folder();
    const std::string running = label("label_result_plot");
    EXPECT_EQ(running, "gnuplot is drawing the plot...") << "Plot Image waited for the script";
    EXPECT_EQ(result_after(running), "No image viewer could be started: the plot is shown in a window of its own.");
    GtkWidget* window = plot_image_window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(window));
    // The picture is read back from the screen once the image has been drawn there.
    bool drawn = false;
    g_signal_connect_after(gtk_bin_get_child(GTK_BIN(window)), "expose-event",
                           G_CALLBACK(+[](GtkWidget*, GdkEventExpose*, gpointer into) -> gboolean {
                               *static_cast<bool*>(into) = true;
                               return FALSE;
                           }),
                           &drawn);
    run_until([&] { return drawn; }, std::chrono::seconds(2));
    EXPECT_GT(shown_share(window, dir.path("gplot/output.png")), 0.99);
    gtk_widget_destroy(window);

    // gnuplot cannot open output.png when it is a folder.
    ASSERT_EQ(unlink(dir.path("gplot/output.png").c_str()), 0);
    ASSERT_EQ(mkdir(dir.path("gplot/output.png").c_str(), 0777), 0);
    plot_in_test_folder();
    const std::string failed = result_after("gnuplot is drawing the plot...");
    EXPECT_EQ(failed.rfind("gnuplot failed: ", 0), 0u) << failed;
    EXPECT_NE(failed.find("cannot open file"), std::string::npos) << failed;
    EXPECT_EQ(plot_image_window(), nullptr) << "there is no picture to show";
    EXPECT_TRUE(messages.empty());
}
