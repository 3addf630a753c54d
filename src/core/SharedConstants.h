#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// Values shared by every layer; never instantiated.
class SharedConstants
{
public:
    SharedConstants() = delete;

    static inline const QString suiteName = QStringLiteral("group.com.morvenda.calmora");
    // Lowercased extensions of the pictures the vault shows.
    static inline const QStringList imageExtensions{QStringLiteral("png"),  QStringLiteral("gif"),
                                                    QStringLiteral("heic"), QStringLiteral("tiff"),
                                                    QStringLiteral("jpg"),  QStringLiteral("jpeg")};

    static QColor systemBackground();
    static QColor primaryLabel();
    static QColor translucentLightGrey();
};
