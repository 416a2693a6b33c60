// The mapping is private and read-only: another program writing the file cannot change what a
// reader already checked, short of shortening the file under it.
#include "platform/mapped_file.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::~MappedFile() {
    if (data_) munmap(data_, size_);
}

bool MappedFile::map(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return false;
    void* data = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) return false;
    if (data_) munmap(data_, size_);
    data_ = data;
    size_ = static_cast<size_t>(info.st_size);
    madvise(data_, size_, MADV_SEQUENTIAL);
    return true;
}

void MappedFile::release(size_t begin, size_t end) const {
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    begin = (begin + page - 1) / page * page;
    end = end / page * page;
    if (!data_ || end > size_ || begin >= end) return;
    madvise(static_cast<char*>(data_) + begin, end - begin, MADV_DONTNEED);
}
