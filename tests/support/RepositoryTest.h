#pragma once

#include "component/Manager.h"
#include "platform/MessageBox.h"
#include "repository/DownloadPage.h"
#include "support/RecordingOskel.h"
#include "support/TestDatabase.h"

namespace dorvanel::test {

// A live Manager on the test database, with a recording services object, message boxes and
// download pages recorded instead of shown.
class RepositoryTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores a file document of the given type and content; returns its Sys_GUID.
    QString storeFile(const QString& name, const QString& type, const QByteArray& content,
                      const QByteArray& miniature = QByteArray());
    QString storeUrl(const QString& name, const QString& url);
    qint32 pkOf(const QString& guid);
    // The document's content, or its miniature, copied to the temporary file of its type.
    QString toTempFile(const QString& guid, bool miniature = false);
    void link(const QString& parent, const QString& guid, const QString& type = QStringLiteral("Cliente"),
              bool sis = true);

    std::shared_ptr<Manager> manager;
    std::shared_ptr<RecordingOskel> oskel;
    QStringList messages;    // "text|style|title"
    QStringList shownPages;  // page files the download dialog would show
    QStringList pageNames;   // the document name each of them would propose for saving

private:
    MessagePresenter previousPresenter_;
    DownloadPageShower previousShower_;
};

}  // namespace dorvanel::test
