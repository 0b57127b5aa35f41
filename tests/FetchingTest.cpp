#include "component/Globals.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "repository/DocumentToTempFile.h"
#include "repository/SqlTexts.h"
#include "support/RepositoryTest.h"
#include "support/SqlLogCapture.h"

#include <QFile>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// The download page's link, to the given location.
QString pageLink(const QString& location) {
    return QStringLiteral("<html><body><a href=\"") + location + QStringLiteral("\" target=");
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString tempFile(const QString& type) { return ComponentFile::tempFolder() + QStringLiteral("/temp.") + type; }

using FetchingTest = RepositoryTest;

TEST_F(FetchingTest, ContentGoesToTheTempFileOfItsType) {
    const QString first = storeFile(QStringLiteral("Uno"), QStringLiteral("jpg"), QByteArray("one\0", 4),
                                    QByteArray("mini-one"));
    const QString second = storeFile(QStringLiteral("Dos"), QStringLiteral("jpg"), QByteArray("two"));
    const QString path = toTempFile(first);
    EXPECT_EQ(path, tempFile(QStringLiteral("jpg")));
    EXPECT_EQ(contentOf(path), QByteArray("one\0", 4));
    EXPECT_EQ(toTempFile(first, true), path);
    EXPECT_EQ(contentOf(path), QByteArray("mini-one"));
    toTempFile(second);
    EXPECT_EQ(contentOf(path), QByteArray("two")) << "the next document of the type overwrites it";
    EXPECT_EQ(toTempFile(second, true), QString()) << "no miniature, no file";
}

TEST_F(FetchingTest, OutsideMissingAndFailingRowsWriteNoFileAndTheTypeStaysInTheTempFolder) {
    const QString url = storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/a.pdf"));
    connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, TypeData, Data) VALUES (?, 'n', 'txt', ?)"),
                        {Key(QStringLiteral("N")), QByteArray("inside")});
    EXPECT_EQ(toTempFile(url), QStringLiteral("https://example.com/a.pdf"));
    EXPECT_EQ(toTempFile(Key(QStringLiteral("N"))), tempFile(QStringLiteral("txt")));
    for (const QString& sql : {SqlTexts::documentContent(999999),
                               QStringLiteral("Select storeout,urlfile,Data,TypeData From Missing Where Sys_PK =1")})
        EXPECT_EQ(DocumentToTempFile(connection, sql, QStringLiteral("data"), 1), QString()) << sql.toStdString();
    connection->Execute(QStringLiteral("UPDATE Docs SET storeout = NULL"));
    EXPECT_EQ(toTempFile(url), QString()) << "a NULL storeout is inside, and this row has no content";

    // The type code never leads out of the temporary folder.
    connection->Execute(QStringLiteral("UPDATE Docs SET TypeData = '../../escape' WHERE Sys_GUID = ?"),
                        {Key(QStringLiteral("N"))});
    const QString path = toTempFile(Key(QStringLiteral("N")));
    EXPECT_EQ(path, ComponentFile::tempFolder() + QStringLiteral("/temp..._.._escape"));
    EXPECT_EQ(contentOf(path), QByteArray("inside"));
    QFile::remove(path);
}

// Pictures open in the shell; other types, and any type saved, go through the download page.
TEST_F(FetchingTest, OpenDocumentChoosesShellOrDownloadPage) {
    const QString picture = storeFile(QStringLiteral("Foto"), QStringLiteral("jpg"), QByteArray("jpg"));
    const QString report = storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("pdf"));
    const QString web = storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/x.png"));
    const struct {
        qint32 pk;
        QString type;
        bool saveAs;
        QString shellOpened;  // null: the download page links to `page`
        QString page;
    } cases[] = {
        {pkOf(picture), QStringLiteral("JPG"), false, tempFile(QStringLiteral("jpg")), {}},
        {pkOf(picture), QStringLiteral("jpg"), true, {}, tempFile(QStringLiteral("jpg"))},
        {pkOf(report), QStringLiteral("pdf"), false, {}, tempFile(QStringLiteral("pdf"))},
        {pkOf(web), QStringLiteral("png"), false, QStringLiteral("https://example.com/x.png"), {}},
        {424242, QStringLiteral("gif"), false, QStringLiteral(""), {}},
    };
    for (const auto& c : cases) {
        oskel->calls.clear();
        shownPages.clear();
        manager->OpenDocument(c.pk, c.type, c.saveAs);
        if (!c.shellOpened.isNull()) {
            EXPECT_EQ(oskel->calls, QStringList{QStringLiteral("ShellOpen %1 open 0").arg(c.shellOpened)}) << c.pk;
            EXPECT_TRUE(shownPages.isEmpty());
        } else {
            EXPECT_EQ(shownPages, QStringList{folder() + QStringLiteral("/download7.html")}) << c.pk;
            EXPECT_TRUE(oskel->writtenText.startsWith(pageLink(c.page))) << oskel->writtenText.toStdString();
        }
    }
    EXPECT_EQ(manager->LastErr(), 0);

    oskel->writeSucceeds = false;
    shownPages.clear();
    manager->OpenDocument(pkOf(report), QStringLiteral("pdf"));
    EXPECT_TRUE(shownPages.isEmpty()) << "a page that could not be written";
    EXPECT_EQ(messages, QStringList{QStringLiteral("Error al tratar de guardar archivo html temporal|0|")});
}

TEST_F(FetchingTest, OpenDocumentWithoutKeyOrTypeDoesNothingAndRecordsAFailure) {
    const qint32 report = pkOf(storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("pdf")));
    oskel->calls.clear();
    SqlLogCapture log;
    manager->OpenDocument(0, QStringLiteral("pdf"));
    manager->OpenDocument(report, QString());
    EXPECT_EQ(log.statements(), QStringList());
    EXPECT_TRUE(oskel->calls.isEmpty());
    EXPECT_TRUE(shownPages.isEmpty());
    gOskel.reset();  // a picture type is opened through the services object
    manager->OpenDocument(report, QStringLiteral("jpg"));
    EXPECT_EQ(log.statements().value(0),
              QStringLiteral("Select storeout,urlfile,Data,TypeData From Docs Where Sys_PK =") +
                  QString::number(report));
    EXPECT_EQ(manager->LastErr(), Error::ObjectNotSet);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

TEST_F(FetchingTest, RemoveDocumentLeavesTheLinksAndRecordsARefusal) {
    const QString guid = storeFile(QStringLiteral("Acta"), QStringLiteral("txt"), QByteArray("acta"));
    link(Key(QStringLiteral("A")), guid);
    EXPECT_TRUE(manager->RemoveDocument(guid));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1) << "links are not touched";
    EXPECT_FALSE(manager->RemoveDocument(guid));
    EXPECT_NE(manager->LastErr(), 0);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

}  // namespace
