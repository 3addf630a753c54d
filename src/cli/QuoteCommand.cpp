#include "cli/QuoteCommand.h"

#include "cli/TerminalText.h"
#include "core/UserDefaults.h"
#include "quote/QuoteSource.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QUrl>

namespace {
enum class Request { today, next, cached };

struct QuoteArguments
{
    Request request = Request::today;
    bool help = false;
    QString service = QuoteSource::DefaultServiceAddress;
    QString error;
};

bool isServiceAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty() && url.query().isEmpty() && url.fragment().isEmpty();
}

QuoteArguments parse(const QStringList &arguments)
{
    QuoteArguments parsed;
    int requests = 0;
    for (qsizetype i = 0; i < arguments.size() && parsed.error.isEmpty(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
        } else if (argument == QLatin1String("--today") || argument == QLatin1String("--next") ||
                   argument == QLatin1String("--cached")) {
            ++requests;
            parsed.request = argument == QLatin1String("--today")  ? Request::today
                             : argument == QLatin1String("--next") ? Request::next
                                                                   : Request::cached;
        } else if (argument == QLatin1String("--service") ||
                   argument.startsWith(QLatin1String("--service="))) {
            const bool attached = argument.contains(u'=');
            if (!attached && i + 1 >= arguments.size()) {
                parsed.error = QuoteCommand::tr("--service needs an address");
                break;
            }
            parsed.service = attached ? argument.mid(argument.indexOf(u'=') + 1) : arguments.at(++i);
            if (!isServiceAddress(parsed.service))
                parsed.error = QuoteCommand::tr("--service needs an http or https address, not \"%1\"")
                                   .arg(parsed.service);
        } else {
            parsed.error = QuoteCommand::tr("unknown argument \"%1\"").arg(argument);
        }
    }
    if (parsed.error.isEmpty() && requests > 1)
        parsed.error = QuoteCommand::tr("choose one of --today, --next and --cached");
    return parsed;
}

ComposedDailyQuote waitFor(QFuture<ComposedDailyQuote> future)
{
    // The answer arrives through this thread's event loop.
    if (!future.isFinished()) {
        QEventLoop loop;
        QFutureWatcher<ComposedDailyQuote> watcher;
        QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        loop.exec();
    }
    return future.resultCount() > 0 ? future.result() : UserDefaults::quote();
}

} // namespace

QString QuoteCommand::summary()
{
    return tr("print the daily quote and its author");
}

int QuoteCommand::run(const CommandLine::GlobalOptions &, const QStringList &arguments, QTextStream &out,
                      QTextStream &err)
{
    const QuoteArguments parsed = parse(arguments);
    if (!parsed.error.isEmpty()) {
        err << "lumisera-vault quote: " << tr("%1; see lumisera-vault quote --help").arg(parsed.error)
            << "\n";
        err.flush();
        return CommandLine::Usage;
    }
    if (parsed.help) {
        printHelp(out);
        return CommandLine::Success;
    }

    ComposedDailyQuote quote;
    if (parsed.request == Request::cached) {
        quote = UserDefaults::quote();
    } else {
        QuoteSource source(parsed.service);
        quote =
            waitFor(source.quote(parsed.request == Request::next ? source.batchUrl() : source.todayUrl()));
    }
    // One line each, whatever the service put into the texts, and nothing the terminal would obey.
    out << TerminalText::oneLine(quote.q) << '\n' << TerminalText::oneLine(quote.a) << '\n';
    out.flush();
    return CommandLine::Success;
}

void QuoteCommand::printHelp(QTextStream &stream)
{
    stream
        << tr("Usage: lumisera-vault quote [--today | --next | --cached] [--service URL]\n"
              "\n"
              "Prints the quote on the first line and its author on the second. When the quote\n"
              "service cannot be reached, prints the quote cached from the last update.\n"
              "\n"
              "Options:\n"
              "  --today        the quote of the day, fetched at most once per calendar day (default)\n"
              "  --next         the next quote of the stored batch, fetching a new batch when it is used up\n"
              "  --cached       the cached quote, without any network access\n"
              "  --service URL  the quote service's base address (default %1)\n"
              "  -h, --help     show this help\n")
               .arg(QLatin1String(QuoteSource::DefaultServiceAddress));
    stream.flush();
}
