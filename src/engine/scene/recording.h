// Recording the view: the numbered 24-bit BMP images, the codec list of the video panel and the
// command lines of the two video scripts. No widget and no GL here: the pixels come in as RGB rows.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "engine/model/status.h"

constexpr unsigned RECORD_TICK_MS = 66;
constexpr int BMP_HEADER_SIZE = 54;
constexpr int BMP_PIXELS_PER_METRE = 2952;

// `recording` is 1 while a recording is under way; `frame_counter` numbers the next image;
// `frames_folder` holds this recording's images (the working directory while it is empty).
struct RecordingState {
    int recording = 0;
    int frame_counter = 0;
    std::string frames_folder;
};
extern RecordingState recording_state;

// Zero bytes after each row so that rows take a multiple of four bytes.
int bmp_row_pad(int width);
// (3 * width + pad) * height.
std::uint32_t bmp_image_size(int width, int height);
// The 14-byte file header and the 40-byte info header; the file-size field holds 54 + image size.
std::array<unsigned char, 14> bmp_file_header(int width, int height);
std::array<unsigned char, 40> bmp_info_header(int width, int height);

// Writes the whole file: headers, then the rows bottom row first as blue, green, red plus pad.
// rgb holds width * height pixels, red, green, blue, bottom row first (as GL reads them).
// Each part is flushed before the next, so a failure names the part that could not be written.
// A failure gives the message for the user.
Status write_bmp(std::ostream& out, const unsigned char* rgb, int width, int height);

// "img%.6d.bmp" of n.
std::string image_file_name(int n);


// Starts a recording: a new folder of its own under the temporary folder ("zemo-frames-XXXXXX")
// for the images, the counter at 0, `recording` 1. When the folder cannot be made, records
// nothing and says why.
Status recording_begin();
// The same, showing a failure in an error box: 0 on success, 1 on failure.
int recording_start();

// Writes the next numbered image into the frames folder. The counter advances only when the
// image was written whole, so a failed frame leaves no hole in the numbering (the video script
// stops at the first missing number). On failure removes what was written of that image and
// says why.
Status record_frame(const std::vector<unsigned char>& rgb, int width, int height);
// The same, showing a failure in an information box: 0 on success, 1 on failure.
int save_frame_bmp(const std::vector<unsigned char>& rgb, int width, int height);

// One row of "codecs.dat": the code passed to iv.bat and the text shown in the list.
struct CodecEntry {
    std::string code;
    std::string description;
};
// Skips four header lines, then one codec a line up to an empty line or the end. In a codec
// line character 0 is ignored, the code runs from character 1 to the first space after it, one
// space and one more character follow, and the rest is the description. Accepts "\r\n".
std::vector<CodecEntry> parse_codec_list(std::istream& in);
// The list in the file; empty when the file cannot be opened.
std::vector<CodecEntry> read_codec_list(const std::string& path);

// The codec of list row `row` (0-based); "DIB " when no row is selected (row < 0) or the row
// has no codec line.
std::string codec_at_row(const std::vector<CodecEntry>& codecs, int row);

// The video file name: the entry's text, or "TempVideoZemo.avi" when it has 3 characters or fewer.
std::string video_file_name(const std::string& entry_text);

// What the video panel holds when the record button goes off.
struct VideoRequest {
    std::string entry_text;
    int fps = 20;
    int kfps = 1;
    int quality = 7500;
    bool select_codec = false;
    std::string codec;  // used only with select_codec
};
// The argument vector of the video script: iv.bat FPS FILE KFPS CODEC QUALITY with a codec,
// otherwise ivc.bat FPS FILE KFPS (a raw AVI). FILE is made absolute against the working
// directory, since the script runs in the frames folder; the codec goes without the trailing
// space that codes such as "DIB " carry.
std::vector<std::string> video_command(const VideoRequest& request);
