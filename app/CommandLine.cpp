#include "CommandLine.h"
#include "Texts.h"

namespace dorvanel::cli {

namespace {

const QString DatabaseOption = QStringLiteral("db");
const QString UserOption = QStringLiteral("user");
const QString HelpOption = QStringLiteral("help");
const QString VersionOption = QStringLiteral("version");
const OptionSyntax Help{{QStringLiteral("h"), HelpOption},
                        {},
                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "muestra esta ayuda")};

QString spelledName(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The parser reads a single dash like a double one, so "-o" and "-name" are both options.
bool spells(const QString& typed, const OptionSyntax& option) {
    for (const QString& name : option.names)
        if (typed == QLatin1Char('-') + name || typed == QStringLiteral("--") + name) return true;
    return false;
}

const OptionSyntax* optionTyped(const QList<OptionSyntax>& options, const QString& typed) {
    for (const OptionSyntax& option : options)
        if (spells(typed, option)) return &option;
    return nullptr;
}

// The parser's own messages are English; this says in Spanish what it refused. command is
// empty for the options before the command.
QString refusal(const QCommandLineParser& parser, const QString& command, const QList<OptionSyntax>& options,
                const QStringList& words) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString name = spelledName(unknown.first());
        return command.isEmpty() ? Texts::tr("opción desconocida: %1").arg(name)
                                 : Texts::tr("%1 no tiene la opción %2").arg(command, name);
    }
    for (const QString& word : words) {
        const QString typed = word.section(QLatin1Char('='), 0, 0);
        const OptionSyntax* option = optionTyped(options, typed);
        if (typed != word && option && !option->takesValue())
            return Texts::tr("la opción %1 no lleva valor").arg(typed);
    }
    // What is left: an option that needs a value came last, without one.
    return Texts::tr("falta el valor de la opción %1").arg(words.last());
}

bool parseWords(QCommandLineParser& parser, const QList<OptionSyntax>& options, const QStringList& words) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSyntax& option : options)
        parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
    // The parser skips the first word as the program's name.
    return parser.parse(QStringList{QStringLiteral("dorvanel")} + words);
}

}  // namespace

QString spelled(const OptionSyntax& option) {
    QStringList spellings;
    for (const QString& name : option.names) spellings << spelledName(name);
    return spellings.join(QStringLiteral(", "));
}

const QList<OptionSyntax>& globalOptions() {
    static const QList<OptionSyntax> options{
        {{DatabaseOption},
         QStringLiteral("URL"),
         QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "la base de datos, en lugar de la incluida")},
        {{UserOption},
         QStringLiteral("NOMBRE"),
         QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                           "el nombre con que se registran los cambios, en lugar del usuario del sistema")},
        Help,
        {{QStringLiteral("v"), VersionOption}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "muestra la versión")},
    };
    return options;
}

QList<OptionSyntax> acceptedOptions(const CommandSyntax& command) {
    return command.options + QList<OptionSyntax>{Help};
}

Invocation parseInvocation(const QStringList& words) {
    QCommandLineParser parser;
    // Everything from the command on belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parseWords(parser, globalOptions(), words)) throw UsageError{refusal(parser, {}, globalOptions(), words)};

    Invocation invocation;
    // An empty value would mean the default database, where a store would go unawares.
    if (parser.isSet(DatabaseOption) && parser.value(DatabaseOption).isEmpty())
        throw UsageError{Texts::tr("la opción --db necesita una dirección (sqlite:RUTA o postgresql://...)")};
    invocation.databaseUrl = parser.isSet(DatabaseOption) ? parser.value(DatabaseOption)
                                                          : qEnvironmentVariable("DORVANEL_DB");
    if (parser.isSet(UserOption) && parser.value(UserOption).trimmed().isEmpty())
        throw UsageError{Texts::tr("la opción --user necesita un nombre")};
    invocation.userName = parser.value(UserOption);
    invocation.versionWanted = parser.isSet(VersionOption);
    QStringList rest = parser.positionalArguments();
    if (parser.isSet(HelpOption)) rest.prepend(HelpCommand);
    invocation.command = rest.value(0);
    invocation.arguments = rest.mid(1);
    return invocation;
}

Arguments::Arguments(const CommandSyntax& syntax, const QStringList& words) {
    const QList<OptionSyntax> options = acceptedOptions(syntax);
    const bool parsed = parseWords(parser_, options, words);
    helpWanted_ = parser_.isSet(HelpOption);
    if (helpWanted_) return;
    if (!parsed) throw UsageError{refusal(parser_, syntax.name, options, words)};
    requirePositionals(syntax);
    requireOptions(syntax);
}

void Arguments::requirePositionals(const CommandSyntax& syntax) const {
    const QStringList given = parser_.positionalArguments();
    const qsizetype required = syntax.positionals.size();
    const qsizetype allowed = required + syntax.optionalPositionals.size();
    if (given.size() < required)
        throw UsageError{Texts::tr("%1: falta %2").arg(syntax.name, translated(syntax.positionals[given.size()]))};
    if (given.size() > allowed && !syntax.lastRepeats)
        throw UsageError{Texts::tr("%1: sobra el argumento «%2»").arg(syntax.name, given[allowed])};
}

void Arguments::requireOptions(const CommandSyntax& syntax) const {
    for (const OptionSyntax& option : syntax.options)
        if (option.presence == Presence::Required && !parser_.isSet(option.names.first()))
            throw UsageError{Texts::tr("%1 necesita la opción %2").arg(syntax.name, spelled(option))};
}

}  // namespace dorvanel::cli
