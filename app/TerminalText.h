#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>

namespace dorvanel::cli {

// Texts from the database or the file system on their way to a terminal. Each control
// character (C0, DEL and C1) is shown escaped, "\n", "\r", "\t" or else "\xNN" ("\u0080" to
// "\u009f" for C1), so that none moves the cursor, colours the screen or splits a line.

// Appends the UTF-8 text so escaped.
void appendTerminalText(std::string& out, QByteArrayView utf8);
// The characters the UTF-8 text takes on the line once escaped.
qsizetype terminalWidth(QByteArrayView utf8);
QString terminalText(const QString& text);

}  // namespace dorvanel::cli
