// A program fed through its standard input: what it is given arrives whole, and its exit status
// (or its absence) comes back.
#include <gtest/gtest.h>

#include "platform/piped_program.h"
#include "support/test_support.h"

TEST(PipedProgram, FeedsTheProgramAndReturnsItsExitStatus) {
    TempDir dir;
    const std::string out = dir.path("fed.txt");
    PipedProgram cat;
    std::string error;
    ASSERT_TRUE(cat.start({"sh", "-c", "cat > \"$0\"", out}, "", error)) << error;
    const std::string big(3 << 20, 'x');  // more than the pipe holds
    EXPECT_TRUE(cat.write(big.data(), big.size()));
    EXPECT_EQ(cat.finish(), 0);
    EXPECT_EQ(read_file(out), big);

    const struct {
        std::vector<std::string> argv;
        int code;
    } ends[] = {{{"sh", "-c", "exit 3"}, 3}, {{"zemo-no-such-program"}, 127}};
    for (const auto& end : ends) {
        PipedProgram program;
        ASSERT_TRUE(program.start(end.argv, "", error));
        EXPECT_EQ(program.finish(), end.code) << end.argv[0];
    }
    // A program that has ended takes no more: the write fails instead of ending this process.
    PipedProgram gone;
    ASSERT_TRUE(gone.start({"true"}, "", error));
    bool refused = false;
    for (int i = 0; i < 100 && !refused; ++i) refused = !gone.write(big.data(), big.size());
    EXPECT_TRUE(refused);
    EXPECT_EQ(gone.finish(), 0);
}
