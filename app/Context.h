#pragma once

#include "Session.h"

#include <QString>
#include <QTextStream>
#include <optional>

namespace dorvanel::cli {

// What a command runs with. The database opens when a command first needs it, so that
// help never touches one.
class Context {
public:
    // userName: the name the changes are recorded under; empty for the system user's.
    Context(QString requestedUrl, QString userName, QTextStream& stream);

    // Whether the command line or DORVANEL_DB named the database.
    bool databaseNamed() const { return !requestedUrl_.isEmpty(); }

    // The database the command line or DORVANEL_DB named, or else the embedded one.
    QString databaseUrl() const;

    // The database, which must exist: reading never creates one.
    Session& session() { return open(MissingDatabase::Refused); }

    // The database, created when missing: for the commands that make one.
    Session& sessionCreating();

    // The database as a message names it, without looking for the default one.
    QString shownDatabaseName() const;

    QTextStream& out;

private:
    Session& open(MissingDatabase missing);

    QString requestedUrl_;
    QString userName_;
    std::optional<Session> session_;
};

}  // namespace dorvanel::cli
