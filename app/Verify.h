#pragma once

#include <QStringList>
#include <QTextStream>

namespace dorvanel::cli {

class Session;

// Reads the content of each document named (or of every document that holds one) and compares
// its digest with the one recorded when it was stored. Prints "KEY  reason" on out for each
// one that no longer matches; progress and a summary go to standard error. True when all
// matched (those without a recorded digest are only counted).
bool verifyContents(Session& session, QTextStream& out, const QStringList& guids);

// Computes and records the digest of each document named (or of every one) that holds content
// and has none recorded; prints the count.
void backfillDigests(Session& session, QTextStream& out, const QStringList& guids);

}  // namespace dorvanel::cli
