#pragma once
// The system calls that saving a file makes, behind one seam: the program always goes through
// `SystemFileCalls()`, and tests hand the writers a subclass that makes any single step fail the
// way a full disk, a folder that cannot be written or a failing device does.

#include <cstddef>
#include <string>
#include <sys/types.h>

class TFileCalls {
public:
    virtual ~TFileCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode) const;
    virtual ssize_t Pwrite(int fd, const void* data, std::size_t size, off_t offset) const;
    /// For a FIFO or a device, which have no offsets.
    virtual ssize_t Write(int fd, const void* data, std::size_t size) const;
    virtual int Ftruncate(int fd, off_t length) const;
    virtual int Fchmod(int fd, mode_t mode) const;
    virtual int Fsync(int fd) const;
    virtual int Close(int fd) const;
    virtual int Rename(const char* from, const char* to) const;
    virtual int Unlink(const char* path) const;
};

/// The calls as the system makes them.
const TFileCalls& SystemFileCalls();

/// The reason of a failed call, in Russian, for the last line of a message: the program's own
/// words for the errors a save meets (the system has Russian texts only where a Russian locale is
/// installed), "Системная ошибка N" for any other error number.
std::string SystemErrorText(int error);

/// `message` with the reason of `error` as a further line ("\n\r" before it); `message` alone
/// when `error` is 0.
std::string WithSystemReason(std::string message, int error);
