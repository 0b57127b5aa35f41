#include "component/Globals.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "repository/DocumentToTempFile.h"
#include "repository/DownloadPage.h"
#include "repository/SqlTexts.h"
#include "support/RepositoryTest.h"
#include "support/SqlLogCapture.h"

#include <QFile>

using namespace dorvanel;
using namespace dorvanel::test;

using namespace Qt::StringLiterals;

namespace {

// The download page's link, to the given location.
QString pageLink(const QString& location) { return u"<html><body><a href=\""_s + location + u"\" target="_s; }

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString tempFile(const QString& type) { return ComponentFile::tempFolder() + u"/temp."_s + type; }

class FetchingTest : public RepositoryTest {
protected:
    // The document's content, or its miniature, to the temporary file of its type.
    QString fetch(const QString& guid, bool miniature = false) {
        const qint32 pk = pkOf(guid);
        return miniature ? DocumentToTempFile(connection, SqlTexts::documentMiniature(pk), u"Minidata"_s, pk)
                         : DocumentToTempFile(connection, SqlTexts::documentContent(pk), u"data"_s, pk);
    }
};

TEST_F(FetchingTest, ContentGoesToTheTempFileOfItsType) {
    const QString first = storeFile(u"Uno"_s, u"jpg"_s, QByteArray("one\0", 4), QByteArray("mini-one"));
    const QString second = storeFile(u"Dos"_s, u"jpg"_s, QByteArray("two"));
    const QString path = fetch(first);
    EXPECT_EQ(path, tempFile(u"jpg"_s));
    EXPECT_EQ(contentOf(path), QByteArray("one\0", 4));
    EXPECT_EQ(fetch(first, true), path);
    EXPECT_EQ(contentOf(path), QByteArray("mini-one"));
    fetch(second);
    EXPECT_EQ(contentOf(path), QByteArray("two")) << "the next document of the type overwrites it";
    EXPECT_EQ(fetch(second, true), QString()) << "no miniature, no file";
}

TEST_F(FetchingTest, OutsideMissingAndFailingRowsWriteNoFileAndTheTypeStaysInTheTempFolder) {
    const QString url = storeUrl(u"Web"_s, u"https://example.com/a.pdf"_s);
    connection->Execute(u"INSERT INTO Docs (Sys_GUID, Name, TypeData, Data) VALUES (?, 'n', 'txt', ?)"_s,
                        {Key(u"N"_s), QByteArray("inside")});
    EXPECT_EQ(fetch(url), u"https://example.com/a.pdf"_s);
    EXPECT_EQ(fetch(Key(u"N"_s)), tempFile(u"txt"_s));
    for (const QString& sql :
         {SqlTexts::documentContent(999999), u"Select storeout,urlfile,Data,TypeData From Missing Where Sys_PK =1"_s})
        EXPECT_EQ(DocumentToTempFile(connection, sql, u"data"_s, 1), QString()) << sql.toStdString();
    connection->Execute(u"UPDATE Docs SET storeout = NULL"_s);
    EXPECT_EQ(fetch(url), QString()) << "a NULL storeout is inside, and this row has no content";

    // The type code never leads out of the temporary folder.
    connection->Execute(u"UPDATE Docs SET TypeData = '../../escape' WHERE Sys_GUID = ?"_s, {Key(u"N"_s)});
    const QString path = fetch(Key(u"N"_s));
    EXPECT_EQ(path, ComponentFile::tempFolder() + u"/temp..._.._escape"_s);
    EXPECT_EQ(contentOf(path), QByteArray("inside"));
    QFile::remove(path);
}

TEST_F(FetchingTest, OpenDocumentChoosesShellOrDownloadPage) {
    const QString picture = storeFile(u"Foto"_s, u"jpg"_s, QByteArray("jpg"));
    const QString report = storeFile(u"Informe"_s, u"pdf"_s, QByteArray("pdf"));
    const QString web = storeUrl(u"Web"_s, u"https://example.com/x.png"_s);
    const struct {
        qint32 pk;
        QString type;
        bool saveAs;
        QString shellOpened;  // empty: the download page links to `page`
        QString page;
    } cases[] = {
        {pkOf(picture), u"JPG"_s, false, tempFile(u"jpg"_s), {}},
        {pkOf(picture), u"jpg"_s, true, {}, tempFile(u"jpg"_s)},
        {pkOf(report), u"pdf"_s, false, {}, tempFile(u"pdf"_s)},
        {pkOf(web), u"png"_s, false, u"https://example.com/x.png"_s, {}},
        {424242, u"gif"_s, false, u""_s, {}},
    };
    for (const auto& c : cases) {
        oskel->calls.clear();
        shownPages.clear();
        manager->OpenDocument(c.pk, c.type, c.saveAs);
        if (!c.shellOpened.isNull()) {
            EXPECT_EQ(oskel->calls, QStringList{u"ShellOpen %1 open 0"_s.arg(c.shellOpened)}) << c.pk;
            EXPECT_TRUE(shownPages.isEmpty());
        } else {
            ASSERT_EQ(shownPages.size(), 1) << c.pk;
            EXPECT_EQ(shownPages[0], folder() + u"/download7.html"_s);
            EXPECT_TRUE(oskel->writtenText.startsWith(pageLink(c.page))) << oskel->writtenText.toStdString();
        }
    }
    EXPECT_EQ(manager->LastErr(), 0);
}

TEST_F(FetchingTest, OpenDocumentWithoutKeyOrTypeDoesNothingAndRecordsAFailure) {
    const qint32 report = pkOf(storeFile(u"Informe"_s, u"pdf"_s, QByteArray("pdf")));
    oskel->calls.clear();
    SqlLogCapture log;
    manager->OpenDocument(0, u"pdf"_s);
    manager->OpenDocument(report, QString());
    EXPECT_EQ(log.statements().filter(u"Docs Where"_s), QStringList());
    EXPECT_TRUE(oskel->calls.isEmpty());
    EXPECT_TRUE(shownPages.isEmpty());
    gOskel.reset();  // a picture type is opened through the services object
    manager->OpenDocument(report, u"jpg"_s);
    EXPECT_TRUE(log.statements().contains(u"Select storeout,urlfile,Data,TypeData From Docs Where Sys_PK ="_s +
                                          QString::number(report)));
    EXPECT_EQ(manager->LastErr(), Error::ObjectNotSet);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

TEST_F(FetchingTest, DownloadPageEscapesMarkupAndReportsAFailedWrite) {
    manager->SaveAs(u"C:\\docs\\a b.pdf"_s);
    EXPECT_TRUE(oskel->writtenText.startsWith(pageLink(u"C:\\docs\\a b.pdf"_s)));
    manager->SaveAs(u"x\"><script>alert(1)</script>"_s);
    EXPECT_TRUE(oskel->writtenText.startsWith(pageLink(u"x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"_s)));
    oskel->writeSucceeds = false;
    shownPages.clear();
    manager->SaveAs(u"a.pdf"_s);
    EXPECT_TRUE(shownPages.isEmpty());
    EXPECT_EQ(messages, QStringList{u"Error al tratar de guardar archivo html temporal|0|"_s});
}

TEST_F(FetchingTest, GetDocumentFileAndRemoveDocument) {
    const QString guid = storeFile(u"Acta"_s, u"txt"_s, QByteArray("acta\0", 5));
    EXPECT_EQ(contentOf(manager->GetDocumentFile(guid)), QByteArray("acta\0", 5));
    EXPECT_EQ(manager->GetDocFileByName(Key(u"A"_s), u"Acta"_s), QString());
    link(Key(u"A"_s), guid);
    EXPECT_TRUE(manager->RemoveDocument(guid));
    EXPECT_EQ(rowCount(u"SELECT * FROM Docs"_s), 0);
    EXPECT_EQ(rowCount(u"SELECT * FROM DocLink"_s), 1) << "links are not touched";
    EXPECT_FALSE(manager->RemoveDocument(guid));
    EXPECT_NE(manager->LastErr(), 0);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

}  // namespace
