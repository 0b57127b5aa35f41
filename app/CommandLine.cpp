#include "CommandLine.h"

#include <optional>
#include <utility>

namespace dorvanel::cli {

namespace {

const QString DatabaseOption = QStringLiteral("--db");
const QString EndOfOptions = QStringLiteral("--");

bool looksLikeOption(const QString& word) { return word.size() > 1 && word.startsWith(QLatin1Char('-')); }

// Splits "--name=value" into its two parts; a word without "=" has no value of its own.
std::pair<QString, std::optional<QString>> splitInlineValue(const QString& word) {
    const qsizetype equals = word.indexOf(QLatin1Char('='));
    if (!word.startsWith(EndOfOptions) || equals < 0) return {word, std::nullopt};
    return {word.left(equals), word.mid(equals + 1)};
}

// The option's value: the one after "=", or else the next word (moving i onto it).
QString takeValue(const QString& name, const std::optional<QString>& inlineValue, const QStringList& words,
                  qsizetype& i) {
    if (inlineValue) return *inlineValue;
    if (++i < words.size()) return words[i];
    throw UsageError{QStringLiteral("falta el valor de la opción %1").arg(name)};
}

const OptionSyntax* findOption(const CommandSyntax& syntax, const QString& name) {
    for (const OptionSyntax& option : syntax.options)
        if (option.name == name) return &option;
    return nullptr;
}

}  // namespace

Invocation parseInvocation(const QStringList& words) {
    Invocation invocation;
    invocation.databaseUrl = qEnvironmentVariable("DORVANEL_DB");
    qsizetype i = 0;
    for (; i < words.size() && looksLikeOption(words[i]); ++i) {
        const auto [name, inlineValue] = splitInlineValue(words[i]);
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            invocation.command = QStringLiteral("help");
            return invocation;
        }
        if (name != DatabaseOption) throw UsageError{QStringLiteral("opción desconocida: %1").arg(name)};
        invocation.databaseUrl = takeValue(name, inlineValue, words, i);
    }
    invocation.command = words.value(i);
    invocation.arguments = words.mid(i + 1);
    return invocation;
}

Arguments Arguments::parse(const QString& command, const CommandSyntax& syntax, const QStringList& words) {
    Arguments arguments;
    arguments.command_ = command;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!optionsEnded && words[i] == EndOfOptions) {
            optionsEnded = true;
        } else if (optionsEnded || !looksLikeOption(words[i])) {
            arguments.positionals_ << words[i];
        } else {
            arguments.readOption(syntax, words, i);
        }
    }
    arguments.requirePositionals(syntax);
    return arguments;
}

void Arguments::readOption(const CommandSyntax& syntax, const QStringList& words, qsizetype& i) {
    const auto [name, inlineValue] = splitInlineValue(words[i]);
    const OptionSyntax* option = findOption(syntax, name);
    if (!option) throw UsageError{QStringLiteral("%1 no tiene la opción %2").arg(command_, name)};
    if (!option->takesValue && inlineValue) throw UsageError{QStringLiteral("la opción %1 no lleva valor").arg(name)};
    options_[name] << (option->takesValue ? takeValue(name, inlineValue, words, i) : QString());
}

void Arguments::requirePositionals(const CommandSyntax& syntax) const {
    const qsizetype expected = syntax.positionals.size();
    const qsizetype given = positionals_.size();
    if (given < expected) throw UsageError{QStringLiteral("%1: falta %2").arg(command_, syntax.positionals[given])};
    if (given > expected)
        throw UsageError{QStringLiteral("%1: sobra el argumento «%2»").arg(command_, positionals_[expected])};
}

QString Arguments::value(const QString& option) const {
    const QStringList given = values(option);
    return given.isEmpty() ? QString() : given.last();
}

QString Arguments::required(const QString& option) const {
    if (!isSet(option)) throw UsageError{QStringLiteral("%1 necesita la opción %2").arg(command_, option)};
    return value(option);
}

}  // namespace dorvanel::cli
