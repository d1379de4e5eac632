#pragma once
// The list of documents most recently opened or saved, newest first: a small text file in the
// user's configuration folder, one full path a line in UTF-8. Read with the bounds of every
// reader of the program (a regular file only, no more than the list's lines), written with the
// save that never replaces what is not a regular file.

#include <string>
#include <vector>

/// How many documents the list keeps.
inline constexpr std::size_t RecentLimit = 8;

/// The list kept at `Path`: its first `RecentLimit` distinct lines that are not empty and do not
/// start with a byte-order mark, in order (a line's CR is no part of it). A file that is missing, unreadable or not a regular file is an
/// empty list; reading stops once the list is full.
std::vector<std::string> ReadRecentList(const std::string& Path);

/// Writes `List` (one path a line, UTF-8, LF). False when the file cannot be written.
bool WriteRecentList(const std::string& Path, const std::vector<std::string>& List);

/// `List` with `Path` as the newest entry: an older mention leaves, and so does the oldest beyond
/// `RecentLimit`. A path the list cannot hold (empty, holding a line break, starting with a
/// byte-order mark) changes nothing.
std::vector<std::string> WithRecent(std::vector<std::string> List, const std::string& Path);
