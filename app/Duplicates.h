#pragma once

#include <QByteArray>
#include <QString>

namespace dorvanel::cli {

class Session;

// The groups of documents that hold the same content, largest first: as text, each group's
// digest, size, and the space its copies take beyond the first, then its keys; or as JSON.
QString duplicatesText(Session& session);
QByteArray duplicatesJson(Session& session);

}  // namespace dorvanel::cli
