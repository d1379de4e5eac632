#pragma once
// A disk that fails on cue, for the writers' `TFileCalls` seam: every call is recorded by its
// step, and one chosen call fails with a chosen errno; a disk may also be full after a number
// of bytes, and a folder may refuse new files. Any writer of any file type takes it.

#include "documents/file_calls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

enum class TFileStep { Open, Pwrite, Ftruncate, Fchmod, Fsync, Close, Rename, Unlink };

inline const char* StepName(TFileStep step) {
    switch (step) {
    case TFileStep::Open:
        return "open";
    case TFileStep::Pwrite:
        return "pwrite";
    case TFileStep::Ftruncate:
        return "ftruncate";
    case TFileStep::Fchmod:
        return "fchmod";
    case TFileStep::Fsync:
        return "fsync";
    case TFileStep::Close:
        return "close";
    case TFileStep::Rename:
        return "rename";
    case TFileStep::Unlink:
        return "unlink";
    }
    return "?";
}

/// The errors each step meets on a real system when the disk, the folder or the device fails.
inline std::vector<int> ErrorsOf(TFileStep step) {
    switch (step) {
    case TFileStep::Open:
        return {ENOSPC, EDQUOT, EROFS, EIO, EMFILE};
    case TFileStep::Pwrite:
        return {ENOSPC, EDQUOT, EIO, EFBIG};
    case TFileStep::Ftruncate:
    case TFileStep::Fsync:
    case TFileStep::Close:
        return {EIO, ENOSPC};
    case TFileStep::Fchmod:
        return {EPERM, EIO};
    case TFileStep::Rename:
        return {EIO, ENOSPC, EXDEV, EBUSY};
    case TFileStep::Unlink:
        return {EIO};
    }
    return {EIO};
}

class TFaultyFileCalls final : public TFileCalls {
public:
    /// The call (counted from 0 over every step) that fails, and with what; -1: none.
    int FailAt = -1;
    int Error = EIO;
    /// Bytes the disk still takes (-1: no limit). Only bytes past a file's end need room, as
    /// on a real disk; a write that needs more is cut short, the next fails with ENOSPC.
    mutable long long DiskRoom = -1;
    /// A folder that takes no new file: creating one fails with EACCES.
    bool FolderLocked = false;
    /// Every call made, in order.
    mutable std::vector<TFileStep> Steps;

    int Open(const char* path, int flags, mode_t mode) const override {
        if (Fails(TFileStep::Open)) {
            return -1;
        }
        if (FolderLocked && (flags & O_CREAT) != 0) {
            errno = EACCES;
            return -1;
        }
        return TFileCalls::Open(path, flags, mode);
    }
    ssize_t Pwrite(int fd, const void* data, std::size_t size, off_t offset) const override {
        if (Fails(TFileStep::Pwrite)) {
            return -1;
        }
        long long extending = 0;
        if (DiskRoom >= 0) {
            struct stat info {};
            if (fstat(fd, &info) != 0) {
                return -1;
            }
            const long long end = static_cast<long long>(offset) + static_cast<long long>(size);
            extending = std::max(0LL, end - std::max<long long>(info.st_size, offset));
            if (extending > DiskRoom) {
                const long long fits = static_cast<long long>(size) - (extending - DiskRoom);
                if (fits <= 0) {
                    errno = ENOSPC;
                    return -1;
                }
                size = static_cast<std::size_t>(fits);
                extending = DiskRoom;
            }
        }
        const ssize_t written = TFileCalls::Pwrite(fd, data, size, offset);
        if (written > 0) {
            DiskRoom -= std::min<long long>(extending, written);
        }
        return written;
    }
    int Ftruncate(int fd, off_t length) const override {
        return Fails(TFileStep::Ftruncate) ? -1 : TFileCalls::Ftruncate(fd, length);
    }
    int Fchmod(int fd, mode_t mode) const override {
        return Fails(TFileStep::Fchmod) ? -1 : TFileCalls::Fchmod(fd, mode);
    }
    int Fsync(int fd) const override {
        return Fails(TFileStep::Fsync) ? -1 : TFileCalls::Fsync(fd);
    }
    int Close(int fd) const override {
        if (Fails(TFileStep::Close)) {
            // As on Linux, the descriptor is gone even when close reports an error.
            TFileCalls::Close(fd);
            return -1;
        }
        return TFileCalls::Close(fd);
    }
    int Rename(const char* from, const char* to) const override {
        return Fails(TFileStep::Rename) ? -1 : TFileCalls::Rename(from, to);
    }
    int Unlink(const char* path) const override {
        return Fails(TFileStep::Unlink) ? -1 : TFileCalls::Unlink(path);
    }

private:
    bool Fails(TFileStep step) const {
        Steps.push_back(step);
        if (static_cast<int>(Steps.size()) - 1 != FailAt) {
            return false;
        }
        errno = Error;
        return true;
    }
};
