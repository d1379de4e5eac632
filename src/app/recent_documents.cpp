#include "app/recent_documents.h"

#include "documents/recent_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <string>
#include <vector>

TRecentDocuments::TRecentDocuments(QString file) : File(std::move(file)) {
    if (File.isEmpty())
        return;
    for (const std::string& path : ReadRecentList(File.toStdString()))
        List << QString::fromStdString(path);
}

QString TRecentDocuments::DefaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/recent-documents.txt");
}

void TRecentDocuments::Add(const QString& path) {
    std::vector<std::string> list;
    for (const QString& entry : List)
        list.push_back(entry.toStdString());
    list = WithRecent(std::move(list), QFileInfo(path).absoluteFilePath().toStdString());
    List.clear();
    for (const std::string& entry : list)
        List << QString::fromStdString(entry);
    Write();
}

void TRecentDocuments::Remove(const QString& path) {
    if (List.removeAll(path) + List.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        Write();
}

void TRecentDocuments::Write() const {
    if (File.isEmpty())
        return;
    QDir().mkpath(QFileInfo(File).absolutePath());
    std::vector<std::string> list;
    for (const QString& path : List)
        list.push_back(path.toStdString());
    // A list that cannot be written is kept for this run only.
    WriteRecentList(File.toStdString(), list);
}

QString RecentMenuText(int index, const QString& path) {
    return QStringLiteral("&%1 %2").arg(index + 1).arg(QFileInfo(path).fileName());
}
