#include "documents/text_file.h"

#include "documents/code_page.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes every byte from the start of the file. A write that makes no progress (which the system
// never returns for a non-empty request) counts as a failure rather than a reason to loop.
bool WriteAll(const TFileCalls& calls, int fd, std::string_view bytes) {
    off_t offset = 0;
    while (!bytes.empty()) {
        const ssize_t written = calls.Pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

// Takes a file's bytes piece by piece, each where the last one ended: at an offset for a file,
// in order for a FIFO or a device. The first failure stays, with its error number.
class TPieces {
public:
    TPieces(const TFileCalls& calls, int fd, bool positioned)
        : Calls(calls), Fd(fd), Positioned(positioned) {}

    bool Put(std::string_view bytes) {
        while (Error == 0 && !bytes.empty()) {
            const ssize_t written = Positioned
                                        ? Calls.Pwrite(Fd, bytes.data(), bytes.size(), Offset)
                                        : Calls.Write(Fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                Error = written == 0 ? EIO : errno;
            } else {
                bytes.remove_prefix(static_cast<std::size_t>(written));
                Offset += written;
            }
        }
        return Error == 0;
    }

    /// Every piece of `write`; the error number of what failed, 0 when all were written. Bytes
    /// that could not be made at all are a want of memory.
    int PutAll(const TBytesWriter& write) {
        const bool made = write([this](std::string_view bytes) { return Put(bytes); });
        return Error != 0 ? Error : (made ? 0 : ENOMEM);
    }

    off_t Written() const { return Offset; }

private:
    const TFileCalls& Calls;
    int Fd;
    bool Positioned;
    off_t Offset = 0;
    int Error = 0;
};

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    const TReadFile file = OpenRegularFile(path);
    if (!file) {
        return false;
    }
    std::vector<char> chunk(64 * 1024);
    std::size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        bytes.append(chunk.data(), got);
    }
    return std::ferror(file.get()) == 0;
}

// The folder takes no new file, but the file itself may be written (a user's file in a folder
// that is not the user's): the file is overwritten where it stands, keeping its permissions. That
// is not atomic, so the old bytes are held in memory and written back when a step fails; only a
// crash in the middle of the write can cost the file.
// Returns the error number of the step that failed, 0 on success.
int WriteInPlace(const TFileCalls& calls, const std::string& target, const TBytesWriter& write) {
    std::string old;
    if (!ReadWholeFile(target, old)) {
        return errno != 0 ? errno : EIO;
    }
    const int fd = calls.Open(target.c_str(), O_WRONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        return errno;
    }
    TPieces pieces(calls, fd, true);
    int error = pieces.PutAll(write);
    if (error == 0 && (calls.Ftruncate(fd, pieces.Written()) != 0 || calls.Fsync(fd) != 0)) {
        error = errno != 0 ? errno : EIO;
    }
    const bool ok = error == 0;
    if (!ok) {
        // Best effort: the old bytes fit where they were.
        if (WriteAll(calls, fd, old)) {
            calls.Ftruncate(fd, static_cast<off_t>(old.size()));
            calls.Fsync(fd);
        }
    }
    // Once fsync has succeeded the bytes are on the disk, whatever close says.
    calls.Close(fd);
    return error;
}

// The name a save writes: a symbolic link is followed so that the link stays a link, and a link
// whose target does not exist yet leads to that target, which the save then creates. Relative
// targets are taken from the folder of the link that names them.
std::string ResolvedTarget(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
        return real ? std::string(real.get()) : path;
    }
    std::string current = path;
    // The system's own limit of links in one name; past it the name is left as it is and the
    // save fails on it.
    for (int hop = 0; hop < 40; ++hop) {
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            return current;
        }
        link.resize(static_cast<std::size_t>(length));
        if (!link.starts_with('/')) {
            const std::size_t slash = current.rfind('/');
            link =
                (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + link;
        }
        current = link;
    }
    return current;
}

// A FIFO, a terminal, /dev/null or a pipe handed over as /dev/stdout: the bytes are written into
// it as they are, since there is no file to replace and the name must stay what it is. Opening
// does not wait for a FIFO's reader (none there: the save fails), but the writing then waits
// for the reader to take every byte.
int WriteIntoSpecialFile(const TFileCalls& calls, const std::string& path,
                         const TBytesWriter& write) {
    const int fd = calls.Open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        return errno;
    }
    struct stat info {};
    const int flags = ::fcntl(fd, F_GETFL);
    int error = 0;
    if (::fstat(fd, &info) != 0 || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = errno;
    } else if (!S_ISFIFO(info.st_mode) && !S_ISCHR(info.st_mode)) {
        error = ENOTSUP; // swapped for something that takes no bytes after the check
    }
    if (error == 0) {
        TPieces pieces(calls, fd, false);
        error = pieces.PutAll(write);
    }
    if (calls.Close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

} // namespace

TReadFile OpenRegularFile(const std::string& Path) {
    // Opening a FIFO for reading waits for a writer, and reading a device may never end: the
    // name is checked first, and the opening itself cannot block, so that a FIFO put in the
    // file's place after the check is caught by fstat instead of hanging the program.
    struct stat info {};
    if (::stat(Path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    TReadFile file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
    }
    return file;
}

bool IsSpecialFile(const std::string& Path) {
    struct stat info {};
    return ::stat(Path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned char c = byte(i);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2, code = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, code = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, code = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (byte(i + k) & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

namespace {

enum class TEncoding {
    Undecided, // every byte so far is valid UTF-8
    Cp1251     // a byte was not: every line is decoded from Windows-1251
};

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The lines of an open file, read a chunk at a time and decoded one by one. While the encoding is
// undecided, a line of ASCII reads the same either way; a line with other bytes is handed out as
// UTF-8 on trust, and a later byte that is not UTF-8 then spoils what was handed out.
class TTextFileLines final : public TLineSource {
public:
    TTextFileLines(std::FILE* file, std::size_t maxLineLength, TEncoding encoding)
        : File(file), MaxLineLength(maxLineLength), Encoding(encoding), Chunk(64 * 1024) {}

    std::optional<std::string_view> Next() override {
        while (!Failed && !Spoiled) {
            if (Position == Filled && !Fill()) {
                if (Failed || !LineOpen) {
                    return std::nullopt;
                }
                LineOpen = false; // the last line, without a break after it
                return Decoded();
            }
            const char c = Chunk[Position++];
            if (c == '\n' && AfterCr) {
                AfterCr = false;
                continue;
            }
            AfterCr = c == '\r';
            if (c == '\r' || c == '\n') {
                LineOpen = false;
                return Decoded();
            }
            if (Line.size() >= MaxLineLength) {
                Fail(TTextFailure::LineTooLong);
                FailedLine = Number + 1;
                return std::nullopt;
            }
            Line.push_back(c);
            LineOpen = true;
        }
        return std::nullopt;
    }

    /// Reads the lines nobody took, to the end, for the limits and the encoding.
    void SkipRest() {
        while (Next()) {
        }
    }

    bool HasFailed() const { return Failed; }
    TTextFault Fault() const { return {Why, FailedLine}; }
    /// A line was handed out as UTF-8 and the file has proved to be Windows-1251.
    bool IsSpoiled() const { return Spoiled; }
    bool TookOnTrust() const { return Trusted; }
    std::size_t BytesRead() const { return Total; }

private:
    bool Fill() {
        Position = 0;
        Filled = std::fread(Chunk.data(), 1, Chunk.size(), File);
        Total += Filled;
        if (std::ferror(File)) {
            Fail(TTextFailure::ReadError);
        } else if (Total > MaxTextFileSize) {
            Fail(TTextFailure::TooLarge);
        }
        return Filled > 0 && !Failed;
    }

    void Fail(TTextFailure why) {
        Failed = true;
        Why = why;
    }

    // The line just ended, decoded; the first of them without an editor's UTF-8 byte-order mark.
    std::optional<std::string_view> Decoded() {
        const bool first = Number++ == 0;
        if (Encoding == TEncoding::Undecided && !IsValidUtf8(Line)) {
            Encoding = TEncoding::Cp1251;
            if (Trusted) {
                Spoiled = true;
                return std::nullopt;
            }
        }
        if (Encoding == TEncoding::Cp1251) {
            Text = Cp1251ToUtf8(Line);
        } else {
            Trusted = Trusted || !IsAscii(Line);
            Text = Line;
            if (first && Text.starts_with("\xEF\xBB\xBF")) {
                Text.erase(0, 3);
            }
        }
        Line.clear();
        return Text;
    }

    std::FILE* File;
    std::size_t MaxLineLength;
    TEncoding Encoding;
    std::vector<char> Chunk;
    std::size_t Position = 0;
    std::size_t Filled = 0;
    std::size_t Total = 0;
    std::size_t Number = 0;
    std::string Line;
    std::string Text;
    bool LineOpen = false; // bytes (or nothing) after the last break form a line of their own
    bool AfterCr = false;  // an LF right after a CR ends nothing more
    bool Failed = false;
    TTextFailure Why = TTextFailure::None;
    std::size_t FailedLine = 0;
    bool Trusted = false;
    bool Spoiled = false;
};

// Why a file that `OpenRegularFile` refused cannot be read, asked again after the fact.
TTextFailure OpenFailure(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == EACCES ? TTextFailure::NoAccess : TTextFailure::NotFound;
    }
    if (!S_ISREG(info.st_mode)) {
        return TTextFailure::NotAFile;
    }
    return ::access(path.c_str(), R_OK) != 0 ? TTextFailure::NoAccess : TTextFailure::ReadError;
}

} // namespace

TTextRead ReadTextFile(const std::string& Path, const TLineParser& Parse, std::size_t MaxLineLength,
                       std::size_t* BytesRead, TTextFault* Fault) {
    const TReadFile file = OpenRegularFile(Path);
    if (BytesRead) {
        *BytesRead = 0;
    }
    if (Fault) {
        *Fault = {};
    }
    if (!file) {
        if (Fault) {
            Fault->What = OpenFailure(Path);
        }
        return TTextRead::Unreadable;
    }
    // The verdict on the lines last heard.
    const auto verdict = [&](const TTextFileLines& lines, bool accepted) {
        if (!lines.HasFailed()) {
            return accepted ? TTextRead::Accepted : TTextRead::Refused;
        }
        if (Fault) {
            *Fault = lines.Fault();
        }
        return TTextRead::Unreadable;
    };
    TTextFileLines lines(file.get(), MaxLineLength, TEncoding::Undecided);
    bool accepted = Parse(lines);
    if ((accepted || lines.TookOnTrust()) && !lines.HasFailed()) {
        lines.SkipRest();
    }
    if (BytesRead) {
        *BytesRead = lines.BytesRead();
    }
    if (!lines.IsSpoiled()) {
        return verdict(lines, accepted);
    }
    // Rare: a line taken as UTF-8 was Windows-1251 after all, and the parser hears the file again.
    std::rewind(file.get());
    TTextFileLines again(file.get(), MaxLineLength, TEncoding::Cp1251);
    accepted = Parse(again);
    if (accepted && !again.HasFailed()) {
        again.SkipRest();
    }
    if (BytesRead) {
        *BytesRead += again.BytesRead();
    }
    return verdict(again, accepted);
}

bool ReadTextLines(const std::string& Path, std::vector<std::string>& Lines,
                   std::size_t MaxLineLength) {
    std::vector<std::string> lines;
    const auto collect = [&lines](TLineSource& source) {
        lines.clear();
        while (const auto line = source.Next()) {
            lines.emplace_back(*line);
        }
        return true;
    };
    Lines.clear();
    if (ReadTextFile(Path, collect, MaxLineLength) != TTextRead::Accepted) {
        return false;
    }
    Lines = std::move(lines);
    return true;
}

std::string EncodeTextLines(const std::vector<std::string>& Lines) {
    std::string text;
    for (const std::string& line : Lines) {
        text += line;
        text += "\r\n";
    }
    std::string bytes;
    if (Utf8ToCp1251Exactly(text, bytes)) {
        return bytes;
    }
    return text;
}

namespace {

// `WriteFileAtomically`, giving the error number of the step that failed, 0 on success.
int ReplaceFile(const std::string& Path, const TBytesWriter& Write, const TFileCalls& Calls) {
    struct stat info {};
    if (::stat(Path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // Only a regular file is ever replaced. A FIFO or a character device takes the bytes
        // directly; a folder, a disk (a document written over a file system is no save) or a
        // socket is refused. The name is opened as given: a link such as /proc/self/fd/1 leads
        // to its pipe only when the system follows it.
        if (S_ISDIR(info.st_mode)) {
            return EISDIR;
        }
        return S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)
                   ? WriteIntoSpecialFile(Calls, Path, Write)
                   : ENOTSUP;
    }
    const std::string target = ResolvedTarget(Path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) {
        return EISDIR; // "folder/" names the folder
    }
    // A file the user may not write stays as it is, although its folder would allow a rename.
    const bool exists = ::access(target.c_str(), F_OK) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return errno;
    }
    std::random_device seed;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        // A short hidden name of its own, whatever the file's name: any name the folder takes
        // (up to NAME_MAX bytes) can be saved, since the temporary is never the longer one.
        char chance[16];
        std::snprintf(chance, sizeof chance, "%08x", static_cast<unsigned>(seed()));
        temporary = (slash == std::string::npos ? std::string() : folder) +
                    std::string(TemporaryNamePrefix) + chance + std::string(TemporaryNameSuffix);
        // 0666 lets the umask decide the permissions of a new file, as for any other file.
        fd = Calls.Open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM) && exists) {
            return WriteInPlace(Calls, target, Write);
        }
        if (fd < 0 && errno != EEXIST) {
            return errno;
        }
    }
    if (fd < 0) {
        return EEXIST;
    }
    // The first step that fails gives the reason; the steps after it are cleaning up.
    int error = 0;
    const auto step = [&error](bool ok) {
        if (!ok && error == 0) {
            error = errno != 0 ? errno : EIO;
        }
        return error == 0;
    };
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        step(Calls.Fchmod(fd, old.st_mode & 07777) == 0);
    }
    if (error == 0) {
        TPieces pieces(Calls, fd, true);
        error = pieces.PutAll(Write);
    }
    step(error == 0 && Calls.Fsync(fd) == 0);
    step(Calls.Close(fd) == 0);
    // Something other than a regular file that took the name meanwhile is never renamed over.
    if (error == 0 && ::lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = EEXIST;
    }
    step(error == 0 && Calls.Rename(temporary.c_str(), target.c_str()) == 0);
    if (error != 0) {
        Calls.Unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk with the folder. The file is replaced already, so a
    // failure here is not a failed save.
    const int folderFd = Calls.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (folderFd >= 0) {
        Calls.Fsync(folderFd);
        Calls.Close(folderFd);
    }
    return 0;
}

} // namespace

bool WriteFileAtomically(const std::string& Path, std::string_view Bytes, const TFileCalls& Calls,
                         int* Error) {
    return WriteFileAtomically(
        Path, [Bytes](const TBytesPut& put) { return put(Bytes); }, Calls, Error);
}

bool WriteFileAtomically(const std::string& Path, const TBytesWriter& Write,
                         const TFileCalls& Calls, int* Error) {
    errno = 0;
    const int error = ReplaceFile(Path, Write, Calls);
    if (Error) {
        *Error = error;
    }
    return error == 0;
}

bool WriteTextLines(const std::string& Path, const std::vector<std::string>& Lines,
                    const TFileCalls& Calls, int* Error) {
    return WriteFileAtomically(Path, EncodeTextLines(Lines), Calls, Error);
}
