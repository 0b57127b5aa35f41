// File names as import finds them in a folder: bytes that need not be UTF-8. The name must go
// back to the same bytes, show as valid text, give the document's proposed name and type code,
// and the work file named after that type code must stay in its folder.

#include "LocalFile.h"
#include "host/DefaultOskel.h"
#include "platform/FileNames.h"
#include "support/FuzzInput.h"

#include <QDir>
#include <QStringDecoder>

using namespace dorvanel;
using dorvanel::fuzz::fail;

namespace {

// fileInFolder's result names an entry of the folder itself.
void requireInFolder(const QString& folder, const QString& name) {
    const QString path = fileInFolder(folder, name);
    const QString parent = QDir::cleanPath(path + QStringLiteral("/.."));
    if (parent != folder || path.mid(folder.size() + 1).contains(QLatin1Char('/')))
        fail("a work file outside its folder", name + QStringLiteral(" -> ") + path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::startQt();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString name = cli::decodeLocalName(bytes);
    if (cli::encodeLocalName(name) != bytes) fail("a name does not go back to its bytes", cli::shownName(name));
    const QString shown = cli::shownName(name);
    // A name may start with a byte order mark, which is a character of it like any other.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    if (QString(utf8(shown.toUtf8())) != shown) fail("a shown name that is not valid text", shown);
    if (bytes.isEmpty()) return 0;

    DefaultOskel services;
    const QString path = QStringLiteral("/carpeta/") + name;
    services.FileBaseName(cli::shownName(path));
    const QString type = services.FileExtension(path);
    static const QString folder = QStringLiteral("/tmp/dorvanel-fuzz");
    requireInFolder(folder, QStringLiteral("temp.") + type);
    requireInFolder(folder, QString(32, QLatin1Char('A')) + QStringLiteral(".XXXXXX.") + type);
    return 0;
}
