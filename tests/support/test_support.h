// Helpers shared by the tests: recorded seams, per-test temporary folders, capture builders.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"

struct RecordedMessage {
    std::string text;
    int type;
    int buttons;
};

// Installs recording seams and a fresh application state; restores nothing on destruction
// but leaves the seams empty.
struct Recorder {
    Recorder();
    ~Recorder();

    std::vector<RecordedMessage> messages;
    std::vector<std::string> statuses;
    std::vector<std::string> history;
    std::vector<int> rows_shown;
    LayerPlacement placement;  // what the widgets would hold
    bool has_widgets = false;
};

// A temporary folder removed with its content at the end of the test.
struct TempDir {
    TempDir();
    ~TempDir();
    std::string path(const std::string& name) const;
    std::string dir;
};

// The working directory of the test for the life of the guard: entered (when a folder is given)
// when made, and the one it replaced entered again when destroyed, however the test ends. A folder
// that cannot be entered fails the test.
class WorkingDirectory {
public:
    WorkingDirectory();
    explicit WorkingDirectory(const std::string& folder);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous_;
};

// Checks `condition` every `period` until it holds or `timeout` has passed; whether it held.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds period = std::chrono::milliseconds(10));

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);

// The text of an IDF capture with the usual header; value(mark, frame, axis) gives each coordinate.
std::string make_idf_text(int rate, int marks, int frames,
                          const std::function<double(int mark, int frame, int axis)>& value,
                          const std::vector<std::string>& names = {});

// A path inside the shared folder of real captures.
std::string shared_data(const std::string& name);
// A path inside the build folder (the run-time folder).
std::string build_path(const std::string& name);

// What `write` writes into a stream, read back; the test fails when the write fails.
std::string written_bytes(const std::function<bool(FILE* out)>& write);

// Runs a command through the shell; returns its exit code and fills the outputs when given.
int run_command(const std::string& command, std::string* out = nullptr, std::string* err = nullptr);

// An X server of the test's own (Xvfb, 1024 x 768 in 24 bits, with the given extra options),
// stopped when destroyed or when the test process dies. `display` is ":N", or empty when the
// server could not start.
struct PrivateXServer {
    explicit PrivateXServer(const std::vector<std::string>& options = {});
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    pid_t pid = 0;
    std::string display;
};
