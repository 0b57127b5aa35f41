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
    for (const QString& sql : {SqlTexts::documentContent(999999),
                               QStringLiteral("Select storeout,urlfile,Data,TypeData From Missing Where Sys_PK =1")})
        EXPECT_EQ(DocumentToTempFile(connection, sql, QStringLiteral("data"), 1), QString()) << sql.toStdString();

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

// Pictures open in the shell; other types, and any type saved, go through the download page;
// without a key or a type nothing is done.
TEST_F(FetchingTest, OpenDocumentChoosesShellOrDownloadPage) {
    const QString picture = storeFile(QStringLiteral("Foto"), QStringLiteral("jpg"), QByteArray("jpg"));
    const qint32 report = pkOf(storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("pdf")));
    const QString web = storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/x.png"));
    const struct {
        qint32 pk;
        QString type;
        bool saveAs;
        QString shellOpened;  // else the download page links to `page`, if that is not null either
        QString page;
    } cases[] = {
        {pkOf(picture), QStringLiteral("JPG"), false, tempFile(QStringLiteral("jpg")), {}},
        {pkOf(picture), QStringLiteral("jpg"), true, {}, tempFile(QStringLiteral("jpg"))},
        {report, QStringLiteral("pdf"), false, {}, tempFile(QStringLiteral("pdf"))},
        {pkOf(web), QStringLiteral("png"), false, QStringLiteral("https://example.com/x.png"), {}},
        {424242, QStringLiteral("gif"), false, QStringLiteral(""), {}},
        {0, QStringLiteral("pdf"), false, {}, {}},
        {report, QString(), false, {}, {}},
    };
    for (const auto& c : cases) {
        oskel->calls.clear();
        shownPages.clear();
        SqlLogCapture log;
        manager->OpenDocument(c.pk, c.type, c.saveAs);
        const QString read =
            QStringLiteral("Select storeout,urlfile,Data,TypeData From Docs Where Sys_PK =%1").arg(c.pk);
        if (!c.shellOpened.isNull()) {
            EXPECT_EQ(oskel->calls, QStringList{QStringLiteral("ShellOpen %1 open 0").arg(c.shellOpened)}) << c.pk;
            EXPECT_TRUE(shownPages.isEmpty());
        } else if (!c.page.isNull()) {
            EXPECT_EQ(shownPages, QStringList{folder() + QStringLiteral("/download7.html")}) << c.pk;
            EXPECT_TRUE(oskel->writtenText.startsWith(pageLink(c.page))) << oskel->writtenText.toStdString();
        } else {
            EXPECT_TRUE(log.statements().isEmpty() && oskel->calls.isEmpty() && shownPages.isEmpty()) << c.pk;
            continue;
        }
        EXPECT_EQ(log.statements().value(0), read);
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
