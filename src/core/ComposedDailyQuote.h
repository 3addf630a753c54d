#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

// One quote of the quote service: "a" is the author, "q" the text.
struct ComposedDailyQuote
{
    QString a;
    QString q;

    // Both members are required strings; other members are ignored.
    static std::optional<ComposedDailyQuote> fromJson(const QJsonObject &object);
    QJsonObject toJson() const;

    friend bool operator==(const ComposedDailyQuote &, const ComposedDailyQuote &) = default;
};
