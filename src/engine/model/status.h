// The outcome of an engine routine that can fail for a reason the user must read: success, or a
// failure with the message that says why. The interface decides how a failure is shown.
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] Status {
public:
    // Success.
    Status() = default;

    // A failure whose message the interface shows (in the desktop program, an error box).
    static Status failure(std::string message) { return Status(std::move(message), false); }
    // A failure the desktop program passes over without a box, as it always has for a file it
    // cannot open; its message is still there for a console to print.
    static Status quiet_failure(std::string message) { return Status(std::move(message), true); }

    bool ok() const { return !failed_; }
    bool quiet() const { return quiet_; }
    // The whole text for the user; empty on success.
    const std::string& message() const { return message_; }

private:
    Status(std::string message, bool quiet) : failed_(true), quiet_(quiet), message_(std::move(message)) {}

    bool failed_ = false;
    bool quiet_ = false;
    std::string message_;
};
