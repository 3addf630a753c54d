#include "quote/FeedParser.h"

#include "core/Logging.h"
#include "core/UserDefaults.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>
#include <QStringDecoder>
#include <memory>

namespace {
// Small enough that a slow main thread cannot let a large answer pile up inside the reply.
constexpr qint64 ReadBufferSize = 64 * 1024;
const QString NotInCorrectFormat =
    QStringLiteral("The data couldn't be read because it isn't in the correct format.");

struct Download
{
    QByteArray body;
    bool tooLarge = false;
};

void logFetch(const QString &message)
{
    logError(message, QStringLiteral(__FILE__), QStringLiteral("fetch()"));
}

void logDecoding(const QString &debugDescription, const QString &localizedDescription)
{
    logError(debugDescription + QStringLiteral(": ") + localizedDescription, QStringLiteral(__FILE__),
             QStringLiteral("fetch(with:)"));
}

bool isHttp(const QUrl &url)
{
    const QString scheme = url.scheme();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

QString describe(QNetworkReply::NetworkError error)
{
    const char *name = QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error);
    return QStringLiteral("QNetworkReply::") + QString::fromLatin1(name ? name : "UnknownNetworkError");
}

void refuse(QNetworkReply *reply, Download &download)
{
    download.tooLarge = true;
    reply->abort();
}

// What the finished reply gives, in the order the failures are looked for.
std::optional<QString> textOf(QNetworkReply &reply, const Download &download)
{
    if (download.tooLarge) {
        logFetch(QStringLiteral("response too large"));
        return std::nullopt;
    }
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // An error status is an answer, not a transport failure.
    const bool answered = status.isValid() && status.toInt() >= 400;
    if (reply.error() == QNetworkReply::OperationCanceledError) {
        // Only the transfer time-out cancels a request that was not refused as too large.
        logFetch(describe(QNetworkReply::TimeoutError) +
                 QStringLiteral(": no data within the transfer time-out"));
        return std::nullopt;
    }
    if (reply.error() != QNetworkReply::NoError && !answered) {
        logFetch(describe(reply.error()) + QStringLiteral(": ") + reply.errorString());
        return std::nullopt;
    }
    if (!status.isValid()) {
        logFetch(QStringLiteral("did not get HTTP response"));
        return std::nullopt;
    }
    if (status.toInt() != 200) {
        logFetch(QStringLiteral("did not get 200 status"));
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(download.body);
    if (decoder.hasError()) {
        logFetch(QStringLiteral("Can't convert feed to string"));
        return std::nullopt;
    }
    return text;
}
} // namespace

FeedParser::FeedParser(const QString &batchUrl, std::chrono::milliseconds transferTimeout, QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_batchUrl(QUrl(batchUrl).toString()),
      m_transferTimeout(transferTimeout)
{}

QFuture<std::optional<ComposedDailyQuote>> FeedParser::fetch(const QUrl &url)
{
    const bool batch = url.toString() == m_batchUrl;
    if (batch) {
        bool failed = false;
        const std::optional<QList<ComposedDailyQuote>> stored = storedBatch(&failed);
        if (failed)
            return QtFuture::makeReadyFuture(std::optional<ComposedDailyQuote>());
        if (stored)
            return QtFuture::makeReadyFuture(takeFirst(*stored, batch));
    }
    return fetchText(url).then(this, [batch](const std::optional<QString> &text) {
        const std::optional<QList<ComposedDailyQuote>> quotes = text ? decode(*text) : std::nullopt;
        return quotes ? takeFirst(*quotes, batch) : std::nullopt;
    });
}

QFuture<std::optional<QString>> FeedParser::fetchText(const QUrl &url)
{
    auto promise = std::make_shared<QPromise<std::optional<QString>>>();
    QFuture<std::optional<QString>> future = promise->future();
    promise->start();
    if (!isHttp(url)) {
        logFetch(QStringLiteral("did not get HTTP response"));
        promise->addResult(std::nullopt);
        promise->finish();
        return future;
    }

    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(m_transferTimeout.count()));
    QNetworkReply *reply = m_network->get(request);
    reply->setReadBufferSize(ReadBufferSize);
    auto download = std::make_shared<Download>();

    connect(reply, &QNetworkReply::metaDataChanged, this, [reply, download] {
        bool known = false;
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && length > MaximumBodySize && !download->tooLarge)
            refuse(reply, *download);
    });
    connect(reply, &QNetworkReply::readyRead, this, [reply, download] {
        if (download->tooLarge)
            return;
        download->body += reply->read(MaximumBodySize + 1 - download->body.size());
        if (download->body.size() > MaximumBodySize)
            refuse(reply, *download);
    });
    connect(reply, &QNetworkReply::finished, this, [reply, download, promise] {
        reply->deleteLater();
        if (!download->tooLarge && reply->isOpen()) {
            download->body += reply->read(MaximumBodySize + 1 - download->body.size());
            download->tooLarge = download->body.size() > MaximumBodySize;
        }
        promise->addResult(textOf(*reply, *download));
        promise->finish();
    });
    return future;
}

std::optional<QList<ComposedDailyQuote>> FeedParser::decode(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        logDecoding(
            QStringLiteral("dataCorrupted(%1 at offset %2)").arg(error.errorString()).arg(error.offset),
            NotInCorrectFormat);
        return std::nullopt;
    }
    if (!document.isArray()) {
        logDecoding(QStringLiteral("typeMismatch(expected an array of quotes)"), NotInCorrectFormat);
        return std::nullopt;
    }
    QList<ComposedDailyQuote> quotes;
    const QJsonArray array = document.array();
    for (qsizetype i = 0; i < array.size(); ++i) {
        std::optional<ComposedDailyQuote> quote = ComposedDailyQuote::fromJson(array.at(i).toObject());
        if (!array.at(i).isObject() || !quote) {
            logDecoding(
                QStringLiteral("keyNotFound(element %1 needs the string members \"a\" and \"q\")").arg(i),
                NotInCorrectFormat);
            return std::nullopt;
        }
        quotes.append(*quote);
    }
    return quotes;
}

QString FeedParser::encode(const QList<ComposedDailyQuote> &quotes)
{
    QJsonArray array;
    for (const ComposedDailyQuote &quote : quotes)
        array.append(quote.toJson());
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

std::optional<ComposedDailyQuote> FeedParser::takeFirst(QList<ComposedDailyQuote> quotes, bool batch)
{
    if (quotes.isEmpty())
        return std::nullopt;
    const ComposedDailyQuote first = quotes.takeFirst();
    if (batch)
        UserDefaults::setValue(UserDefaults::Key::quoteSet, encode(quotes));
    return first;
}

// The stored batch while it holds a quote; nothing when it is absent or used up.
std::optional<QList<ComposedDailyQuote>> FeedParser::storedBatch(bool *failed)
{
    const QString stored = UserDefaults::string(UserDefaults::Key::quoteSet).trimmed();
    if (stored.isEmpty())
        return std::nullopt;
    std::optional<QList<ComposedDailyQuote>> quotes = decode(stored);
    *failed = !quotes;
    if (!quotes || quotes->isEmpty())
        return std::nullopt;
    return quotes;
}
