#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

namespace dorvanel::cli {

// A command line the program cannot run as written; it ends with exit status 2.
struct UsageError {
    QString message;
};

enum class Presence { Optional, Required, Repeatable };

struct OptionSyntax {
    QStringList names;  // without dashes: {"h", "help"}
    QString valueName;  // empty for an option that takes no value
    QString description;
    Presence presence = Presence::Optional;

    bool takesValue() const { return !valueName.isEmpty(); }
};

// What a command accepts, and what its help says about it.
struct CommandSyntax {
    QString name;
    QString summary;  // one line
    QStringList positionals = {};
    QList<OptionSyntax> options = {};
    QStringList optionalPositionals = {};  // may follow the required positionals
    bool lastRepeats = false;              // the last positional may be given any number of times
};

inline const QString HelpCommand = QStringLiteral("help");

// The option's names as typed: "--name", "-h, --help".
QString spelled(const OptionSyntax& option);

// The options that go before the command.
const QList<OptionSyntax>& globalOptions();
// The command's options and the one every command has for its own help.
QList<OptionSyntax> acceptedOptions(const CommandSyntax& command);

// What comes before the command, and the command's own words.
struct Invocation {
    QString databaseUrl;  // empty: the embedded default database
    QString userName;     // empty: the system user's
    QString command;      // empty when none was given
    QStringList arguments;
    bool versionWanted = false;
};

// Reads "[--db URL] [--user NAME] COMMAND ARGUMENTS..." (the program name left out). Without --db the
// DORVANEL_DB environment variable names the database. --help stands for the help command.
Invocation parseInvocation(const QStringList& words);

// A command's arguments checked against its syntax; a UsageError when they do not fit,
// unless they ask for the command's help.
class Arguments {
public:
    Arguments(const CommandSyntax& syntax, const QStringList& words);
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    bool helpWanted() const { return helpWanted_; }
    QString positional(qsizetype index) const { return parser_.positionalArguments().value(index); }
    QStringList positionals() const { return parser_.positionalArguments(); }
    bool isSet(const QString& option) const { return parser_.isSet(option); }
    // The option's last value, or "" when it was not given.
    QString value(const QString& option) const { return parser_.value(option); }
    QStringList values(const QString& option) const { return parser_.values(option); }

private:
    void requirePositionals(const CommandSyntax& syntax) const;
    void requireOptions(const CommandSyntax& syntax) const;

    QCommandLineParser parser_;
    bool helpWanted_ = false;
};

}  // namespace dorvanel::cli
