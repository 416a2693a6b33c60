// zemo.ini: three commands, one per line, read back whole even when they contain spaces.
#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/config.h"
#include "platform/program_folders.h"
#include "support/test_support.h"

namespace {

// Runs each test inside its own temporary working directory.
struct ConfigTest : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    WorkingDirectory in_test_folder{dir.dir};
};

}  // namespace

TEST_F(ConfigTest, MissingFileLeavesTheCommandsEmpty) {
    config_load();
    EXPECT_EQ(app.xml_editor_command, "");
    EXPECT_EQ(app.idf_editor_command, "");
    EXPECT_EQ(app.xml_viewer_command, "");
    config_save();
    EXPECT_EQ(read_file("zemo.ini"), "\n\n\n");
}

TEST_F(ConfigTest, CommandsWithSpacesReadBackWhole) {
    app.xml_editor_command = "/opt/My Editor/edit --new-window";
    app.idf_editor_command = "gedit";
    app.xml_viewer_command = "firefox -P viewer";
    config_save();
    EXPECT_EQ(read_file("zemo.ini"), "/opt/My Editor/edit --new-window\ngedit\nfirefox -P viewer\n");
    app_reset();
    config_load();
    EXPECT_EQ(app.xml_editor_command, "/opt/My Editor/edit --new-window");
    EXPECT_EQ(app.idf_editor_command, "gedit");
    EXPECT_EQ(app.xml_viewer_command, "firefox -P viewer");
}

TEST_F(ConfigTest, ReadsWindowsLineEndsShortFilesAndCutsLongLines) {
    write_file("zemo.ini", "notepad.exe\r\n" + std::string(300, 'v') + "\r\n");
    app.xml_viewer_command = "kept";
    config_load();
    EXPECT_EQ(app.xml_editor_command, "notepad.exe");
    EXPECT_EQ(app.idf_editor_command, std::string(255, 'v'));
    EXPECT_EQ(app.xml_viewer_command, "kept");
}

TEST_F(ConfigTest, InstalledTheUsersFileIsSeededFromTheShippedDefaultsOnce) {
    ProgramFolders folders{true, dir.path("share"), dir.path("data"), dir.path("config/zemo")};
    ASSERT_TRUE(make_folders(dir.path("share/defaults")));
    write_file(dir.path("share/defaults/zemo.ini"), "gedit\nvi\nfirefox\n");
    const std::string path = config_file_path(folders);
    EXPECT_EQ(path, dir.path("config/zemo/zemo.ini"));
    ASSERT_TRUE(config_seed(folders));
    config_load(path);
    EXPECT_EQ(app.idf_editor_command, "vi");
    app.idf_editor_command = "emacs";
    config_save(path);
    ASSERT_TRUE(config_seed(folders));  // the user's own file is kept
    EXPECT_EQ(read_file(path), "gedit\nemacs\nfirefox\n");
    EXPECT_EQ(config_file_path(ProgramFolders{false, ".", ".", "."}), "zemo.ini");
}
