// The recent captures: newest first, no repeats, eight at most, read back as written.
#include <gtest/gtest.h>

#include "engine/recent_captures.h"
#include "support/test_support.h"

TEST(RecentCaptures, NewestFirstWithoutRepeatsAndEightAtMost) {
    std::vector<std::string> list;
    for (int i = 1; i <= 10; ++i) list = recent_add(list, "/trials/t" + std::to_string(i) + ".c3d");
    list = recent_add(list, "/trials/t5.c3d");  // opened again: moves to the front
    list = recent_add(list, "/trials/bad\nname.idf");  // cannot be one line: not remembered
    const std::vector<std::string> expected = {"/trials/t5.c3d", "/trials/t10.c3d", "/trials/t9.c3d", "/trials/t8.c3d",
                                               "/trials/t7.c3d", "/trials/t6.c3d",  "/trials/t4.c3d", "/trials/t3.c3d"};
    EXPECT_EQ(list, expected);

    TempDir dir;
    ASSERT_TRUE(recent_save(dir.path("recent"), list));
    EXPECT_EQ(recent_load(dir.path("recent")), expected);
    write_file(dir.path("windows"), "C:\\a.idf\r\n\r\nC:\\a.idf\r\n/b.trc\r\n");
    EXPECT_EQ(recent_load(dir.path("windows")), (std::vector<std::string>{"C:\\a.idf", "/b.trc"}));
    EXPECT_TRUE(recent_load(dir.path("missing")).empty());
}
