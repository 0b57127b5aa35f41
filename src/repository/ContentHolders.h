#pragma once

#include <QString>
#include <QStringList>

namespace dorvanel {

class Connection;

// The keys of the documents that hold content (Data is not NULL) and meet the condition on Docs
// d, if one is given, oldest first.
QStringList documentsHoldingContent(Connection& connection, const QString& condition = {});

}  // namespace dorvanel
