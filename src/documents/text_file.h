#pragma once
// Text files as the program keeps them on disk: lines in Windows-1251 ended by CR LF, written
// atomically. In memory every text is UTF-8.

#include "documents/file_calls.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// No line a reader needs is anywhere near this long; a longer one marks a damaged file and is
/// refused before it is held in memory.
inline constexpr std::size_t MaxTextLineLength = 64 * 1024;
/// Larger than the largest document (255 graphs of tables of 5000 points) with room to spare.
inline constexpr std::size_t MaxTextFileSize = 256 * 1024 * 1024;

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TReadFile = std::unique_ptr<std::FILE, TFileCloser>;

/// Opens a file for reading when it is a regular file (a symbolic link is followed); anything
/// else (a FIFO, a device, a folder, a socket) is refused without blocking, and so is a name that
/// is swapped for one between the check and the opening. Every reader of the program opens its
/// files here.
TReadFile OpenRegularFile(const std::string& Path);

/// True when `Path` names something that exists and is not a regular file (after following
/// symbolic links): a reader says it cannot open it rather than that it could not read it.
bool IsSpecialFile(const std::string& Path);

/// Lines handed out one after another, to a reader that takes as many as it needs.
class TLineSource {
public:
    virtual ~TLineSource() = default;
    /// The next line; none past the last one, or once the lines cannot be read any further.
    /// The text stays valid until the next call.
    virtual std::optional<std::string_view> Next() = 0;
};

/// The lines of a vector (kept by the caller).
class TVectorLines final : public TLineSource {
public:
    explicit TVectorLines(const std::vector<std::string>& Lines) : Held(Lines) {}
    std::optional<std::string_view> Next() override {
        if (Position >= Held.size()) {
            return std::nullopt;
        }
        return Held[Position++];
    }

private:
    const std::vector<std::string>& Held;
    std::size_t Position = 0;
};

/// How `ReadTextFile` ended.
enum class TTextRead {
    Accepted,  ///< the parser took the lines and the whole file is within the limits
    Refused,   ///< the parser refused a line it was given
    Unreadable ///< the file cannot be opened or read, has a line too long or is too large
};

/// Why `ReadTextFile` found a file unreadable.
enum class TTextFailure {
    None,
    NotFound,    ///< nothing of that name
    NotAFile,    ///< a folder, a FIFO, a device or a socket
    NoAccess,    ///< the file, or a folder on its way, may not be read
    ReadError,   ///< the system failed to read it
    LineTooLong, ///< a line longer than the limit
    TooLarge     ///< larger than `MaxTextFileSize`
};

/// What `ReadTextFile` reports of an unreadable file.
struct TTextFault {
    TTextFailure What = TTextFailure::None;
    std::size_t Line = 0; ///< for `LineTooLong` the line's number, from 1
};

/// Takes the lines of a text file from a source and says whether it accepts them; it may stop
/// taking lines at any point. It may be called twice (see `ReadTextFile`) and must then start
/// afresh.
using TLineParser = std::function<bool(TLineSource& Lines)>;

/// Reads the text file at `Path` into `Parse` one line at a time, so that memory stays bounded by
/// the longest line whatever the file holds. The lines are split and decoded exactly as
/// `ReadTextLines` gives them. A line with bytes past ASCII is taken as UTF-8 while every byte so
/// far is valid UTF-8; when a later line proves the file to be Windows-1251, `Parse` starts again
/// from the first line with every line decoded from Windows-1251. After a refusal reading stops
/// at once, unless a line was taken as UTF-8 on trust: then the rest is scanned (nothing kept) to
/// settle the encoding. After acceptance the rest is scanned as well, so that a line too long or
/// a file too large anywhere is refused as `ReadTextLines` refuses it. `BytesRead`, when given,
/// receives the number of bytes taken from the disk; `Fault`, when given, why the file is
/// `Unreadable` (`None` otherwise).
TTextRead ReadTextFile(const std::string& Path, const TLineParser& Parse,
                       std::size_t MaxLineLength = MaxTextLineLength,
                       std::size_t* BytesRead = nullptr, TTextFault* Fault = nullptr);

/// Reads a text file into its lines, each without its end (CR LF, LF or a bare CR; a break at the
/// very end starts no further line). A file that is valid UTF-8 is taken as it stands (without a
/// leading byte-order mark), any other is decoded from Windows-1251 (its one unassigned byte
/// becomes '?'). Fails when the file cannot be read, a line is longer than `MaxLineLength` or the
/// file is larger than `MaxTextFileSize`; `Lines` is then empty. Only a regular file is read
/// (`OpenRegularFile`).
bool ReadTextLines(const std::string& Path, std::vector<std::string>& Lines,
                   std::size_t MaxLineLength = MaxTextLineLength);

/// True for text that is valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view Text);

/// The bytes of a file: every line followed by CR LF, in Windows-1251; when a text holds a
/// character that code page lacks, the whole file stays UTF-8 so that nothing is lost (the reader
/// takes both).
std::string EncodeTextLines(const std::vector<std::string>& Lines);

/// The name of the new file a save writes before it takes the file's place: hidden and short,
/// the prefix, eight hexadecimal digits of chance and the suffix (21 bytes in all).
inline constexpr std::string_view TemporaryNamePrefix = ".kurvant-";
inline constexpr std::string_view TemporaryNameSuffix = ".tmp";

/// Replaces the file at `Path` with `Bytes` so that the old file survives any failure: the bytes
/// go to a new file in the same folder (`TemporaryNamePrefix`), are flushed to the disk, and the
/// new file is renamed over the old one. A symbolic link is followed (to a target that does not
/// exist yet, too: it is created), and an existing file's permissions are kept. Only a regular file
/// is ever replaced: a FIFO (with a reader) or a character device such as /dev/null or a terminal
/// takes the bytes directly, and a folder, a block device or a socket is refused. When the folder
/// takes no new file but the file exists and may be written, it is overwritten in place instead,
/// and written back as it was if a step fails. Every system call that changes the disk goes through
/// `Calls`. On failure `Error` (when given) receives the system's error number of the step that
/// failed (`SystemErrorText` words it); 0 after success.
bool WriteFileAtomically(const std::string& Path, std::string_view Bytes,
                         const TFileCalls& Calls = SystemFileCalls(), int* Error = nullptr);

/// Takes a piece of a file's bytes; false when it could not be written (the writer then stops).
using TBytesPut = std::function<bool(std::string_view)>;
/// Makes a file's bytes, handing them over piece by piece, so that a large file need not be held
/// in memory whole; false when it stopped (a piece refused, or the bytes could not be made).
using TBytesWriter = std::function<bool(const TBytesPut&)>;

/// `WriteFileAtomically` with the bytes made as they are written. Bytes that `Write` could not
/// make fail the save as a want of memory (ENOMEM), and the old file stays.
bool WriteFileAtomically(const std::string& Path, const TBytesWriter& Write,
                         const TFileCalls& Calls = SystemFileCalls(), int* Error = nullptr);

/// `EncodeTextLines` written with `WriteFileAtomically`.
bool WriteTextLines(const std::string& Path, const std::vector<std::string>& Lines,
                    const TFileCalls& Calls = SystemFileCalls(), int* Error = nullptr);
