#pragma once

#include <QString>
#include <QTextStream>

namespace dorvanel::cli {

class Session;

// A short guided tour: stores fresh sample documents on the session's database, links,
// lists and fetches them, and tells the user what it did. It can run again and again; each
// run adds its own documents. A throwaway database is one the caller removes afterwards, which
// the closing words say.
void runTour(Session& session, QTextStream& out, const QString& databaseUrl, bool throwaway);

}  // namespace dorvanel::cli
