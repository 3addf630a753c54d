#pragma once

#include "core/ComposedDailyQuote.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>

class QNetworkAccessManager;

// Downloads and decodes the quote service's answers. A request for the batch address is served
// from the batch kept in the settings store while it lasts, one quote per request.
// Lives on the thread that runs its event loop; nothing here blocks.
class FeedParser : public QObject
{
    Q_OBJECT
public:
    // A bigger answer is refused: a misbehaving server must not exhaust memory.
    static constexpr qint64 MaximumBodySize = 1024 * 1024;
    static constexpr std::chrono::milliseconds DefaultTransferTimeout{30000};

    explicit FeedParser(const QString &batchUrl,
                        std::chrono::milliseconds transferTimeout = DefaultTransferTimeout,
                        QObject *parent = nullptr);

    // The first quote of the answer (or of the stored batch); nothing when none could be had.
    QFuture<std::optional<ComposedDailyQuote>> fetch(const QUrl &url);
    // The body of a 200 answer as text; nothing on any failure, which is logged.
    QFuture<std::optional<QString>> fetchText(const QUrl &url);

    // A JSON array of quotes; logs and answers nothing when the text is not one.
    static std::optional<QList<ComposedDailyQuote>> decode(const QString &text);
    // The compact JSON text of the quotes, as the batch is stored.
    static QString encode(const QList<ComposedDailyQuote> &quotes);

private:
    static std::optional<ComposedDailyQuote> takeFirst(QList<ComposedDailyQuote> quotes, bool batch);
    static std::optional<QList<ComposedDailyQuote>> storedBatch(bool *failed);

    QNetworkAccessManager *m_network;
    QString m_batchUrl;
    std::chrono::milliseconds m_transferTimeout;
};
