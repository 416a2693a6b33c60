// The text printer's layout and codes, the font image reader and the information block.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/formats/capture_io.h"
#include "engine/scene/text_block.h"
#include "engine/scene/text_layout.h"
#include "engine/scene/tga_image.h"
#include "support/test_support.h"

namespace {

TextLayout lay_out(const char* text, int size = 9, int x = 10, int y = 100, int viewport_width = 800) {
    TextState state;
    state.char_size = size;
    TextLayout layout;
    layout_text(text, x, y, state, 0, viewport_width, layout);
    return layout;
}

std::vector<unsigned char> tga(int type, int width, int height, int bits, int id_length = 0) {
    std::vector<unsigned char> file(18 + id_length, 0);
    file[0] = static_cast<unsigned char>(id_length);
    file[2] = static_cast<unsigned char>(type);
    file[12] = width & 0xff;
    file[13] = width >> 8;
    file[14] = height & 0xff;
    file[15] = height >> 8;
    file[16] = static_cast<unsigned char>(bits);
    for (int i = 0; i < id_length; ++i) file[18 + i] = 0xEE;
    for (int i = 0; i < width * height * (bits / 8); ++i) file.push_back(static_cast<unsigned char>(i));
    return file;
}

}  // namespace

TEST(TextLayout, GlyphsAdvanceBySizeInsideTheirScissorBox) {
    const TextLayout layout = lay_out("AB");
    ASSERT_EQ(layout.quads.size(), 2u);
    EXPECT_EQ(layout.quads[0].x, 10);
    EXPECT_EQ(layout.quads[1].x, 19);
    EXPECT_EQ(layout.quads[0].size, 9);
    EXPECT_EQ(layout.scissor_x, 10);
    EXPECT_EQ(layout.scissor_y, 100);
    EXPECT_EQ(layout.scissor_width, 18);
    EXPECT_EQ(layout.scissor_height, 9);
    EXPECT_FLOAT_EQ(layout.quads[0].cell.u, 1 / 16.0f);  // 'A' = 65: column 1
    EXPECT_FLOAT_EQ(layout.quads[0].cell.v, 1 - 5 / 16.0f);  // row 4 from the top
}

TEST(TextLayout, CodesChangeColourBoldAndItalicWithoutTakingRoom) {
    const TextLayout layout = lay_out("A\\c(255 0 0)B\\b+C\\i+D\\b-\\i-E");
    ASSERT_EQ(layout.quads.size(), 7u);  // C and D are drawn twice
    EXPECT_FLOAT_EQ(layout.quads[0].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(layout.quads[0].colour[1], 1.0f);
    EXPECT_EQ(layout.quads[1].x, 19);
    EXPECT_FLOAT_EQ(layout.quads[1].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(layout.quads[1].colour[1], 0.0f);
    EXPECT_EQ(layout.quads[2].x, 28);
    EXPECT_EQ(layout.quads[3].x, 29);  // bold: once more a pixel to the right
    EXPECT_EQ(layout.quads[4].slant, ITALIC_SLANT);
    EXPECT_EQ(layout.quads[5].slant, ITALIC_SLANT);
    EXPECT_EQ(layout.quads[6].slant, 0);
    EXPECT_EQ(layout.quads[6].x, 46);
    const TextLayout last = lay_out("\\a(0 0 255 128)X");
    EXPECT_FLOAT_EQ(last.quads[0].colour[3], 128 / 255.0f);
}

TEST(TextLayout, NewlinesTabsAndTheRightEdge) {
    const TextLayout lines = lay_out("A\nB");
    ASSERT_EQ(lines.quads.size(), 2u);
    EXPECT_EQ(lines.quads[1].x, 10);
    EXPECT_EQ(lines.quads[1].y, 91);
    EXPECT_EQ(lines.scissor_y, 91);
    EXPECT_EQ(lines.scissor_height, 18);
    const TextLayout tabbed = lay_out("A\tB");
    EXPECT_EQ(tabbed.quads[1].x, 10 + 9 + 5 * 9);
    EXPECT_EQ(tabbed.scissor_width, 9 * 3 * 4);
    const TextLayout cut = lay_out("ABCDEFGHIJ", 10, 0, 0, 35);
    EXPECT_EQ(cut.quads.size(), 4u);  // pens at 0, 10, 20, 30; 40 is past the edge
}

TEST(TextLayout, MalformedCodesArePlainTextAndTheEndIsNeverPassed) {
    for (const char* text : {"\\c(1 2", "\\c(1 2 x)", "\\bx", "\\i", "\\q", "\\a(1 2 3)", "\\c", "\\"}) {
        const TextLayout layout = lay_out(text);
        EXPECT_LE(layout.quads.size(), std::strlen(text)) << text;
    }
    const TextLayout shown = lay_out("\\qZ");  // the backslash is drawn, then q and Z
    ASSERT_EQ(shown.quads.size(), 3u);
    EXPECT_FLOAT_EQ(shown.quads[0].cell.u, ('\\' % 16) / 16.0f);
    EXPECT_EQ(shown.quads[2].x, 28);
    EXPECT_TRUE(lay_out("\\").quads.empty());
}

TEST(TgaImage, AcceptsPowersOfTwoAndRefusesEverythingElseInOrder) {
    TgaImage image;
    auto file = tga(2, 256, 256, 32);
    ASSERT_EQ(tga_decode(file.data(), file.size(), image), TGA_OK);
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.pixels[0], 2);  // blue, green, red became red, green, blue
    EXPECT_EQ(image.pixels[2], 0);
    file = tga(2, 300, 256, 32);
    EXPECT_EQ(tga_decode(file.data(), file.size(), image), TGA_BAD_SIZE);
    file = tga(2, 16, 16, 16);
    EXPECT_EQ(tga_decode(file.data(), file.size(), image), TGA_BAD_DEPTH);
    file = tga(10, 16, 16, 32);
    EXPECT_EQ(tga_decode(file.data(), file.size(), image), TGA_BAD_TYPE);
    file = tga(3, 8, 8, 24);  // a grey type with 24 bits is taken like true colour
    EXPECT_EQ(tga_decode(file.data(), file.size(), image), TGA_OK);
    file = tga(3, 8, 8, 8);
    file.resize(file.size() - 1);
    EXPECT_EQ(tga_decode(file.data(), file.size(), image), TGA_SHORT_PIXELS);
    EXPECT_EQ(tga_decode(file.data(), 10, image), TGA_SHORT_PIXELS);
    EXPECT_EQ(tga_read_file("/no/such/font.tga", image), TGA_CANNOT_OPEN);
}

TEST(TgaImage, PixelsStartAfterTheImageIdField) {
    TgaImage image;
    const auto file = tga(3, 2, 2, 8, 5);
    ASSERT_EQ(tga_decode(file.data(), file.size(), image), TGA_OK);
    EXPECT_EQ(image.pixels, (std::vector<unsigned char>{0, 1, 2, 3}));
}

TEST(TgaImage, TheShippedFontIsASixteenBySixteenGridWithGlyphsInAlpha) {
    TgaImage font;
    ASSERT_EQ(tga_read_file(build_path("images/font.tga"), font), TGA_OK);
    ASSERT_EQ(font.channels, 4);
    ASSERT_EQ(font.width % 16, 0);
    const int cell = font.width / 16;
    const auto ink = [&](unsigned char code) {
        // Rows are stored bottom up; the cell of code n is at row n / 16 from the top.
        const int top_row = font.height - 1 - (code / 16) * cell;
        int sum = 0;
        for (int r = 0; r < cell; ++r) {
            for (int c = 0; c < cell; ++c) {
                sum += font.pixels[(static_cast<size_t>(top_row - r) * font.width + (code % 16) * cell + c) * 4 + 3];
            }
        }
        return sum;
    };
    EXPECT_GT(ink('A'), 0);
    EXPECT_GT(ink('['), 0);
    EXPECT_EQ(ink(' '), 0);
    EXPECT_EQ(ink(0), 0);
}

TEST(TextBlock, ShowsCoordinatesOrErrorsForEachChosenMark) {
    Recorder recorder;
    TempDir dir;
    const std::string path = dir.path("a.idf");
    write_file(path, make_idf_text(50, 2, 3, [](int m, int f, int a) {
                   return m == 1 && f == 1 && a == 0 ? LOST_VALUE : 12.345 + a;
               }, {"LASI", "RASI"}));
    ASSERT_EQ(idf_read(path), 0);
    app.mark_styles[1].colour = 6;
    TextBlockPiece pieces[TEXT_BLOCK_PIECES];
    text_block_line(app, 0, 0, 1, 400, pieces);
    EXPECT_STREQ(pieces[0].text, "[OK]");
    EXPECT_STREQ(pieces[1].text, "LASI");
    EXPECT_STREQ(pieces[2].text, "[12.35,");
    EXPECT_STREQ(pieces[3].text, "13.35,");
    EXPECT_STREQ(pieces[4].text, "14.35]");
    EXPECT_EQ(pieces[0].y, 385);
    text_block_line(app, 1, 1, 1, 400, pieces);
    EXPECT_STREQ(pieces[0].text, "[NO]");
    for (const TextBlockPiece& piece : pieces) {  // the lost mark's line is red
        EXPECT_FLOAT_EQ(piece.colour[0], 1.0f);
        EXPECT_FLOAT_EQ(piece.colour[1], 0.0f);
    }
    EXPECT_STREQ(pieces[2].text, "[ERROR,");
    EXPECT_STREQ(pieces[3].text, "ERROR,");
    EXPECT_STREQ(pieces[4].text, "ERROR]");
    EXPECT_EQ(pieces[4].x, 360);
    EXPECT_EQ(pieces[4].y, 375);

    // A long name and wide numbers push the columns right; short ones keep their places.
    std::vector<TextBlockLine> lines(2);
    text_block_line(app, 0, 0, 1, 400, lines[0].data());
    text_block_line(app, 1, 1, 1, 400, lines[1].data());
    text_block_align(lines);
    EXPECT_EQ(lines[1][2].x, 180);
    std::snprintf(lines[0][1].text, sizeof lines[0][1].text, "RFJC_CGM_2.4_long_name");
    std::snprintf(lines[1][2].text, sizeof lines[1][2].text, "[-3738.68,");
    text_block_align(lines);
    EXPECT_EQ(lines[0][2].x, 50 + 22 * TEXT_BLOCK_CHAR_SIZE + TEXT_BLOCK_GAP);
    EXPECT_EQ(lines[1][2].x, lines[0][2].x);
    EXPECT_EQ(lines[1][3].x, lines[1][2].x + 10 * TEXT_BLOCK_CHAR_SIZE + TEXT_BLOCK_GAP);
    EXPECT_EQ(lines[0][1].x, 50);
}
