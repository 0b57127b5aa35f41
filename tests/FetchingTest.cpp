#include "component/Globals.h"
#include "dialogs/MakeMiniatureFile.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "repository/DocumentToTempFile.h"
#include "repository/SqlTexts.h"
#include "support/RepositoryTest.h"
#include "support/SqlLogCapture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <sys/stat.h>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// The download page's link, to the given location.
QString pageLink(const QString& location) {
    return QStringLiteral("<html><body><a href=\"") + location + QStringLiteral("\" target=");
}

QString tempFile(const QString& type) { return ComponentFile::tempFolder() + QStringLiteral("/temp.") + type; }

using FetchingTest = RepositoryTest;

// Content and miniature go to the temporary file of the type, which the next one replaces. An
// outside document gives its location; no content, or no row, gives "".
TEST_F(FetchingTest, DocumentToTempFileWritesTheFileOfTheTypeOrGivesTheLocation) {
    const QString first = storeFile(QStringLiteral("Uno"), QStringLiteral("jpg"), QByteArray("one\0", 4),
                                    QByteArray("mini-one"));
    const QString second = storeFile(QStringLiteral("Dos"), QStringLiteral("jpg"), QByteArray("two"));
    const QString url = storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/a.pdf"));
    const QString path = toTempFile(first);
    EXPECT_EQ(path, tempFile(QStringLiteral("jpg")));
    EXPECT_EQ(contentOf(path), QByteArray("one\0", 4));
    EXPECT_EQ(toTempFile(first, true), path);
    EXPECT_EQ(contentOf(path), QByteArray("mini-one"));
    EXPECT_EQ(toTempFile(second, true), QString()) << "no miniature, no file";
    EXPECT_EQ(toTempFile(url), QStringLiteral("https://example.com/a.pdf"));

    // A NULL storeout is inside: the outside row has no content, the other keeps its own.
    connection->Execute(QStringLiteral("UPDATE Docs SET storeout = NULL"));
    EXPECT_EQ(toTempFile(url), QString());
    EXPECT_EQ(toTempFile(second), path);
    EXPECT_EQ(contentOf(path), QByteArray("two"));
}

TEST_F(FetchingTest, TheTypeCodeNeverLeadsOutOfTheTempFolder) {
    const QString guid = storeFile(QStringLiteral("Acta"), QStringLiteral("txt"), QByteArray("inside"));
    connection->Execute(QStringLiteral("UPDATE Docs SET TypeData = '../../escape'"));
    const QString path = toTempFile(guid);
    EXPECT_EQ(path, ComponentFile::tempFolder() + QStringLiteral("/temp..._.._escape"));
    EXPECT_EQ(contentOf(path), QByteArray("inside"));
}

// Whether a picture opens on the desktop and other types on the download page is checked through
// the browse and find dialogs; here, what is opened, the page's link, and what is done for nothing.
TEST_F(FetchingTest, OpenDocumentOpensTheLocationOrTheTempFileAndNothingWithoutKeyOrType) {
    const qint32 report = pkOf(storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("pdf")));
    const qint32 web = pkOf(storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/x.png")));
    const std::pair<qint32, QString> opened[] = {{web, QStringLiteral("https://example.com/x.png")}, {424242, {}}};
    for (const auto& [pk, location] : opened) {
        oskel->calls.clear();
        manager->OpenDocument(pk, QStringLiteral("PNG"));
        EXPECT_EQ(oskel->calls, QStringList{QStringLiteral("ShellOpen %1 open 0").arg(location)}) << pk;
    }
    manager->OpenDocument(report, QStringLiteral("pdf"));
    EXPECT_TRUE(oskel->writtenText.startsWith(pageLink(tempFile(QStringLiteral("pdf")))));
    for (const auto& [pk, type] : {std::pair{0, QStringLiteral("pdf")}, std::pair{report, QString()}}) {
        oskel->calls.clear();
        shownPages.clear();
        SqlLogCapture log;
        manager->OpenDocument(pk, type);
        EXPECT_TRUE(log.statements().isEmpty() && oskel->calls.isEmpty() && shownPages.isEmpty()) << pk;
    }
    EXPECT_EQ(manager->LastErr(), 0);

    oskel->writeSucceeds = false;
    manager->OpenDocument(report, QStringLiteral("pdf"));
    EXPECT_TRUE(shownPages.isEmpty()) << "a page that could not be written";
    EXPECT_EQ(messages, QStringList{QStringLiteral("Error al tratar de guardar archivo html temporal|0|")});
    gOskel.reset();  // a picture type is opened through the services object
    manager->OpenDocument(report, QStringLiteral("jpg"));
    EXPECT_EQ(manager->LastErr(), Error::ObjectNotSet);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

// Opening, downloading and the miniature write their work files for the owner alone; the
// Manager's end removes them, but not a file that another has since written under a name.
TEST_F(FetchingTest, WorkFilesAreTheOwnersAloneAndEndWithTheirManager) {
    QBuffer photo;
    photo.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImage(40, 30, QImage::Format_RGB32).save(&photo, "JPEG"));
    const QString photoFile = writeFile(QStringLiteral("Foto.jpg"), photo.data());
    manager->OpenDocument(pkOf(storeFile(QStringLiteral("Foto"), QStringLiteral("jpg"), photo.data())),
                          QStringLiteral("jpg"));
    manager->OpenDocument(pkOf(storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), "pdf")),
                          QStringLiteral("pdf"));
    const QString miniature = makeMiniatureFile(photoFile);
    // The picture handed to the desktop is its viewer's now; the page's file rewritten by
    // another process is no longer the component's.
    const struct {
        QString file;
        bool rewrittenByAnother, staysAfterTheManager;
    } workFiles[] = {
        {tempFile(QStringLiteral("jpg")), false, true},
        {tempFile(QStringLiteral("pdf")), true, true},
        {miniature, false, false},
    };
    for (const auto& [file, rewrittenByAnother, stays] : workFiles) {
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0) << file.toStdString();
        EXPECT_EQ(status.st_mode & 0777, 0600u) << file.toStdString();
        if (!rewrittenByAnother) continue;
        QFile::remove(file);
        QFile another(file);
        ASSERT_TRUE(another.open(QIODevice::WriteOnly) && another.write("ajeno") == 5);
    }
    manager.reset();
    gManager.reset();
    for (const auto& [file, rewrittenByAnother, stays] : workFiles)
        EXPECT_EQ(QFile::exists(file), stays) << file.toStdString();
}

TEST_F(FetchingTest, RemoveDocumentLeavesTheLinksAndRecordsARefusal) {
    const QString guid = storeFile(QStringLiteral("Acta"), QStringLiteral("txt"), QByteArray("acta"));
    link(Key(QStringLiteral("A")), guid);
    EXPECT_TRUE(manager->RemoveDocument(guid));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1) << "links are not touched";
    EXPECT_FALSE(manager->RemoveDocument(guid));
    EXPECT_NE(manager->LastErr(), 0);
}

}  // namespace
