#pragma once

#include <QString>
#include <memory>

namespace dorvanel {

class Connection;
class Recordset;

// Writes the content column of the Docs row that sql selects (the row whose Sys_PK is sysPk)
// to "temp." plus the row's TypeData in the component's temporary folder and returns the
// file's name; an outside document gives its location instead, and a missing row or a
// failure gives "". The query runs with its content column left out, and the content is then
// copied by the row's key in bounded pieces. The file, readable by its owner only, is removed when
// the Manager live as it was written ends.
QString DocumentToTempFile(const std::shared_ptr<Connection>& connection, const QString& sql,
                           const QString& contentColumn, qint32 sysPk);

// Whether the current row's storeout marks an outside document (any nonzero value).
bool IsStoreOut(const Recordset& rows);

}  // namespace dorvanel
