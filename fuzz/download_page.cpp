// The download page's text for a location read from the database. The location may only ever be
// the link's target: the page around it stays as it is, the target holds no markup character,
// reads back as the location, and is never a scheme that runs code.

#include "repository/DownloadPageText.h"
#include "support/FuzzInput.h"

using namespace dorvanel;
using dorvanel::fuzz::fail;

namespace {

const QString Start = QStringLiteral("<html><body><a");
const QString End = QStringLiteral(
    " target=\"_blank\">Pulse aqu&iacute; para descargar el archivo. </a><br>(O haga click con el bot&oacute;n "
    "derecho del mouse sobre el enlace y seleccione Guardar como...)</body></html>");

QString unescaped(QString value) {
    return value.replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// What a browser takes for the scheme: blanks and control characters anywhere dropped, case
// folded.
bool runsCode(const QString& target) {
    QString scheme;
    for (const QChar c : target)
        if (c.unicode() > ' ') scheme += c.toLower();
    for (const char* code : {"javascript:", "vbscript:", "data:"})
        if (scheme.startsWith(QLatin1String(code))) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QString location = fuzz::textOf(data, size);
    const QString page = downloadPageText(location);
    if (!page.startsWith(Start) || !page.endsWith(End)) fail("the page around the link changed", page);
    const QString link = page.mid(Start.size(), page.size() - Start.size() - End.size());
    if (link.isEmpty()) {
        if (!runsCode(location)) fail("an ordinary location was not made a link", location);
        return 0;
    }
    const QString prefix = QStringLiteral(" href=\"");
    if (!link.startsWith(prefix) || !link.endsWith(QLatin1Char('"'))) fail("a malformed link", link);
    const QString target = link.mid(prefix.size(), link.size() - prefix.size() - 1);
    for (const QChar markup : {u'"', u'<', u'>'})
        if (target.contains(markup)) fail("a markup character in the link", target);
    if (unescaped(target) != location) fail("the link does not read back as the location", target);
    if (runsCode(unescaped(target))) fail("a link that runs code", target);
    return 0;
}
