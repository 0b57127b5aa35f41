#include "support/RepositoryTest.h"

#include "component/Globals.h"
#include "platform/ComponentFile.h"
#include "platform/Recordset.h"
#include "repository/DocumentToTempFile.h"
#include "repository/DownloadName.h"
#include "repository/SqlTexts.h"

#include <QDir>

namespace dorvanel::test {

namespace {

// Removes the component's temporary files from its folder ("temp.TYPE", and what a failing
// test may leave there: a partial "temp.TYPE.XXXXXX", a folder in a file's way), so that
// one failing run never makes the next one fail.
void removeComponentTempFiles() {
    QDir folder(ComponentFile::tempFolder());
    const auto entries = folder.entryInfoList({QStringLiteral("temp.*")},
                                              QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        entry.isDir() ? QDir(entry.filePath()).removeRecursively() : QFile::remove(entry.filePath());
}

}  // namespace

void RepositoryTest::SetUp() {
    DatabaseTest::SetUp();
    removeComponentTempFiles();
    if (!databaseReady()) return;
    manager = Manager::create();
    manager->SetADOCnn(connection);
    oskel = std::make_shared<RecordingOskel>();
    oskel->workFolder = folder();
    manager->SetOskel(oskel);
    oskel->calls.clear();
    previousPresenter_ = setMessagePresenter([this](const QString& text, qint32 style, const QString& title) {
        messages << QStringLiteral("%1|%2|%3").arg(text).arg(style).arg(title);
        return qint32(vbOK);
    });
    previousShower_ = setDownloadPageShower([this](const QString& page) {
        shownPages << page;
        pageNames << DownloadName::current();
    });
}

void RepositoryTest::TearDown() {
    // Set only when SetUp got that far.
    if (previousPresenter_) setMessagePresenter(previousPresenter_);
    if (previousShower_) setDownloadPageShower(previousShower_);
    manager.reset();
    gManager.reset();
    removeComponentTempFiles();
    DatabaseTest::TearDown();
}

QString RepositoryTest::storeFile(const QString& name, const QString& type, const QByteArray& content,
                                  const QByteArray& miniature) {
    const QString file = writeFile(name + QLatin1Char('.') + type, content);
    const QString mini = miniature.isNull() ? QString() : writeFile(name + QStringLiteral(".mini.bmp"), miniature);
    return manager->StoreDocument(name, QStringLiteral("Descripción de ") + name, QStringLiteral("clave"), mini, file);
}

QString RepositoryTest::storeUrl(const QString& name, const QString& url) {
    return manager->StoreDocument(name, QString(), QString(), QString(), url, true);
}

qint32 RepositoryTest::pkOf(const QString& guid) {
    return connection->Execute(QStringLiteral("SELECT Sys_PK FROM Docs WHERE Sys_GUID = ?"), {guid})->value(0).toInt();
}

QString RepositoryTest::toTempFile(const QString& guid, bool miniature) {
    const qint32 pk = pkOf(guid);
    return miniature ? DocumentToTempFile(connection, SqlTexts::documentMiniature(pk), QStringLiteral("Minidata"), pk)
                     : DocumentToTempFile(connection, SqlTexts::documentContent(pk), QStringLiteral("data"), pk);
}

void RepositoryTest::link(const QString& parent, const QString& guid, const QString& type, bool sis) {
    ASSERT_TRUE(manager->AddLink(parent, guid, type, sis)) << manager->LastErrDescrip().toStdString();
}

}  // namespace dorvanel::test
