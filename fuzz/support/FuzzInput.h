#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares: the input as text, a Qt application, files to hand to the code
// under test, and the way a broken promise ends the run.
namespace dorvanel::fuzz {

// The input's bytes, and the same as text (UTF-8; a byte that is not valid UTF-8 becomes U+FFFD).
QByteArray bytesOf(const uint8_t* data, std::size_t size);
QString textOf(const uint8_t* data, std::size_t size);

// A Qt application for the whole run, made on first call: a GUI one draws off screen.
void startQt(bool gui = false);

// Writes the bytes to a file of the given name in a folder of the run's own; gives its path.
QString writtenFile(const QString& name, const QByteArray& bytes);

// A broken promise: prints what and the input's part that broke it, and aborts, which libFuzzer
// reports as a crash with the input that caused it.
[[noreturn]] void fail(const char* what, const QString& detail);

}  // namespace dorvanel::fuzz
