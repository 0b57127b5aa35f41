#include "dialogs/MakeMiniature.h"

#include "component/Globals.h"
#include "component/Oskel.h"
#include "component/WorkFiles.h"
#include "dialogs/PictureFile.h"
#include "dialogs/PictureSurface.h"
#include "platform/ComponentFile.h"
#include "platform/ContentExtractor.h"
#include "platform/NewFile.h"
#include "repository/FailureStyles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
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

void saveAsBitmap(const QImage& image) {
    QBuffer bitmap;
    bitmap.open(QIODevice::WriteOnly);
    if (!image.save(&bitmap, "BMP"))
        throw Error(Error::FileFailed,
                    QCoreApplication::translate("dorvanel::MakeMiniature", "No se puede escribir el archivo %1")
                        .arg(miniatureFile()));
    WriteMiniatureFile(bitmap.data());
}

}  // namespace

// Written whole or not at all, readable by its owner only.
QString WriteMiniatureFile(const QByteArray& bitmap) {
    const QString file = miniatureFile();
    NewFile target(file);
    target.write(bitmap.constData(), bitmap.size());
    target.commit();
    WorkFiles::Made(file);
    return file;
}

QString MakeMiniature(const QString& FileName, PictureSurface& Surface) {
    QString result;
    QString extension;
    ContinueOnFailure([&] { extension = Required(gOskel).FileExtension(FileName).toLower(); });
    if (!PictureExtensions.contains(extension)) return result;
    // An earlier picture's miniature must not pass for this one's if this one cannot be made.
    ContinueOnFailure([&] { WorkFiles::Remove(miniatureFile()); });

    PictureFile picture;
    ContinueOnFailure([&] { picture = PictureFile(FileName); });
    float ratio = 0;
    ContinueOnFailure([&] { ratio = float(picture.size().height()) / float(picture.size().width()); });
    const float height = MiniatureWidth * ratio;
    ContinueOnFailure([&] { Surface.Cls(); });
    ContinueOnFailure([&] { Surface.PaintPicture(picture, 0, 0, MiniatureWidth, height); });
    ContinueOnFailure([&] { Surface.SetWidth(MiniatureWidth); });
    ContinueOnFailure([&] { Surface.SetHeight(height); });
    ContinueOnFailure([&] { saveAsBitmap(Surface.Image()); });
    ContinueOnFailure([&] { result = miniatureFile(); });
    return result;
}

QString MiniatureToStore(const QString& FileName, PictureSurface& Surface) {
    const QString made = MakeMiniature(FileName, Surface);
    return !made.isEmpty() && QFile::exists(made) ? made : QString();
}

QString ExtractedMiniatureToStore(const QString& FileName, ContentExtractor& reader) {
    QString result;
    ContinueOnFailure([&] {
        WorkFiles::Remove(miniatureFile());
        const QString typeCode = Required(gOskel).FileExtension(FileName);
        const ExtractedContent made = reader.extractFile(FileName, typeCode, {.miniature = true, .text = false});
        if (!made.miniature.isEmpty()) result = WriteMiniatureFile(made.miniature);
    });
    return result;
}

}  // namespace dorvanel
