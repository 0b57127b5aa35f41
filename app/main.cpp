// dorvanel: a command-line host for the document component.

#include "CommandLine.h"
#include "Commands.h"
#include "Dialogs.h"
#include "Failure.h"
#include "LocalFile.h"
#include "Texts.h"

#include <Dorvanel/Error.h>
#include <Dorvanel/Translation.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTranslator>
#include <memory>

using namespace dorvanel;
using namespace dorvanel::cli;

namespace {

// Statement texts stay out of the output unless QT_LOGGING_RULES asks for them.
void quietSqlLog() { QLoggingCategory::setFilterRules(QStringLiteral("dorvanel.sql.debug=false")); }

// Qt's own notices (a missing XDG_RUNTIME_DIR, what the off-screen platform cannot do, the SQL
// driver's warnings) say nothing a user of this program can act on: they show only when
// DORVANEL_DEBUG or QT_LOGGING_RULES is set. The component's messages still reach standard
// error, and so does a fatal failure, before the program ends.
QtMessageHandler qtDefaultHandler = nullptr;

bool debugging() {
    return !qEnvironmentVariableIsEmpty("DORVANEL_DEBUG") || !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES");
}

void withoutLibraryChatter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool ours = context.category && qstrncmp(context.category, "dorvanel", 8) == 0;
    if (ours || type == QtFatalMsg) qtDefaultHandler(type, context, message);
}

// The words after the program's name, each as the system gave it: a file name need not be UTF-8.
QStringList argumentWords(int argc, char* argv[]) {
    QStringList words;
    for (int i = 1; i < argc; ++i) words << decodeLocalName(QByteArray(argv[i]));
    return words;
}

// The parts of the windows that Qt draws (the file dialog, context menus, standard buttons)
// speak the program's language: Qt's Spanish translation, where the machine has it (Debian's
// qt6-translations-l10n), is this host's choice for them when it speaks Spanish.
void translateQtTextsIntoSpanish(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// The program and the component speak Spanish unless the user's language (LC_ALL, LC_MESSAGES,
// LANG) is another one they have a translation for: the component's comes beside the library,
// the program's own is built into it.
void speakUsersLanguage(QCoreApplication& application, bool showsWindows) {
    auto* component = new QTranslator(&application);
    if (!loadTranslation(*component, QLocale::system())) {
        if (showsWindows) translateQtTextsIntoSpanish(application);
        return;
    }
    QCoreApplication::installTranslator(component);
    auto* program = new QTranslator(&application);
    if (program->load(QStringLiteral(":/i18n/dorvanel-cli_") + component->language()))
        QCoreApplication::installTranslator(program);
}

// A GUI application only for the commands that show windows; it needs Qt's platform, which
// the others never load. A command line that cannot be read is told in the user's language,
// so the application comes first, as the command line reads at a first glance.
std::unique_ptr<QCoreApplication> applicationFor(const QStringList& words, int& argc, char* argv[]) {
    bool windows = false;
    try {
        windows = showsWindows(parseInvocation(words));
    } catch (const UsageError&) {
    }
    if (windows) drawOffscreenWithoutDisplay();
    std::unique_ptr<QCoreApplication> application = windows ? std::make_unique<QApplication>(argc, argv)
                                                            : std::make_unique<QCoreApplication>(argc, argv);
    speakUsersLanguage(*application, windows);
    return application;
}

int reported(const QString& message, int status) {
    QTextStream(stderr) << "dorvanel: " << message << Qt::endl;
    return status;
}

int runReportingFailures(int argc, char* argv[]) {
    const QStringList words = argumentWords(argc, argv);
    const auto application = applicationFor(words, argc, argv);
    quietSqlLog();
    try {
        return runCommand(parseInvocation(words));
    } catch (const UsageError& usage) {
        return reported(usage.message + Texts::tr("\nVea dorvanel --help"), WrongUsage);
    } catch (const Failure& failure) {
        return reported(failure.message, failure.status);
    } catch (...) {
        const Failure failure = failureOf(Error::fromCurrentException(), QString());
        return reported(failure.message, failure.status);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!debugging()) qtDefaultHandler = qInstallMessageHandler(withoutLibraryChatter);
    return runReportingFailures(argc, argv);
}
