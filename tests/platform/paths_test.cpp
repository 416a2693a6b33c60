// Path helpers: last components after either separator, and the program's own directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/program_folders.h"
#include "support/test_support.h"

TEST(Paths, LastComponentFollowsWhicheverSeparatorComesLast) {
    EXPECT_EQ(last_path_component("/data/lab/walk.idf"), "walk.idf");
    EXPECT_EQ(last_path_component("C:\\captures\\run 1.idf"), "run 1.idf");
    EXPECT_EQ(last_path_component("C:\\mixed/dir\\walk.idf"), "walk.idf");
    EXPECT_EQ(last_path_component("walk.idf"), "walk.idf");
    EXPECT_EQ(last_path_component("dir/"), "");
}

TEST(Paths, DirectoryPartsAndNativePaths) {
    EXPECT_EQ(directory_part("/data/walk.idf"), "/data");
    EXPECT_EQ(directory_part("/walk.idf"), "/");
    EXPECT_EQ(directory_part("walk.idf"), "");
    EXPECT_EQ(native_path("gplot\\order.gnu"), "gplot/order.gnu");
    EXPECT_EQ(join_path("", "a"), "a");
    EXPECT_EQ(join_path("/x/", "a"), "/x/a");
    EXPECT_EQ(absolute_path("/abs"), "/abs");
    EXPECT_EQ(absolute_path("rel").back(), 'l');
    EXPECT_EQ(absolute_path("rel").front(), '/');
}

TEST(Paths, EntersTheDirectoryOfArgvZeroOrOfTheExecutable) {
    char cwd[4096];
    const WorkingDirectory kept;
    TempDir dir;
    EXPECT_TRUE(enter_program_directory((dir.dir + "/zemo").c_str()));
    EXPECT_EQ(std::string(getcwd(cwd, sizeof cwd)), dir.dir);
    EXPECT_EQ(program_directory(), dir.dir);
    EXPECT_TRUE(enter_program_directory("zemo"));  // started through PATH
    EXPECT_EQ(std::string(getcwd(cwd, sizeof cwd)), executable_directory());
    EXPECT_FALSE(enter_program_directory("/no/such/folder/zemo"));
}

// Run from a build folder (images/ and help/ beside the program) everything stays there; an
// installed program reads ../share/zemo and writes only in the user's XDG folders.
TEST(ProgramFolders, BuildFolderOrInstalledPrefix) {
    TempDir dir;
    const std::string build = dir.path("build"), prefix = dir.path("usr");
    for (const std::string& folder : {build + "/images", build + "/help", prefix + "/bin",
                                      prefix + "/share/zemo/images", prefix + "/share/zemo/help"}) {
        ASSERT_TRUE(make_folders(folder)) << folder;
    }
    setenv("XDG_CONFIG_HOME", dir.path("config").c_str(), 1);
    setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    setenv("HOME", dir.path("home").c_str(), 1);

    const ProgramFolders portable = locate_program_folders(build, build);
    EXPECT_FALSE(portable.installed);
    EXPECT_EQ(portable.runtime, build);
    EXPECT_EQ(portable.work, build);
    EXPECT_EQ(portable.config, build);

    const ProgramFolders installed = locate_program_folders(prefix + "/bin", prefix + "/bin");
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.runtime, prefix + "/share/zemo");
    EXPECT_EQ(installed.work, dir.path("home") + "/.local/share/zemo");
    EXPECT_EQ(installed.config, dir.path("config") + "/zemo");

    // Without run-time files anywhere the program stays in its own folder, as it always did.
    EXPECT_FALSE(locate_program_folders(dir.dir, dir.dir).installed);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
}
