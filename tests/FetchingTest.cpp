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

namespace {

const QString PageTail = QStringLiteral(
    "\" target=\"_blank\">Pulse aqu&iacute; para descargar el archivo. </a><br>(O haga click con el "
    "bot&oacute;n derecho del mouse sobre el enlace y seleccione Guardar como...)</body></html>");

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString tempFile(const QString& type) { return ComponentFile::tempFolder() + QStringLiteral("/temp.") + type; }

class FetchingTest : public RepositoryTest {};

TEST_F(FetchingTest, ContentGoesToTheTempFileOfItsType) {
    const QString first = storeFile(QStringLiteral("Uno"), QStringLiteral("jpg"), QByteArray("one\0", 4),
                                    QByteArray("mini-one"));
    const QString second = storeFile(QStringLiteral("Dos"), QStringLiteral("jpg"), QByteArray("two"));
    const QString path = DocumentToTempFile(connection, SqlTexts::documentContent(pkOf(first)), QStringLiteral("data"),
                                            pkOf(first));
    EXPECT_EQ(path, tempFile(QStringLiteral("jpg")));
    EXPECT_EQ(contentOf(path), QByteArray("one\0", 4));
    EXPECT_EQ(DocumentToTempFile(connection, SqlTexts::documentMiniature(pkOf(first)), QStringLiteral("Minidata"),
                                 pkOf(first)),
              path);
    EXPECT_EQ(contentOf(path), QByteArray("mini-one"));
    DocumentToTempFile(connection, SqlTexts::documentContent(pkOf(second)), QStringLiteral("data"), pkOf(second));
    EXPECT_EQ(contentOf(path), QByteArray("two")) << "the next document of the type overwrites it";
    EXPECT_EQ(DocumentToTempFile(connection, SqlTexts::documentMiniature(pkOf(second)), QStringLiteral("Minidata"),
                                 pkOf(second)),
              QString())
        << "no miniature, no file";
}

TEST_F(FetchingTest, OutsideMissingAndFailingRowsWriteNoFile) {
    const QString url = storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/a.pdf"));
    connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, TypeData, Data) VALUES (?, 'n', 'txt', ?)"),
                        {Key(QStringLiteral("N")), QByteArray("inside")});
    const struct {
        QString sql;
        qint32 pk;
        QString expected;
    } cases[] = {
        {SqlTexts::documentContent(pkOf(url)), pkOf(url), QStringLiteral("https://example.com/a.pdf")},
        {SqlTexts::documentContent(pkOf(Key(QStringLiteral("N")))), pkOf(Key(QStringLiteral("N"))),
         tempFile(QStringLiteral("txt"))},
        {SqlTexts::documentContent(999999), 999999, QString()},
        {QStringLiteral("Select storeout,urlfile,Data,TypeData From Missing Where Sys_PK =1"), 1, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DocumentToTempFile(connection, c.sql, QStringLiteral("data"), c.pk), c.expected)
            << c.sql.toStdString();
    connection->Execute(QStringLiteral("UPDATE Docs SET storeout = NULL"));
    EXPECT_EQ(DocumentToTempFile(connection, SqlTexts::documentContent(pkOf(url)), QStringLiteral("data"), pkOf(url)),
              QString())
        << "a NULL storeout is inside, and this row has no content";
}

TEST_F(FetchingTest, TypeCodeNeverLeadsOutOfTheTempFolder) {
    const QString guid = storeFile(QStringLiteral("Raro"), QStringLiteral("pdf"), QByteArray("x"));
    connection->Execute(QStringLiteral("UPDATE Docs SET TypeData = '../../escape' WHERE Sys_GUID = ?"), {guid});
    const QString path = DocumentToTempFile(connection, SqlTexts::documentContent(pkOf(guid)), QStringLiteral("data"),
                                            pkOf(guid));
    EXPECT_EQ(path, ComponentFile::tempFolder() + QStringLiteral("/temp..._.._escape"));
    EXPECT_EQ(contentOf(path), QByteArray("x"));
    QFile::remove(path);
}

TEST_F(FetchingTest, OpenDocumentChoosesShellOrDownloadPage) {
    const QString picture = storeFile(QStringLiteral("Foto"), QStringLiteral("jpg"), QByteArray("jpg"));
    const QString report = storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("pdf"));
    const QString web = storeUrl(QStringLiteral("Web"), QStringLiteral("https://example.com/x.png"));
    const struct {
        qint32 pk;
        QString type;
        bool saveAs;
        QString shellOpened;  // empty: the download page links to `page`
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
            ASSERT_EQ(shownPages.size(), 1) << c.pk;
            EXPECT_EQ(shownPages[0], folder() + QStringLiteral("/download7.html"));
            EXPECT_EQ(oskel->writtenText, QStringLiteral("<html><body><a href=\"") + c.page + PageTail);
        }
    }
    EXPECT_EQ(manager->LastErr(), 0);
}

TEST_F(FetchingTest, OpenDocumentWithoutKeyOrTypeDoesNothing) {
    const qint32 report = pkOf(storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("pdf")));
    oskel->calls.clear();
    SqlLogCapture log;
    manager->OpenDocument(0, QStringLiteral("pdf"));
    manager->OpenDocument(report, QString());
    EXPECT_EQ(log.statements().filter(QStringLiteral("Docs Where")), QStringList());
    EXPECT_TRUE(oskel->calls.isEmpty());
    EXPECT_TRUE(shownPages.isEmpty());
    manager->OpenDocument(report, QStringLiteral("pdf"));
    EXPECT_TRUE(log.statements().contains(
        QStringLiteral("Select storeout,urlfile,Data,TypeData From Docs Where Sys_PK =") + QString::number(report)));
}

TEST_F(FetchingTest, OpenDocumentRecordsAFailure) {
    const QString picture = storeFile(QStringLiteral("Foto"), QStringLiteral("jpg"), QByteArray("jpg"));
    gOskel.reset();
    manager->OpenDocument(pkOf(picture), QStringLiteral("jpg"));
    EXPECT_EQ(manager->LastErr(), Error::ObjectNotSet);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

TEST_F(FetchingTest, DownloadPageEscapesMarkupAndReportsAFailedWrite) {
    manager->SaveAs(QStringLiteral("C:\\docs\\a b.pdf"));
    EXPECT_EQ(oskel->writtenText, QStringLiteral("<html><body><a href=\"C:\\docs\\a b.pdf") + PageTail);
    EXPECT_EQ(oskel->calls.mid(0, 3),
              QStringList({QStringLiteral("WorkFolder"), QStringLiteral("FolderWithSeparator ") + folder(),
                           QStringLiteral("NumberBetween 1 99")}));
    manager->SaveAs(QStringLiteral("x\"><script>alert(1)</script>"));
    EXPECT_TRUE(oskel->writtenText.startsWith(
        QStringLiteral("<html><body><a href=\"x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\" target")));
    oskel->writeSucceeds = false;
    shownPages.clear();
    manager->SaveAs(QStringLiteral("a.pdf"));
    EXPECT_TRUE(shownPages.isEmpty());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Error al tratar de guardar archivo html temporal|0|")});
}

TEST_F(FetchingTest, GetDocumentFileAndRemoveDocument) {
    const QString guid = storeFile(QStringLiteral("Acta"), QStringLiteral("txt"), QByteArray("acta\0", 5));
    EXPECT_EQ(contentOf(manager->GetDocumentFile(guid)), QByteArray("acta\0", 5));
    EXPECT_EQ(manager->GetDocFileByName(Key(QStringLiteral("A")), QStringLiteral("Acta")), QString());
    link(Key(QStringLiteral("A")), guid);
    EXPECT_TRUE(manager->RemoveDocument(guid));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1) << "links are not touched";
    EXPECT_FALSE(manager->RemoveDocument(guid));
    EXPECT_NE(manager->LastErr(), 0);
    EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
}

}  // namespace
