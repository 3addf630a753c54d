#include "FuzzSupport.h"
#include "quote/FeedParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>

namespace {

// The accepted shape, looked for on its own: an array whose every element is an object with the
// string members "a" and "q".
std::optional<QJsonArray> quoteArray(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    const QJsonArray array = document.array();
    for (const QJsonValue &element : array) {
        const QJsonObject object = element.toObject();
        if (!element.isObject() || !object.value(QStringLiteral("a")).isString() ||
            !object.value(QStringLiteral("q")).isString())
            return std::nullopt;
    }
    return array;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceProductLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QList<ComposedDailyQuote>> quotes = FeedParser::decode(text);
    const std::optional<QJsonArray> array = quoteArray(text);
    FUZZ_REQUIRE(quotes.has_value() == array.has_value());
    if (!quotes)
        return 0;

    // One quote per element, in order, other members ignored.
    FUZZ_REQUIRE(quotes->size() == array->size());
    for (qsizetype i = 0; i < quotes->size(); ++i) {
        const QJsonObject object = array->at(i).toObject();
        FUZZ_REQUIRE(quotes->at(i).a == object.value(QStringLiteral("a")).toString());
        FUZZ_REQUIRE(quotes->at(i).q == object.value(QStringLiteral("q")).toString());
    }

    // The batch is stored with encode() and read back with decode(): exactly, unpaired
    // surrogates too (they are written as \u escapes).
    FUZZ_REQUIRE(FeedParser::decode(FeedParser::encode(*quotes)) == quotes);
    return 0;
}
