#include "core/ComposedDailyQuote.h"

std::optional<ComposedDailyQuote> ComposedDailyQuote::fromJson(const QJsonObject &object)
{
    const QJsonValue author = object.value(QStringLiteral("a"));
    const QJsonValue text = object.value(QStringLiteral("q"));
    if (!author.isString() || !text.isString())
        return std::nullopt;
    return ComposedDailyQuote{author.toString(), text.toString()};
}

QJsonObject ComposedDailyQuote::toJson() const
{
    return QJsonObject{{QStringLiteral("a"), a}, {QStringLiteral("q"), q}};
}
