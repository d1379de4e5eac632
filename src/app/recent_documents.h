#pragma once
// The documents most recently opened or saved, newest first, for "Файл → Последние файлы". The
// list is a small text file in the user's configuration folder (beside the user's settings file),
// one full path a line in UTF-8, read at start and written on every change.

#include <QString>
#include <QStringList>

class TRecentDocuments {
public:
    /// How many documents the list keeps.
    static constexpr int Limit = 8;

    /// Reads the list from `file` (a missing or unreadable file is an empty list).
    explicit TRecentDocuments(QString file);
    /// The list's file in the user's configuration folder (`QStandardPaths::AppConfigLocation`).
    static QString DefaultFile();

    [[nodiscard]] const QStringList& Paths() const { return List; }
    /// `path` becomes the newest; an older mention leaves, and the oldest beyond `Limit`.
    void Add(const QString& path);
    /// Takes `path` off the list.
    void Remove(const QString& path);

private:
    /// Writes the list; a file that cannot be written keeps the list for this run only.
    void Write() const;

    QString File;
    QStringList List;
};

/// The menu text of entry `index` (0-based): "&1 name" with the file name without its folder.
QString RecentMenuText(int index, const QString& path);
