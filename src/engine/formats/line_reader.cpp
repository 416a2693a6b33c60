// Chunked line splitting: a fixed buffer is refilled from the stream, and a line cut by the end
// of the buffer is moved to its front before the next read.
#include "engine/formats/line_reader.h"

#include <sys/stat.h>

#include <cstring>

static constexpr size_t CHUNK_BYTES = 1 << 20;

LineReader::LineReader(std::string_view text)
    : data_(text.data()), end_(text.size()), at_eof_(true), total_bytes_(static_cast<long long>(text.size())) {}

LineReader::LineReader(FILE* stream) : stream_(stream) {
    struct stat info {};
    if (fstat(fileno(stream), &info) == 0 && S_ISREG(info.st_mode)) {
        const long long offset = ftell(stream);
        total_bytes_ = info.st_size - (offset > 0 ? offset : 0);
        buffer_.resize(CHUNK_BYTES);
    } else {
        // Pipes and special files tell no size: take them whole.
        char chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, stream)) > 0) buffer_.insert(buffer_.end(), chunk, chunk + got);
        failed_ = ferror(stream) != 0;
        end_ = buffer_.size();
        total_bytes_ = static_cast<long long>(end_);
        at_eof_ = true;
    }
    data_ = buffer_.data();
}

bool LineReader::refill() {
    if (at_eof_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
    data_ = buffer_.data();
    const size_t got = fread(buffer_.data() + end_, 1, buffer_.size() - end_, stream_);
    end_ += got;
    if (got == 0) {
        at_eof_ = true;
        failed_ = ferror(stream_) != 0;
        return false;
    }
    return true;
}

bool LineReader::next(std::string_view& line) {
    for (;;) {
        const char* start = data_ + begin_;
        const size_t available = end_ - begin_;
        const void* newline = available ? std::memchr(start, '\n', available) : nullptr;
        size_t length;
        size_t taken;
        if (newline) {
            length = static_cast<const char*>(newline) - start;
            taken = length + 1;
        } else if (refill()) {
            continue;
        } else if (end_ > begin_) {
            start = data_ + begin_;  // the last line has no line end
            length = taken = end_ - begin_;
        } else {
            return false;
        }
        if (length > 0 && start[length - 1] == '\r') --length;
        line_end_ = std::string_view(start + length, taken - length);
        line = std::string_view(start, length);
        begin_ += taken;
        consumed_bytes_ += static_cast<long long>(taken);
        ++line_number_;
        return true;
    }
}

bool LineReader::rest(std::string_view& text) {
    const size_t buffered = end_ - begin_;
    if (stream_ && !at_eof_) {
        const long long read_to = ftell(stream_);
        if (read_to < 0 || !mapped_.map(fileno(stream_))) return false;
        const std::string_view file = mapped_.bytes();
        const auto start = static_cast<size_t>(read_to) - buffered;
        if (static_cast<size_t>(read_to) < buffered || start > file.size()) return false;
        text = file.substr(start);
        at_eof_ = true;
    } else {
        text = std::string_view(data_ + begin_, buffered);
    }
    consumed_bytes_ += static_cast<long long>(text.size());
    begin_ = end_;
    return true;
}
