#pragma once

#include <QString>
#include <memory>

namespace dorvanel {
class Connection;
}

namespace dorvanel::fuzz {

// Two documents, each linked to a parent of its own, the first as a link of the system's.
inline const QString FirstParent = QStringLiteral("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA");
inline const QString SecondParent = QStringLiteral("BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB");

// A SQLite database of the run's own, in memory, with the schema and the two documents above,
// named "Contrato de alquiler" (pdf) and "Factura Ñandú" (jpg).
std::shared_ptr<Connection> sampleDatabase();

}  // namespace dorvanel::fuzz
