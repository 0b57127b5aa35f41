#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace dorvanel::cli {

// A command line the program cannot run as written; it ends with exit status 2.
struct UsageError {
    QString message;
};

// What comes before the command, and the command's own words.
struct Invocation {
    QString databaseUrl;  // empty: the embedded default database
    QString command;      // empty when none was given
    QStringList arguments;
};

// Reads "[--db URL] COMMAND ARGUMENTS..." (the program name left out). Without --db the
// DORVANEL_DB environment variable names the database.
Invocation parseInvocation(const QStringList& words);

struct OptionSyntax {
    QString name;  // as typed: "--name", "-o"
    bool takesValue = false;
};

struct CommandSyntax {
    QStringList positionals;  // names shown in messages, in order; all are required
    QList<OptionSyntax> options;
};

// A command's arguments checked against its syntax.
class Arguments {
public:
    static Arguments parse(const QString& command, const CommandSyntax& syntax, const QStringList& words);

    QString positional(qsizetype index) const { return positionals_.value(index); }
    bool isSet(const QString& option) const { return options_.contains(option); }
    // The option's last value, or "" when it was not given.
    QString value(const QString& option) const;
    QStringList values(const QString& option) const { return options_.value(option); }
    // The option's value; a UsageError when it was not given.
    QString required(const QString& option) const;

private:
    // Reads the option at words[i], and its value when it takes one (moving i past it).
    void readOption(const CommandSyntax& syntax, const QStringList& words, qsizetype& i);
    void requirePositionals(const CommandSyntax& syntax) const;

    QString command_;
    QStringList positionals_;
    QHash<QString, QStringList> options_;
};

}  // namespace dorvanel::cli
