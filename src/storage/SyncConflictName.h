#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// The copy a sync client keeps of a vault file when two machines changed it. The client inserts
// its text into the on-disk (scrambled) name between base and extension; that text is not
// scrambled, so only the name Lumisera wrote may be unscrambled:
//   Nextcloud, ownCloud  "YXSh (conflicted copy 2026-12-06 155501).tOS"
//   Syncthing            "YXSh.sync-conflict-20261206-155501-ABCDEFG.tOS"
//   Dropbox              "YXSh (Ann's conflicted copy 2026-12-06).tOS"
struct SyncConflictName
{
    // Nothing unless the on-disk name has one of these shapes exactly, with a real date and time.
    static std::optional<SyncConflictName> parse(const QString &onDiskName);

    // How much of the copy's own text the listing shows: the minute is enough unless two copies
    // of one file would then show alike.
    enum class Detail { minutes, seconds, tag };

    QString storedName; // the name Lumisera wrote, still scrambled: "YXSh.tOS"
    QDate date;
    std::optional<QTime> time; // Dropbox gives none
    QString tag;               // Syncthing's device, Dropbox's account; Nextcloud gives none

    // What the listing adds to the clear base name: "conflict 2026-12-06 15:55", with seconds
    // "conflict 2026-12-06 15:55:01", with the tag as well "conflict 2026-12-06 15:55:01 ABCDEFG".
    QString label(Detail detail = Detail::minutes) const;
};
