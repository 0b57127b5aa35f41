#pragma once

#include <QTextStream>

namespace dorvanel::cli {

class Session;

// Reads the text of every document that holds content and has none recorded (with all, of every
// one that holds content), oldest first, through the extraction program, and records it (an empty text with the reason
// when the content gave none). Progress goes to standard error with each document whose text could not be read and why;
// the count read goes to out.
void readContentTexts(Session& session, QTextStream& out, bool all);

}  // namespace dorvanel::cli
