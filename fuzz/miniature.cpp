// Picture files through the miniature the add dialog makes of them: the file's content decides
// its format (JPEG, PNG, GIF, BMP, TIFF...), whatever its accepted extension says. Whatever the
// header claims, making the miniature ends within bounded memory, with a miniature that was
// written, or with none when the content is no picture it can draw.

#include "component/Globals.h"
#include "dialogs/MakeMiniatureFile.h"
#include "host/DefaultOskel.h"
#include "support/FuzzInput.h"

#include <QFileInfo>

using namespace dorvanel;
using dorvanel::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::startQt(true);
    if (!gOskel) gOskel = std::make_shared<DefaultOskel>();
    const QString file = fuzz::writtenFile(QStringLiteral("imagen.jpg"), fuzz::bytesOf(data, size));
    const QString miniature = makeMiniatureFile(file);
    if (!miniature.isEmpty() && !QFileInfo::exists(miniature)) fail("a miniature was given but not written", file);
    return 0;
}
