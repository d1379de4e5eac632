#include "documents/file_calls.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int TFileCalls::Open(const char* path, int flags, mode_t mode) const {
    return ::open(path, flags, mode);
}

ssize_t TFileCalls::Pwrite(int fd, const void* data, std::size_t size, off_t offset) const {
    return ::pwrite(fd, data, size, offset);
}

ssize_t TFileCalls::Write(int fd, const void* data, std::size_t size) const {
    return ::write(fd, data, size);
}

int TFileCalls::Ftruncate(int fd, off_t length) const {
    return ::ftruncate(fd, length);
}

int TFileCalls::Fchmod(int fd, mode_t mode) const {
    return ::fchmod(fd, mode);
}

int TFileCalls::Fsync(int fd) const {
    return ::fsync(fd);
}

int TFileCalls::Close(int fd) const {
    return ::close(fd);
}

int TFileCalls::Rename(const char* from, const char* to) const {
    return ::rename(from, to);
}

int TFileCalls::Unlink(const char* path) const {
    return ::unlink(path);
}

const TFileCalls& SystemFileCalls() {
    static const TFileCalls calls;
    return calls;
}
