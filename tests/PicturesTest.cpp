// Choosing a file through the open dialog, and the miniatures made of pictures.

#include "component/Globals.h"
#include "dialogs/ChooseFile.h"
#include "dialogs/CommonDialog.h"
#include "dialogs/MakeMiniature.h"
#include "dialogs/PictureSurface.h"
#include "dialogs/dlgAdd/dlgAdd.h"
#include "host/DefaultOskel.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "support/ScriptedFileDialog.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QTemporaryDir>

using namespace dorvanel;
using dorvanel::test::ScriptedFileDialog;

namespace {

TEST(ChooseFile, CancelledOrFailedGivesEmptyAndNeverAnEarlierChoice) {
    // Choosing a file is checked through the add dialog.
    const std::tuple<const char*, FileDialogRunner, QString> answers[] = {
        {"cancelled", [](QFileDialog&) { return int(QDialog::Rejected); }, QString()},
        {"failed", [](QFileDialog&) -> int { throw Error(Error::Unexpected, QStringLiteral("roto")); }, QString()},
    };
    for (const auto& [what, answer, expected] : answers) {
        CommonDialog CMD;
        CMD.SetFileName(QStringLiteral("/tmp/anterior.jpg"));
        QString shownWith = QStringLiteral("not shown");
        ScriptedFileDialog script([&](QFileDialog& dialog) {
            shownWith = CMD.FileName();
            EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
            return answer(dialog);
        });
        EXPECT_EQ(ChooseFile(dlgAdd::PictureFilter(), CMD), expected) << what;
        EXPECT_EQ(shownWith, QString()) << what;
    }
}

TEST(CommonDialog, FilterBecomesQtNameFiltersShownAsGiven) {
    CommonDialog CMD;
    CMD.SetFilter(QStringLiteral("Texto|*.txt; *.TXT|Huérfano"));
    ScriptedFileDialog script([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("Texto (*.txt *.TXT)")});
        const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        EXPECT_TRUE(types && types->count() == 1 && types->itemText(0) == QStringLiteral("Texto"));
        return int(QDialog::Rejected);
    });
    CMD.ShowOpen();
}

const QColor Painted(200, 40, 60);

QByteArray encoded(QSize size, const char* format = "JPEG") {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Painted);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format)) << format;
    return buffer.data();
}

::testing::AssertionResult hasColour(const QImage& image, QPoint at, QColor expected) {
    const QColor seen = image.pixelColor(at);
    const int distance = std::abs(seen.red() - expected.red()) + std::abs(seen.green() - expected.green()) +
                         std::abs(seen.blue() - expected.blue());
    if (distance < 16) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << at.x() << "," << at.y() << " is " << seen.name().toStdString();
}

// Starts without a "Temp.bmp" and leaves none, with the shipped services object.
class Miniature : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(miniatureFile); }
    void TearDown() override {
        QFile::remove(miniatureFile);
        gOskel = savedOskel_;
        QImageReader::setAllocationLimit(savedLimit_);
    }

    QString write(const QString& name, const QByteArray& content) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        return file.fileName();
    }

    inline static const QString miniatureFile = ComponentFile::tempFolder() + QStringLiteral("/Temp.bmp");
    PictureSurface surface{1800, 1400};  // as the add dialog's picMiniature starts
    QTemporaryDir dir;

private:
    std::shared_ptr<Oskel> savedOskel_ = std::exchange(gOskel, std::make_shared<DefaultOskel>());
    int savedLimit_ = QImageReader::allocationLimit();
};

TEST_F(Miniature, PicturesGiveTheMiniatureFileFixedWidthInTheirProportionsOtherFilesNothing) {
    // A large photograph is decoded at the miniature's size, never whole: whole, it takes 92 MiB.
    const QByteArray photograph = encoded({6000, 4000});
    QImageReader::setAllocationLimit(16);
    ASSERT_TRUE(QImage::fromData(photograph).isNull()) << "the limit must forbid decoding it whole";
    // Each miniature replaces the last in the same file.
    const std::tuple<const char*, QByteArray, QSize, QColor> cases[] = {
        // Other files give nothing and write nothing.
        {"logo.png", encoded({40, 30}, "PNG"), {}, {}},
        {"Casa.JPG", encoded({400, 300}), {120, 90}, Painted},
        // Not a picture after all: nothing can be drawn or saved, and the path comes all the same,
        // to no file: the miniature before it is not left there to pass for its own.
        {"roto.jpg", "no es una imagen", {0, 0}, {}},
        {"alto.jpg", encoded({100, 1000}), {120, 1200}, Painted},
        {"grande.jpg", photograph, {120, 80}, Painted},
        {"escaneo.tif", encoded({1000, 10}, "TIFF"), {120, 1}, Painted},
        // One transparent black pixel: the white background shows through.
        {"punto.gif",
         QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7"),
         {120, 120},
         Qt::white},
        // A header that claims 1 x 65,535 pixels: 3.7 GB at the miniature's width, beyond what
        // the reader lets a picture take. Drawing and resizing are refused; the surface stays.
        {"alto.gif",
         QByteArray::fromBase64("R0lGODlhAQD//4AAAAAAAP///yH5BAEAAAAALAAAAAABAP//AAIBRAA7"),
         {120, 120},
         Qt::white},
    };
    for (const auto& [name, content, size, colour] : cases) {
        const QString made = MakeMiniature(write(QString::fromUtf8(name), content), surface);
        EXPECT_EQ(made, size.isValid() ? miniatureFile : QString()) << name;
        EXPECT_TRUE(size.isValid() || !QFile::exists(miniatureFile)) << name << " wrote a miniature";
        const QImage miniature(miniatureFile, "BMP");
        if (!size.isValid()) continue;
        EXPECT_EQ(miniature.size(), size) << name;
        if (miniature.isNull()) continue;
        EXPECT_EQ(surface.Height(), float(size.height()) * PictureSurface::TwipsPerPixel) << name;
        // The far corner too: nothing drawn past the surface's first size was clipped.
        EXPECT_TRUE(hasColour(miniature, {size.width() - 1, size.height() - 1}, colour)) << name;
    }
    // Without the services object no extension is known.
    gOskel.reset();
    QFile::remove(miniatureFile);
    EXPECT_EQ(MakeMiniature(write(QStringLiteral("Casa.jpg"), encoded({40, 30})), surface), QString());
    EXPECT_FALSE(QFile::exists(miniatureFile));
}

}  // namespace
