#pragma once

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QStringList>

#include <algorithm>

// A PNG of one colour, different for every seed.
inline QByteArray pngPicture(int seed, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed * 37 % 360, 200, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Every file and folder under path, hidden ones too, sorted.
inline QStringList filesUnder(const QString &path)
{
    QStringList files;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

// The names in folder, hidden and special files too: a partial file is hidden.
inline QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Whether process pid holds a file under folder open, one of more than minimum bytes.
inline bool holdsFileUnder(qint64 pid, const QString &folder, qint64 minimum = -1)
{
    const QFileInfoList open =
        QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryInfoList(QDir::Files | QDir::System);
    return std::any_of(open.begin(), open.end(), [&](const QFileInfo &fd) {
        return fd.symLinkTarget().startsWith(folder + QLatin1Char('/')) && fd.size() > minimum;
    });
}

// A file's bytes; empty when it cannot be read.
inline QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes data as the whole file.
inline bool writeBytes(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
