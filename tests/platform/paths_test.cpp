// Path helpers: last components after either separator, and the program's own directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/paths.h"
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
