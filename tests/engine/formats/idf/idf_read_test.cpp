// Reading IDF files: the header rules and their messages, bad files refused without any change,
// slots taken in order.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "engine/formats/capture_io.h"
#include "engine/model/seams.h"
#include "support/test_support.h"

namespace {

double coordinate(int m, int f, int a) { return m * 1000.0 + f + a / 8.0; }

std::string header(int rate, int columns, int frames) {
    return "INFORMATION_SECTION\nCAPTURE_RATE: " + std::to_string(rate) + "\nNUM_CHANNELS: " +
           std::to_string(columns) + "\nNUM_DATA: " + std::to_string(frames) + "\n";
}

struct IdfReadTest : ::testing::Test {
    Recorder recorder;
    TempDir dir;

    std::string write_capture(const std::string& name, const std::string& text) {
        const std::string path = dir.path(name);
        write_file(path, text);
        return path;
    }

    // Opens a valid capture first, so that a failed read has something to leave alone.
    void open_existing_layer() {
        app_reset();
        ASSERT_EQ(idf_read(write_capture("good.idf", make_idf_text(60, 2, 3, coordinate))), 0);
        recorder.messages.clear();
    }

    // A failed read shows exactly one error box, containing every fragment, and changes nothing.
    void expect_refused(const std::string& text, std::initializer_list<std::string> fragments) {
        const std::string path = write_capture("bad.idf", text);
        open_existing_layer();
        const auto before_samples = app.channels[0].samples;
        ASSERT_EQ(idf_read(path), 1);
        ASSERT_EQ(recorder.messages.size(), 1u);
        const RecordedMessage& box = recorder.messages[0];
        EXPECT_EQ(box.type, MESSAGE_ERROR);
        EXPECT_EQ(box.buttons, BUTTONS_CLOSE);
        EXPECT_EQ(box.text.rfind("Error opening file:\n " + path + "\n ", 0), 0u) << box.text;
        for (const std::string& fragment : fragments) EXPECT_NE(box.text.find(fragment), std::string::npos) << box.text;
        EXPECT_EQ(app.open_count, 1);
        EXPECT_EQ(app.current_layer, 1);
        EXPECT_EQ(app.layers[2].in_use, 0);
        EXPECT_EQ(app.channels[0].samples, before_samples);
        EXPECT_EQ(app.num_frames, 3);
    }
};

}  // namespace

TEST_F(IdfReadTest, ReadsHeaderNamesAndSamplesIntoLayerOne) {
    const std::string path =
        write_capture("walk.idf", make_idf_text(120, 3, 4, coordinate, {"LASI", "RASI", "X"}));
    ASSERT_EQ(idf_read(path), 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(app.current_layer, 1);
    EXPECT_EQ(app.open_count, 1);
    EXPECT_EQ(app.capture_rate, 120);
    EXPECT_EQ(app.num_columns, 9);
    EXPECT_EQ(app.num_frames, 4);
    EXPECT_EQ(app.error_count, 0);
    EXPECT_EQ(app.channels[0].name_text(), "LASI");
    EXPECT_EQ(app.channels[1].name_text(), "RASI");
    EXPECT_EQ(app.channels[2].name_text(), "X");
    EXPECT_EQ(app.channels.size(), 3u);
    for (int m = 0; m < 3; ++m) {
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(app.channels[m].samples[f].x, coordinate(m, f, 0));
            EXPECT_EQ(app.channels[m].samples[f].y, coordinate(m, f, 1));
            EXPECT_EQ(app.channels[m].samples[f].z, coordinate(m, f, 2));
        }
    }
    EXPECT_EQ(app.file_name, path);
    EXPECT_EQ(app.source_path, path);
    EXPECT_EQ(app.mark_styles[2].colour, DEFAULT_MARK_COLOUR);
    EXPECT_EQ(app.mark_styles[2].visible, 1);
    EXPECT_EQ(app.layers[1].in_use, 1);
    EXPECT_EQ(app.layers[1].visible, 1);
    EXPECT_EQ(app.layers[1].channels[2].samples, app.channels[2].samples);
    EXPECT_EQ(recorder.rows_shown, std::vector<int>{1});
    EXPECT_EQ(recorder.statuses, (std::vector<std::string>{" Opening file... ", " File opened successfully "}));
}

TEST_F(IdfReadTest, SkipsWordsBeforeLabelsAndLinesBeforeTheData) {
    const std::string text =
        "INFORMATION_SECTION recorded by hand\nCAPTURE_RATE: 50\nNUM_CHANNELS: 3\nNUM_DATA: 2\n"
        "CHANNEL_NAMES and more words\nHEAD_x_ 0\nHEAD_y_ 1 HEAD_z_ 2 trailing words\n\n"
        "DATA_SECTION\n  \n0 \t0 \t1.5\n1 \t0 \t2.5\n2 \t0 \t3.5\n0 \t1 \t4\n1 \t1 \t5\n2 \t1 \t6\n";
    ASSERT_EQ(idf_read(write_capture("a.idf", text)), 0);
    EXPECT_EQ(app.channels[0].name_text(), "HEAD");
    EXPECT_EQ(app.channels[0].samples[1].z, 6.0);
    EXPECT_EQ(*app.header, text.substr(0, text.find("0 \t0")));
}

TEST_F(IdfReadTest, ShortColumnNamesGiveEmptyMarkNames) {
    const std::string text = header(50, 3, 1) + "_x_ 0\nAB 1\nC 2\n0 \t0 \t1\n1 \t0 \t2\n2 \t0 \t3\n";
    ASSERT_EQ(idf_read(write_capture("a.idf", text)), 0);
    EXPECT_EQ(app.channels[0].name_text(), "");
}

TEST_F(IdfReadTest, CrLfLinesReadLikeLfLinesAndTheHeaderKeepsThem) {
    std::string text = make_idf_text(60, 2, 3, coordinate);
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(idf_read(write_capture("crlf.idf", crlf)), 0);
    EXPECT_EQ(app.channels[1].samples[2].z, coordinate(1, 2, 2));
    EXPECT_EQ(*app.header, crlf.substr(0, crlf.find("\n0 ") + 1));
}

TEST_F(IdfReadTest, ColumnsNotAMultipleOfThreeDropTheLeftOverColumns) {
    std::string text = header(50, 7, 2) + "Ax 0\nAy 1\nAz 2\nBxxx 3\nBy 4\nBz 5\nCxxx 6\n";
    for (int f = 0; f < 2; ++f) {
        for (int c = 0; c < 7; ++c) text += std::to_string(c) + " \t" + std::to_string(f) + " \t" + std::to_string(c * 10 + f) + "\n";
    }
    ASSERT_EQ(idf_read(write_capture("seven.idf", text)), 0);
    EXPECT_EQ(app.num_columns, 7);
    EXPECT_EQ(app.mark_count(), 2);
    EXPECT_EQ(app.channels[1].name_text(), "B");
    EXPECT_EQ(app.channels[1].samples[1].z, 51.0);
    EXPECT_EQ(app.channels.size(), 2u) << "the tables hold the whole marks only";
    EXPECT_EQ(app.mark_styles.size(), 2u);
}

TEST_F(IdfReadTest, HeaderLabelsOutOfPlaceShowTheirMessages) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"INFORMATION CAPTURE_RATE: 50\n", "INFORMATION_SECTION not found."},
        {"", "INFORMATION_SECTION not found."},
        {"INFORMATION_SECTION\nRATE: 50\n", "Label CAPTURE_RATE: not found."},
        {"INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_DATA: 3\n", "Label NUM_CHANNELS: not found."},
        {"INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_CHANNELS: 3\nFRAMES: 3\n", "Label NUM_DATA: not found."},
        {"INFORMATION_SECTION\nCAPTURE_RATE: 59.94\n", "Line 2: CAPTURE_RATE: 59.94 is not a whole number."},
        {"INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_CHANNELS: 3\nNUM_DATA:\n99999999999\n",
         "Line 5: NUM_DATA: 99999999999 is too large: the largest number allowed is 2147483647."},
        {"INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_CHANNELS: 3e12\n",
         "Line 3: NUM_CHANNELS: 3e12 is too large: the largest number allowed is 2147483647."},
    };
    for (const auto& c : cases) {
        recorder.messages.clear();
        const std::string path = write_capture("100% bad.idf", c.text);
        EXPECT_EQ(idf_read(path), 1);
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "Error opening file:\n " + path + "\n " + c.message);
        EXPECT_EQ(recorder.messages[0].type, MESSAGE_ERROR);
        EXPECT_EQ(app.open_count, 0);
    }
}

TEST_F(IdfReadTest, CutShortHeadersAndMissingFilesFailWithoutAMessage) {
    const std::string cut_short[] = {
        "INFORMATION_SECTION\nCAPTURE_RATE:\n",
        "INFORMATION_SECTION\nCAPTURE_RATE: 50\nNUM_CHANNELS: 6\n",
        header(50, 6, 2) + "Ax 0\nAy 1\nAz 2\nBx 3\nBy\n",
        header(50, 3, 2) + "Ax 0\nAy 1\nAz 2\nno data here\n",
    };
    for (const std::string& text : cut_short) EXPECT_EQ(idf_read(write_capture("cut.idf", text)), 1) << text;
    EXPECT_EQ(idf_read(dir.path("missing.idf")), 1);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(app.open_count, 0);
    EXPECT_EQ(app.current_layer, 0);
}

TEST_F(IdfReadTest, RefusesADataSectionShorterThanAnnounced) {
    std::string text = make_idf_text(60, 2, 3, coordinate);
    text.resize(text.rfind("5 \t2"));
    expect_refused(text, {"Line 30:", "ends after 17 of 18 data lines"});
}

TEST_F(IdfReadTest, RefusesDataLinesOutOfOrder) {
    std::string text = make_idf_text(60, 2, 3, coordinate);
    std::string swapped = text;
    swapped.replace(swapped.find("4 \t1 \t"), 6, "5 \t1 \t");
    expect_refused(swapped, {"Line 23:", "expected column 4 of frame 1, found column 5 of frame 1."});
    std::string wrong_frame = text;
    wrong_frame.replace(wrong_frame.find("0 \t2 \t"), 6, "0 \t7 \t");
    expect_refused(wrong_frame, {"Line 25:", "expected column 0 of frame 2, found column 0 of frame 7."});
}

TEST_F(IdfReadTest, RefusesValuesThatAreNotNumbers) {
    std::string text = make_idf_text(60, 2, 3, coordinate);
    const size_t at = text.find("3 \t1 \t") + 6;
    text.replace(at, text.find('\n', at) - at, "12,5");
    expect_refused(text, {"Line 22:", "the value \"12,5\" is not a number."});
    std::string garbage = make_idf_text(60, 2, 3, coordinate);
    garbage.replace(garbage.find("2 \t0 \t"), 6, "two zero ");
    expect_refused(garbage, {"Line 15:", "is not a data line"});
}

TEST_F(IdfReadTest, RefusesImpossibleCountsBeforeAllocating) {
    const std::string columns = "A_x_ 0\nA_y_ 1\nA_z_ 2\n0 \t0 \t1\n1 \t0 \t1\n2 \t0 \t1\n";
    expect_refused(header(50, 0, 1) + columns, {"Line 3:", "NUM_CHANNELS: 0"});
    expect_refused(header(50, -3, 1) + columns, {"Line 3:", "NUM_CHANNELS: -3"});
    expect_refused(header(50, 3003, 1) + columns,
                   {"Line 3:", "NUM_CHANNELS: 3003 is more than 3000 columns (1000 marks), the most a layer can hold."});
    expect_refused(header(50, 3, 0) + columns, {"Line 4:", "NUM_DATA: 0 must be at least 1."});
    expect_refused(header(50, 3, -5) + columns, {"Line 4:", "NUM_DATA: -5"});
    expect_refused(header(50, 3, 2000000000) + columns, {"Line 4:", "more than the file holds"});
}

TEST_F(IdfReadTest, AcceptsWholeNumbersWithAPointAndHugeUnusedColumnNumbers) {
    std::string text = make_idf_text(60, 1, 2, coordinate);
    text.replace(text.find("CAPTURE_RATE: 60"), 16, "CAPTURE_RATE: 60.0");
    text.replace(text.find("_y_ 1"), 5, "_y_ 99999999999");
    ASSERT_EQ(idf_read(write_capture("point.idf", text)), 0);
    EXPECT_EQ(app.capture_rate, 60);
}

TEST_F(IdfReadTest, AFifoOrADeviceIsRefusedWithoutReadingAndTheLayersStay) {
    const std::string fifo = dir.path("capture.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    open_existing_layer();
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        recorder.messages.clear();
        EXPECT_EQ(idf_read(path), 1);
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "Error opening file:\n " + path + "\n not a regular file");
        EXPECT_EQ(app.open_count, 1);
        EXPECT_EQ(app.num_frames, 3);
    }
}

TEST_F(IdfReadTest, HoldsAThousandMarks) {
    ASSERT_EQ(idf_read(write_capture("big.idf", make_idf_text(60, 1000, 2, coordinate))), 0);
    EXPECT_EQ(app.num_columns, 3000);
    EXPECT_EQ(app.channels[999].samples[1].z, coordinate(999, 1, 2));
    EXPECT_EQ(app.layers[1].channels.size(), 1000u);
}

TEST_F(IdfReadTest, EleventhFileIsRefusedAndTheTenAreKept) {
    const std::string path = write_capture("a.idf", make_idf_text(60, 1, 2, coordinate));
    for (int n = 1; n <= 10; ++n) ASSERT_EQ(idf_read(path), 0);
    EXPECT_EQ(app.open_count, 10);
    const auto tenth = app.channels[0].samples;
    EXPECT_EQ(idf_read(path), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "You can't open more than 10 files");
    EXPECT_EQ(app.open_count, 10);
    EXPECT_EQ(app.current_layer, 10);
    EXPECT_EQ(app.channels[0].samples, tenth);
}

TEST_F(IdfReadTest, TakesTheLowestFreeSlot) {
    const std::string path = write_capture("a.idf", make_idf_text(60, 1, 2, coordinate));
    for (int n = 1; n <= 3; ++n) ASSERT_EQ(idf_read(path), 0);
    app.layers[2].in_use = 0;  // layer 2 closed
    --app.open_count;
    ASSERT_EQ(idf_read(path), 0);
    EXPECT_EQ(app.current_layer, 2);
    EXPECT_EQ(recorder.rows_shown, (std::vector<int>{1, 2, 3, 2}));
}

TEST_F(IdfReadTest, OpeningAnotherFileKeepsWhatWasDoneToTheLayerLeft) {
    open_existing_layer();
    app.bone_count = 1;
    app.bones[0] = {6, 0, 1};
    app.error_count = 5;
    ASSERT_EQ(idf_read(write_capture("b.idf", make_idf_text(60, 1, 2, coordinate))), 0);
    EXPECT_EQ(app.current_layer, 2);
    EXPECT_EQ(app.bone_count, 0);
    EXPECT_EQ(app.layers[1].bone_count, 1);
    EXPECT_EQ(app.layers[1].bones[0].colour, 6);
    EXPECT_EQ(app.layers[1].error_count, 5);
}
