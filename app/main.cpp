// dorvanel: a command-line host for the document component.

#include "CommandLine.h"
#include "Commands.h"
#include "Dialogs.h"

#include <Dorvanel/Error.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QTextStream>

using namespace dorvanel;
using namespace dorvanel::cli;

namespace {

// Statement texts stay out of the output unless QT_LOGGING_RULES asks for them.
void quietSqlLog() { QLoggingCategory::setFilterRules(QStringLiteral("dorvanel.sql.debug=false")); }

// Qt's own notices (a missing XDG_RUNTIME_DIR, what the off-screen platform cannot do) say
// nothing a user of this program can act on; the component's messages and Qt's critical
// failures still reach standard error.
QtMessageHandler qtDefaultHandler = nullptr;

void withoutLibraryChatter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool ours = context.category && qstrncmp(context.category, "dorvanel", 8) == 0;
    if (ours || type == QtCriticalMsg || type == QtFatalMsg) qtDefaultHandler(type, context, message);
}

int runReportingFailures(const QStringList& words) {
    QTextStream err(stderr);
    try {
        return runCommand(parseInvocation(words));
    } catch (const UsageError& usage) {
        err << "dorvanel: " << usage.message << "\nVea dorvanel --help" << Qt::endl;
        return 2;
    } catch (...) {
        const Error error = Error::fromCurrentException();
        err << "dorvanel: error " << error.number() << ": " << error.description() << Qt::endl;
        return 1;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    drawOffscreenWithoutDisplay();
    qtDefaultHandler = qInstallMessageHandler(withoutLibraryChatter);
    QApplication app(argc, argv);
    quietSqlLog();
    return runReportingFailures(app.arguments().mid(1));
}
