// Failed reads and saves: the status carries the whole message for the user, naming the file and
// the reason, and shows nothing itself; the routine the interface calls shows it in an error box,
// except a quiet failure (a file that cannot be opened), which the desktop program passes over.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/formats/capture_io.h"
#include "engine/model/seams.h"
#include "engine/skeleton/skeleton_file.h"
#include "support/test_support.h"

TEST(FailureStatus, FailedReadsAndSavesNameTheFileAndTheReason) {
    Recorder recorder;
    TempDir dir;
    write_file(dir.path("open.idf"), make_idf_text(60, 2, 5, [](int m, int f, int a) { return m + f + a; }));
    ASSERT_EQ(idf_read(dir.path("open.idf")), 0);
    const std::string missing = dir.path("missing.idf"), cut = dir.path("cut.idf");
    const std::string missing_bon = dir.path("missing.bon");
    const std::string nowhere = dir.path("no-folder/out.idf"), nowhere_bon = dir.path("no-folder/out.bon");
    const std::string no_temporary = "cannot create " + dir.path("no-folder/#temporal_zemo#.###") +
                                     ": No such file or directory";
    write_file(cut, "INFORMATION_SECTION\n");

    struct Case {
        const char* what;
        std::function<Status()> status;
        std::function<int()> boxed;
        std::string message;
        bool quiet;
    } cases[] = {
        {"capture that is missing", [&] { return capture_read_layer(missing); }, [&] { return idf_read(missing); },
         "Error opening file:\n " + missing + "\n No such file or directory", true},
        {"capture cut short", [&] { return capture_read_layer(cut); }, [&] { return idf_read(cut); },
         "Error opening file:\n " + cut + "\n It is not a complete IDF capture.", true},
        {"capture Save as", [&] { return capture_save_as(app, nowhere); }, [&] { return idf_save_as(nowhere); },
         "Error saving file:\n " + nowhere + "\n " + no_temporary, false},
        {"skeleton that is missing", [&] { return skeleton_load_file(app, missing_bon); },
         [&] { return skeleton_load(missing_bon); }, "Error opening file:\n " + missing_bon + "\n No such file or directory",
         true},
        {"skeleton Save as", [&] { return skeleton_write_file(app, nowhere_bon); },
         [&] { return skeleton_save_as(app, nowhere_bon); }, "Error saving file:\n " + nowhere_bon + "\n " + no_temporary,
         false},
    };
    for (const Case& c : cases) {
        recorder.messages.clear();
        const Status status = c.status();
        EXPECT_FALSE(status.ok()) << c.what;
        EXPECT_EQ(status.message(), c.message) << c.what;
        EXPECT_EQ(status.quiet(), c.quiet) << c.what;
        EXPECT_TRUE(recorder.messages.empty()) << c.what << ": the status alone shows nothing";

        EXPECT_EQ(c.boxed(), 1) << c.what;
        if (c.quiet) {
            EXPECT_TRUE(recorder.messages.empty()) << c.what;
        } else {
            ASSERT_EQ(recorder.messages.size(), 1u) << c.what;
            EXPECT_EQ(recorder.messages[0].text, c.message) << c.what;
            EXPECT_EQ(recorder.messages[0].type, MESSAGE_ERROR) << c.what;
        }
    }
    EXPECT_EQ(app.open_count, 1) << "a failed read opens no layer";
}
