#include "dialogs/MakeMiniature.h"

#include "component/Globals.h"
#include "component/Oskel.h"
#include "dialogs/PictureFile.h"
#include "dialogs/PictureSurface.h"
#include "platform/ComponentFile.h"
#include "repository/FailureStyles.h"

#include <QStringList>

namespace dorvanel {

namespace {

// Compared with the lower-cased extension. Neither "png" nor "ico" is among them.
const QStringList PictureExtensions{
    QStringLiteral("bmp"),  QStringLiteral("dib"), QStringLiteral("jpeg"), QStringLiteral("jpg"), QStringLiteral("jpe"),
    QStringLiteral("jfif"), QStringLiteral("gif"), QStringLiteral("tiff"), QStringLiteral("tif"),
};

QString miniatureFile() {
    return Required(gOskel).FolderWithSeparator(ComponentFile::tempFolder()) + QStringLiteral("Temp.bmp");
}

void saveAsBitmap(const QImage& image, const QString& file) {
    if (!image.save(file, "BMP"))
        throw Error(Error::FileFailed, QStringLiteral("No se puede escribir el archivo %1").arg(file));
}

}  // namespace

QString MakeMiniature(const QString& FileName, PictureSurface& Surface) {
    QString result;
    QString extension;
    ContinueOnFailure([&] { extension = Required(gOskel).FileExtension(FileName).toLower(); });
    if (!PictureExtensions.contains(extension)) return result;

    PictureFile picture;
    ContinueOnFailure([&] { picture = PictureFile(FileName); });
    float ratio = 0;
    ContinueOnFailure([&] { ratio = float(picture.size().height()) / float(picture.size().width()); });
    const float height = MiniatureWidth * ratio;
    ContinueOnFailure([&] { Surface.Cls(); });
    ContinueOnFailure([&] { Surface.PaintPicture(picture, 0, 0, MiniatureWidth, height); });
    ContinueOnFailure([&] { Surface.SetWidth(MiniatureWidth); });
    ContinueOnFailure([&] { Surface.SetHeight(height); });
    ContinueOnFailure([&] { saveAsBitmap(Surface.Image(), miniatureFile()); });
    ContinueOnFailure([&] { result = miniatureFile(); });
    return result;
}

}  // namespace dorvanel
