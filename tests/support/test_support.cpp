// Test helpers.
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine/formats/idf/idf_format.h"
#include "engine/model/seams.h"

Recorder::Recorder() {
    app_reset();
    Seams seams;
    seams.show_message = [this](const std::string& text, int type, int buttons) {
        messages.push_back({text, type, buttons});
        return 0;
    };
    seams.status_set = [this](const std::string& text) { statuses.push_back(text); };
    seams.history_append = [this](const std::string& text) { history.push_back(text); };
    seams.read_placement = [this] { return placement; };
    seams.layer_row_shown = [this](int n) { rows_shown.push_back(n); };
    install_seams(seams);
}

Recorder::~Recorder() {
    install_seams({});
    app_reset();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zemo-test-XXXXXX").string();
    dir = mkdtemp(pattern.data());
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(dir, ignored);
}

std::string TempDir::path(const std::string& name) const { return dir + "/" + name; }

WorkingDirectory::WorkingDirectory() : previous_(std::filesystem::current_path().string()) {}

WorkingDirectory::WorkingDirectory(const std::string& folder) : WorkingDirectory() {
    if (chdir(folder.c_str()) != 0) ADD_FAILURE() << "cannot enter " << folder;
}

WorkingDirectory::~WorkingDirectory() {
    if (chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << previous_;
}

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds period) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(period);
    }
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string make_idf_text(int rate, int marks, int frames, const std::function<double(int, int, int)>& value,
                          const std::vector<std::string>& names) {
    std::string text = "INFORMATION_SECTION\nCAPTURE_RATE: " + std::to_string(rate) +
                       "\nNUM_CHANNELS: " + std::to_string(3 * marks) + "\nNUM_DATA: " + std::to_string(frames) +
                       "\nCHANNEL_NAMES\n";
    static const char* axes[] = {"_x_", "_y_", "_z_"};
    for (int m = 0; m < marks; ++m) {
        const std::string name = m < static_cast<int>(names.size()) ? names[m] : "M" + std::to_string(m);
        for (int a = 0; a < 3; ++a) text += name + axes[a] + " " + std::to_string(3 * m + a) + "\n";
    }
    text += "DATA_SECTION\n";
    for (int f = 0; f < frames; ++f) {
        for (int m = 0; m < marks; ++m) {
            for (int a = 0; a < 3; ++a) {
                text += std::to_string(3 * m + a) + " \t" + std::to_string(f) + " \t" +
                        idf_format_value(value(m, f, a)) + "\n";
            }
        }
    }
    return text;
}

std::string shared_data(const std::string& name) { return std::string(ZEMO_SHARED_DATA) + "/" + name; }

std::string build_path(const std::string& name) { return std::string(ZEMO_BUILD_DIR) + "/" + name; }

int run_command(const std::string& command, std::string* out, std::string* err) {
    TempDir capture;
    const std::string out_path = capture.path("out");
    const std::string err_path = capture.path("err");
    const int status = std::system((command + " >'" + out_path + "' 2>'" + err_path + "'").c_str());
    if (out) *out = read_file(out_path);
    if (err) *err = read_file(err_path);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string written_bytes(const std::function<bool(FILE* out)>& write) {
    FILE* out = std::tmpfile();
    EXPECT_TRUE(write(out));
    std::string bytes(static_cast<size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), out), bytes.size());
    std::fclose(out);
    return bytes;
}

PrivateXServer::PrivateXServer(const std::vector<std::string>& options) {
    int ready[2];
    if (pipe(ready) != 0) return;
    std::vector<std::string> words = {"Xvfb", "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp",
                                      "-screen", "0", "1024x768x24"};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(ready[0]);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(ready[1]);
    // The server writes its display number and then a line end once it takes connections (nothing
    // when it fails); it dies if the pipe is closed before the line end is written.
    std::string number;
    char c = 0;
    while (pid > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (c == '\n' && !number.empty()) display = ":" + number;
}

PrivateXServer::~PrivateXServer() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}
