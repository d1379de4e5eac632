#include "app/recent_documents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

TRecentDocuments::TRecentDocuments(QString file) : File(std::move(file)) {
    QFile in(File);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        if (!line.isEmpty() && !List.contains(line) && List.size() < Limit)
            List << line;
    }
}

QString TRecentDocuments::DefaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/recent-documents.txt");
}

void TRecentDocuments::Add(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    List.removeAll(full);
    List.prepend(full);
    while (List.size() > Limit)
        List.removeLast();
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
    QSaveFile out(File);
    if (!out.open(QIODevice::WriteOnly))
        return;
    for (const QString& path : List)
        out.write(path.toUtf8() + '\n');
    out.commit();
}

QString RecentMenuText(int index, const QString& path) {
    return QStringLiteral("&%1 %2").arg(index + 1).arg(QFileInfo(path).fileName());
}
