#include "storage/SyncConflictName.h"

#include <QRegularExpression>

namespace {

// Groups: base, year, month, day, [hours, minutes, seconds,] [tag,] extension. The extension is what
// follows the last dot, where the clients split names; \z, as $ also matches before a final "\n".
const QRegularExpression
    nextcloud(QStringLiteral(R"(\A(.+) \(conflicted copy )"
                             R"(([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{2})([0-9]{2})([0-9]{2})\))"
                             R"((\.[^.]*)?\z)"));
const QRegularExpression
    syncthing(QStringLiteral(R"(\A(.+)\.sync-conflict-)"
                             R"(([0-9]{4})([0-9]{2})([0-9]{2})-([0-9]{2})([0-9]{2})([0-9]{2})-([A-Z2-7]{7}))"
                             R"((\.[^.]*)?\z)"));
const QRegularExpression dropbox(QStringLiteral(R"(\A(.+) \(([^()/]+)'s conflicted copy )"
                                                R"(([0-9]{4})-([0-9]{2})-([0-9]{2})\))"
                                                R"((\.[^.]*)?\z)"));

int number(const QRegularExpressionMatch &match, int group)
{
    return match.captured(group).toInt();
}

} // namespace

std::optional<SyncConflictName> SyncConflictName::parse(const QString &onDiskName)
{
    for (const QRegularExpression *shape : {&nextcloud, &syncthing, &dropbox}) {
        const QRegularExpressionMatch match = shape->match(onDiskName);
        if (!match.hasMatch())
            continue;
        const bool timed = shape != &dropbox;
        const QString base = match.captured(1);
        // Dropbox puts the account before the date.
        const int date = shape == &dropbox ? 3 : 2;
        const QString extension = match.captured(shape == &nextcloud ? 8 : shape == &syncthing ? 9 : 6);
        SyncConflictName name{base + extension,
                              QDate(number(match, date), number(match, date + 1), number(match, date + 2)),
                              std::nullopt, QString()};
        if (timed)
            name.time = QTime(number(match, 5), number(match, 6), number(match, 7));
        if (shape == &syncthing)
            name.tag = match.captured(8);
        else if (shape == &dropbox)
            name.tag = match.captured(2);
        // A client puts its text before the last dot: a dot in the base means there was none.
        if (!name.date.isValid() || (name.time && !name.time->isValid()) ||
            (extension.isEmpty() && base.contains(u'.')))
            return std::nullopt;
        return name;
    }
    return std::nullopt;
}

QString SyncConflictName::label(Detail detail) const
{
    QString text = QStringLiteral("conflict ") + date.toString(Qt::ISODate);
    if (time)
        text += u' ' + time->toString(detail == Detail::minutes ? QStringLiteral("HH:mm")
                                                                : QStringLiteral("HH:mm:ss"));
    if (detail == Detail::tag && !tag.isEmpty())
        text += u' ' + tag;
    return text;
}
