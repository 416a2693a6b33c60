// A regular file seen as read-only memory, for readers that want a large file's bytes without
// copying them; pages the reader is done with can be handed back so they stop counting as used.
#pragma once

#include <cstddef>
#include <string_view>

class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // Maps the whole file open as `fd` (which may be closed afterwards); false when the file is
    // empty or cannot be mapped, the caller then reads it another way.
    bool map(int fd);
    std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }
    // The whole pages inside [begin, end) of bytes() leave memory; reading them again brings
    // them back from the file.
    void release(size_t begin, size_t end) const;

private:
    void* data_ = nullptr;
    size_t size_ = 0;
};
