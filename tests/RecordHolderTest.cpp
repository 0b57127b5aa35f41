// The Manager's record holder: what an operation stopped by a failure leaves held.

#include "component/HostClasses.h"
#include "repository/DocRecord.h"
#include "repository/LinkRecord.h"
#include "support/RepositoryTest.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// Counts the record objects alive, each handed out by the shipped factory.
template <typename Record>
std::function<std::shared_ptr<Record>()> counting(std::function<std::shared_ptr<Record>()> made, int& alive) {
    return [made = std::move(made), &alive] {
        std::shared_ptr<Record> record = made();
        ++alive;
        return std::shared_ptr<Record>(record.get(), [record, &alive](Record*) mutable {
            record.reset();
            --alive;
        });
    };
}

class RecordHolderTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        HostClasses::registered().docRecord = counting(shipped_.docRecord, docRecords);
        HostClasses::registered().linkRecord = counting(shipped_.linkRecord, linkRecords);
    }
    void TearDown() override {
        RepositoryTest::TearDown();
        HostClasses::registered() = shipped_;
    }

    int docRecords = 0;
    int linkRecords = 0;

private:
    const HostClasses shipped_ = HostClasses::registered();
};

TEST_F(RecordHolderTest, AFailedStoreOrLinkKeepsItsRecordUntilTheNextOperationOthersReleaseIt) {
    const QString a = Key(QStringLiteral("A"));
    const QString stored = storeFile(QStringLiteral("Acta"), QStringLiteral("txt"), "acta");
    const QString missing = folder() + QStringLiteral("/no-such-file.pdf");
    const struct {
        const char* what;
        std::function<void()> operation;
        int docRecordsHeld, linkRecordsHeld;
    } cases[] = {
        {"StoreDocument raising", [&] { manager->StoreDocument(QStringLiteral("X"), {}, {}, {}, missing); }, 1, 0},
        {"StoreDocument saving", [&] { storeFile(QStringLiteral("Otra"), QStringLiteral("txt"), "otra"); }, 0, 0},
        {"AddLink with a short key", [&] { manager->AddLink(QStringLiteral("corta"), stored); }, 0, 1},
        {"AddLink without a parent type", [&] { manager->AddLink(a, stored); }, 0, 1},
        {"AddLink linking", [&] { manager->AddLink(a, stored, QStringLiteral("Cliente")); }, 0, 0},
        {"RemoveDocument refused", [&] { manager->RemoveDocument(Key(QStringLiteral("Z"))); }, 0, 0},
        {"GetDocumentFile", [&] { QFile::remove(manager->GetDocumentFile(stored)); }, 0, 0},
    };
    for (const auto& c : cases) {
        c.operation();
        EXPECT_EQ(docRecords, c.docRecordsHeld) << c.what;
        EXPECT_EQ(linkRecords, c.linkRecordsHeld) << c.what;
        // The next operation replaces the record held, and releases its own at its end.
        manager->RemoveDocument(Key(QStringLiteral("Z")));
        EXPECT_EQ(docRecords + linkRecords, 0) << "after " << c.what;
    }
}

}  // namespace
