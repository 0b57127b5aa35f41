#include "host/Schema.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/DocumentList.h"
#include "repository/DocumentText.h"
#include "repository/FindDocumentsByWords.h"
#include "repository/ListDocuments.h"
#include "repository/Trash.h"
#include "support/DialogTest.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class TrashTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (!databaseReady()) return;
        acta = storeFile(QStringLiteral("Acta"), QStringLiteral("pdf"), actaContent);
        storeDocumentText(*connection, acta, QStringLiteral("El camión llegó a Cádiz"));
        link(parent, acta, QStringLiteral("Cliente"), true);
        link(other, acta, QStringLiteral("Obra"), false);
    }

    QStringList listedNames() {
        QStringList names;
        const DocumentListing listing = listDocuments(*connection, ListingQuery{});
        for (const ListedDocument& document : listing.documents()) names << QString::fromUtf8(document.name);
        return names;
    }
    QStringList foundNames(const QString& words) {
        QStringList names;
        for (const FoundDocument& document : findDocumentsByWords(*connection, WordQuery{words, {}, {}, 0}))
            names << document.name;
        return names;
    }
    qint32 count(const QString& table, const QString& keyColumn, const QString& guid) {
        return rowCount(QStringLiteral("SELECT * FROM %1 WHERE %2 = '%3'").arg(table, keyColumn, guid));
    }
    // The document's row in Docs as a restore must give it back, content included.
    QVariantList docsRow(const QString& guid) {
        const auto rows = connection->Execute(
            QStringLiteral("SELECT Sys_PK, Sys_DTCreated, Name, TypeData, Data FROM Docs WHERE Sys_GUID = ?"), {guid});
        if (rows->Eof()) return {};
        return {rows->value(0), rows->value(1), rows->value(2), rows->value(3), rows->value(4)};
    }
    QStringList linksOf(const QString& guid) {
        QStringList links;
        const auto rows = connection->Execute(
            QStringLiteral("SELECT FK_Parent, TypeParent, Sis FROM DocLink WHERE FK_Doc = ? ORDER BY FK_Parent"),
            {guid});
        for (; !rows->Eof(); rows->MoveNext())
            links << QStringLiteral("%1 %2 %3")
                         .arg(rows->value(0).toString(), rows->value(1).toString(), rows->value(2).toString());
        return links;
    }

    const QString parent = Key(QStringLiteral("CLIENTE1"));
    const QString other = Key(QStringLiteral("OBRA1"));
    // More than a chunk of the copies that move it to the trash and back.
    const QByteArray actaContent = QByteArray(2'500'000, 'a') + "fin";
    QString acta;
};

// Removed, the document is in no list or search, by its fields or its text, until it is
// restored with its row, links, text and digest as they were.
TEST_F(TrashTest, ARemovedDocumentIsFoundNowhereAndComesBackWhole) {
    createSchema(*connection);  // init again on a database that has the trash keeps it working
    const QVariantList row = docsRow(acta);
    const QStringList links = linksOf(acta);
    ASSERT_EQ(count(QStringLiteral("DocDigests"), QStringLiteral("Sys_GUID"), acta), 1);

    moveDocumentToTrash(*connection, acta, QStringLiteral("ana"));
    EXPECT_TRUE(docsRow(acta).isEmpty());
    EXPECT_TRUE(linksOf(acta).isEmpty());
    EXPECT_TRUE(listedNames().isEmpty());
    for (const QString& words : {QStringLiteral("acta"), QStringLiteral("camion")})
        EXPECT_TRUE(foundNames(words).isEmpty()) << words.toStdString();
    EXPECT_EQ(count(QStringLiteral("DocDigests"), QStringLiteral("Sys_GUID"), acta), 0);

    const QList<TrashedDocument> trashed = trashedDocuments(*connection);
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(trashed[0].guid, acta);
    EXPECT_EQ(trashed[0].name, QStringLiteral("Acta"));
    EXPECT_EQ(trashed[0].size, actaContent.size());
    EXPECT_EQ(trashed[0].removedBy, QStringLiteral("ana"));
    EXPECT_LT(trashed[0].removedAt.secsTo(QDateTime::currentDateTime()), 60);
    EXPECT_TRUE(trashed[0].removedAt.isValid());
    ASSERT_EQ(trashed[0].links.size(), 2);

    rebuildWordIndex(*connection);  // keeps the text of what the trash holds
    restoreFromTrash(*connection, acta);
    EXPECT_EQ(docsRow(acta), row);
    EXPECT_EQ(linksOf(acta), links);
    EXPECT_EQ(listedNames(), QStringList{QStringLiteral("Acta")});
    EXPECT_EQ(foundNames(QStringLiteral("camion")), QStringList{QStringLiteral("Acta")});
    EXPECT_EQ(count(QStringLiteral("DocDigests"), QStringLiteral("Sys_GUID"), acta), 1);
    EXPECT_TRUE(trashedDocuments(*connection).isEmpty());
}

TEST_F(TrashTest, WhatCannotBeMovedOrRestoredIsRefusedAndLeavesEverythingAsItWas) {
    const QString missing = Key(QStringLiteral("NADA"));
    EXPECT_THROW(moveDocumentToTrash(*connection, missing, QStringLiteral("ana")), Error);
    EXPECT_THROW(restoreFromTrash(*connection, acta), Error);  // not in the trash

    moveDocumentToTrash(*connection, acta, QStringLiteral("ana"));
    // A document stored again under the key in the meantime is not overwritten.
    connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name) VALUES (?, 'Otra')"), {acta});
    EXPECT_THROW(restoreFromTrash(*connection, acta), Error);
    EXPECT_EQ(trashedDocuments(*connection).size(), 1);
    EXPECT_EQ(docsRow(acta).value(2).toString(), QStringLiteral("Otra"));
}

TEST_F(TrashTest, PurgeDeletesForGoodWhatWasRemovedLongEnoughAgo) {
    const QString plano = storeFile(QStringLiteral("Plano"), QStringLiteral("pdf"), "plano");
    moveDocumentToTrash(*connection, acta, QStringLiteral("ana"));
    moveDocumentToTrash(*connection, plano, QStringLiteral("ana"));
    const QString tenDaysAgo = QDateTime::currentDateTime().addDays(-10).toOffsetFromUtc(3600).toString(Qt::ISODate);
    connection->Execute(QStringLiteral("UPDATE DocsTrash SET RemovedAt = ? WHERE Sys_GUID = ?"), {tenDaysAgo, acta});

    EXPECT_EQ(purgeTrash(*connection, 11), 0);
    EXPECT_EQ(purgeTrash(*connection, 9), 1);
    EXPECT_EQ(count(QStringLiteral("DocLinkTrash"), QStringLiteral("FK_Doc"), acta), 0);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocText")), 0) << "the purged document's text goes too";
    EXPECT_THROW(restoreFromTrash(*connection, acta), Error);
    EXPECT_EQ(purgeTrash(*connection), 1);
    EXPECT_TRUE(trashedDocuments(*connection).isEmpty());
}

// Off, RemoveDocument deletes the row as documented and leaves its links; on, it moves the
// document and its links to the trash under the Manager's user name. A failure is recorded, never
// raised, either way.
TEST_F(TrashTest, RemoveDocumentDeletesOrMovesToTheTrashAsTheSettingSays) {
    for (const bool trash : {false, true}) {
        SCOPED_TRACE(trash ? "trash on" : "trash off");
        const QString guid = storeFile(QStringLiteral("Nota"), QStringLiteral("txt"), "nota");
        link(parent, guid);
        manager->setUsesTrash(trash);
        manager->setUserName(QStringLiteral("luis"));
        EXPECT_TRUE(manager->RemoveDocument(guid));
        EXPECT_TRUE(docsRow(guid).isEmpty());
        EXPECT_EQ(linksOf(guid).size(), trash ? 0 : 1);
        EXPECT_EQ(count(QStringLiteral("DocsTrash"), QStringLiteral("Sys_GUID"), guid), trash ? 1 : 0);
        EXPECT_EQ(count(QStringLiteral("DocLinkTrash"), QStringLiteral("FK_Doc"), guid), trash ? 1 : 0);

        EXPECT_FALSE(manager->RemoveDocument(guid));
        EXPECT_NE(manager->LastErr(), 0);
        EXPECT_FALSE(manager->LastErrDescrip().isEmpty());
    }
    EXPECT_EQ(trashedDocuments(*connection).value(0).removedBy, QStringLiteral("luis"));
}

// The browse dialog unlinks the document's last link, then removes it: with the trash on, the
// link goes to the trash with it and comes back on restore; off, the document is deleted.
TEST_F(TrashTest, TheBrowseDialogsLastUnlinkKeepsTheLinkInTheTrash) {
    for (const bool trash : {false, true}) {
        SCOPED_TRACE(trash ? "trash on" : "trash off");
        const QString plano = storeFile(QStringLiteral("Plano"), QStringLiteral("pdf"), "plano");
        link(parent, plano, QStringLiteral("Cliente"), true);
        manager->setUsesTrash(trash);
        answerYes = true;
        EXPECT_FALSE(driveSteps(
            [&] { return manager->BrowseDlg(parent, QStringLiteral("Cliente 1"), QStringLiteral("Cliente")); },
            {[&](QWidget* modal) {
                clickRow(modal, QStringLiteral("Plano"));
                click(modal, "cmdDel");
                click(modal, "cmdClose");
            }}));
        EXPECT_TRUE(docsRow(plano).isEmpty());
        EXPECT_EQ(count(QStringLiteral("DocsTrash"), QStringLiteral("Sys_GUID"), plano), trash ? 1 : 0);
        if (!trash) continue;
        restoreFromTrash(*connection, plano);
        EXPECT_EQ(linksOf(plano), QStringList{parent + QStringLiteral(" Cliente 1")});
    }
}

}  // namespace
