#include "support/FuzzDatabase.h"

#include "host/Schema.h"
#include "platform/Connection.h"

namespace dorvanel::fuzz {

namespace {

void addDocument(Connection& connection, const QString& guid, const QString& name, const QString& type,
                 const QString& parent, int sis) {
    connection.Execute(
        QStringLiteral(
            "INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout) VALUES (?, ?, ?, ?, ?, 0)"),
        {guid, name, QStringLiteral("descripción de ") + name, QStringLiteral("clave \"uno\" dos's"), type});
    connection.Execute(QStringLiteral("INSERT INTO DocLink (FK_Parent, FK_Doc, TypeParent, Sis) VALUES (?, ?, 'C', ?)"),
                       {parent, guid, sis});
}

}  // namespace

std::shared_ptr<Connection> sampleDatabase() {
    // "sqlite:" alone is SQLite's private temporary database, gone when it closes.
    std::shared_ptr<Connection> connection = Connection::open(QStringLiteral("sqlite:"));
    createSchema(*connection);
    addDocument(*connection, QString(32, QLatin1Char('1')), QStringLiteral("Contrato de alquiler"),
                QStringLiteral("pdf"), FirstParent, 1);
    addDocument(*connection, QString(32, QLatin1Char('2')), QStringLiteral("Factura Ñandú"), QStringLiteral("jpg"),
                SecondParent, 0);
    return connection;
}

}  // namespace dorvanel::fuzz
