// Readers given what is not a regular file: a FIFO with no writer (which would block a plain
// open for ever) and /dev/zero (which never ends). Each refuses at once, reads nothing and,
// where the reader reports, says "not a regular file".
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "engine/config.h"
#include "engine/formats/capture_io.h"
#include "engine/formats/idf/idf_writer.h"
#include "engine/fuzzy/fim_parser.h"
#include "engine/model/seams.h"
#include "engine/scene/recording.h"
#include "engine/scene/tga_image.h"
#include "engine/skeleton/skeleton_file.h"
#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

struct Reader {
    const char* name;
    // True when the reader refused `path`; `boxed` tells whether it showed a box.
    std::function<bool(const std::string& path)> refuses;
    bool boxed;
};

const Reader readers[] = {
    {"capture", [](const std::string& path) { return idf_read(path) == 1; }, true},
    {"skeleton", [](const std::string& path) { return skeleton_load(path) == 1; }, true},
    {"rules", [](const std::string& path) {
         FimDocument document;
         return fim_open(path, document) == 1;
     }, true},
    {"font image", [](const std::string& path) {
         TgaImage image;
         return tga_read_file(path, image) == TGA_CANNOT_OPEN;
     }, false},
    {"codec list", [](const std::string& path) { return read_codec_list(path).empty(); }, false},
};

}  // namespace

TEST(ReadFaults, EveryReaderRefusesAFifoAndADevice) {
    TempDir dir;
    const std::string fifo = dir.path("named.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        for (const Reader& reader : readers) {
            Recorder recorder;
            write_file(dir.path("walk.idf"), make_idf_text(60, 2, 3, [](int, int, int) { return 1.0; }));
            ASSERT_EQ(idf_read(dir.path("walk.idf")), 0);
            recorder.messages.clear();
            EXPECT_TRUE(reader.refuses(path)) << reader.name << " " << path;
            if (reader.boxed) {
                ASSERT_EQ(recorder.messages.size(), 1u) << reader.name << " " << path;
                EXPECT_EQ(recorder.messages[0].text, "Error opening file:\n " + path + "\n not a regular file");
            } else {
                EXPECT_TRUE(recorder.messages.empty()) << reader.name;
            }
        }
    }
}

TEST(ReadFaults, ASettingsFileOrAnOpenedCaptureThatBecameAFifoIsNotRead) {
    Recorder recorder;
    TempDir dir;
    const std::string capture = dir.path("walk.idf");
    write_file(capture, make_idf_text(60, 2, 3, [](int, int, int) { return 1.0; }));
    ASSERT_EQ(idf_read(capture), 0);
    const SharedText held = app.header;
    std::remove(capture.c_str());
    ASSERT_EQ(mkfifo(capture.c_str(), 0600), 0);
    EXPECT_EQ(idf_header_at_save(app), held);

    const WorkingDirectory in_test_folder(dir.dir);
    ASSERT_EQ(mkfifo(CONFIG_FILE_NAME, 0600), 0);
    app.xml_editor_command = "kept";
    config_load();
    EXPECT_EQ(app.xml_editor_command, "kept");
    config_save();  // neither blocks on the FIFO nor replaces it
    struct stat info {};
    EXPECT_TRUE(stat(CONFIG_FILE_NAME, &info) == 0 && S_ISFIFO(info.st_mode));
}

TEST(ReadFaults, ZemoCliEndsWithAMessageOnAnEndlessFileInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    const std::string little_memory;  // AddressSanitizer's shadow alone takes more address space
#else
    const std::string little_memory = "ulimit -v 400000; ";
#endif
    const std::string capture = shared_data("evart.idf");
    for (const std::string& command : {cli + " info /dev/zero", cli + " skeleton '" + capture + "' /dev/zero"}) {
        std::string out, err;
        EXPECT_EQ(run_command(little_memory + command, &out, &err), 1) << command;
        EXPECT_NE(err.find("Error opening file:\n /dev/zero\n not a regular file"), std::string::npos) << err;
    }
}
