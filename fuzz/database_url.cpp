// Database URLs as a user types them after --db or in DORVANEL_DB: the component's reading of a
// PostgreSQL URL into the driver's settings (nothing connects), the engine chosen by the scheme,
// and the command-line host's way of naming the database in its messages, which must never show
// the password.

#include "Failure.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/QtSqlDatabase.h"
#include "support/FuzzInput.h"

#include <QSqlDatabase>
#include <QUrl>
#include <QUrlQuery>

using namespace dorvanel;
using dorvanel::fuzz::fail;

namespace {

bool namesPostgreSql(const QString& url) {
    return url.startsWith(QLatin1String("postgresql://")) || url.startsWith(QLatin1String("postgres://"));
}

// The settings the URL gives the driver; raises Error when the URL is refused.
void configure(const QString& url) {
    static const QString name = QStringLiteral("fuzz");
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    configureFromUrl(db, QUrl(url));
}

// Neither the URL's password nor a "password" parameter survives in the name shown.
void requireNoPassword(const QString& url) {
    const QString shown = cli::shownDatabase(url);
    if (url.startsWith(QLatin1String("sqlite:"))) return;
    const QUrl again(shown);
    if (!again.password().isEmpty())
        fail("the shown database keeps the password", url + QStringLiteral(" -> ") + shown);
    if (QUrlQuery(again).hasQueryItem(QStringLiteral("password")))
        fail("the shown database keeps the password parameter", url + QStringLiteral(" -> ") + shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::startQt();
    const QString text = fuzz::textOf(data, size);
    // Half the inputs are taken as PostgreSQL URLs whatever their start, so that the fuzzer
    // spends its time past the scheme.
    const QString url = size > 0 && data[0] % 2 ? QStringLiteral("postgresql://") + text.mid(1) : text;
    if (namesPostgreSql(url)) {
        try {
            configure(url);
        } catch (const Error& error) {
            if (error.number() != Error::OpenFailed) fail("a refused URL with another number", error.description());
        }
    } else if (!url.startsWith(QLatin1String("sqlite:"))) {
        // Any other scheme is refused before anything is opened.
        try {
            Connection::open(url);
            fail("a URL of no known engine opened", url);
        } catch (const Error& error) {
            if (error.number() != Error::OpenFailed) fail("a refused URL with another number", error.description());
        }
    }
    requireNoPassword(url);
    return 0;
}
