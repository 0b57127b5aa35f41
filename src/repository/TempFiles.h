#pragma once

#include <QString>
#include <memory>

namespace dorvanel {

class Connection;
class Recordset;

// Writes the content column of the one Docs row that sql selects to "temp." plus the row's
// TypeData in the component's temporary folder and returns the file's name; an outside
// document gives its location instead, and a missing row or a failure gives "".
QString DocumentToTempFile(const std::shared_ptr<Connection>& connection, const QString& sql,
                           const QString& contentColumn);

// Whether the current row's storeout marks an outside document (any nonzero value).
bool IsStoreOut(const Recordset& rows);

}  // namespace dorvanel
