// Listing documents: FillDocumentList into a MemoryDocumentList against stepping through the
// same statement with the raw C API and reading every column as text.

#include "BenchSupport.h"
#include "Comparisons.h"
#include "ListedDocuments.h"

#include "repository/FillDocumentList.h"
#include "repository/MemoryDocumentList.h"
#include "repository/SqlTexts.h"

namespace dorvanel::bench {

namespace {

constexpr int DocumentsPerParent = 1000;
constexpr int LargestDatabase = 100000;
// Each repetition of the all-documents listing reads about this many rows, whatever the size.
constexpr int RowsPerRepetition = 600000;
constexpr int ListColumns = 9;

// A database of listed documents, DocumentsPerParent to a parent, made when first needed.
class ListingDatabase {
public:
    explicit ListingDatabase(int documents) : documents_(documents) {}

    const QString& path() {
        if (path_.isEmpty()) {
            const QString database = folder_.newDatabase();
            RawDatabase raw(database);
            InsertListedDocuments(raw, documents_, documents_ / DocumentsPerParent);
            path_ = database;
        }
        return path_;
    }

private:
    ScratchFolder folder_;
    int documents_;
    QString path_;
};

struct Listing {
    QString parents;  // empty: every document
    int rows;

    bool fromDocs() const { return parents.isEmpty(); }
    QString sql() const { return SqlTexts::documentList(parents, fromDocs(), QString(), false); }
};

int listThroughComponent(const Listing& listing) {
    MemoryDocumentList list(ListColumns);
    FillDocumentList(listing.parents, list, listing.fromDocs(), QString(), QString(), false);
    return list.Count();
}

int listRaw(const RawDatabase& database, const QByteArray& sql) {
    qint64 textBytes = 0;
    const int rows = ReadRowsAsText(database, sql, textBytes);
    benchmark::DoNotOptimize(textBytes);
    return rows;
}

Body oursListing(std::shared_ptr<ListingDatabase> database, Listing listing) {
    return [database, listing](benchmark::State& state) {
        ComponentSession session(database->path());
        // One untimed fill first, as for the raw side: both are measured with a warm page cache
        // and heap, as a host that refreshes its list sees them.
        listThroughComponent(listing);
        for (auto _ : state) Require(listThroughComponent(listing) == listing.rows, "the list has the wrong length");
    };
}

Body rawListing(std::shared_ptr<ListingDatabase> database, Listing listing) {
    return [database, listing](benchmark::State& state) {
        RawDatabase raw(database->path());
        const QByteArray sql = listing.sql().toUtf8();
        listRaw(raw, sql);
        for (auto _ : state) Require(listRaw(raw, sql) == listing.rows, "the statement gave the wrong row count");
    };
}

void registerParentListing(const std::shared_ptr<ListingDatabase>& database) {
    const Listing listing{QString::fromLatin1(ParentKey(0)), DocumentsPerParent};
    Register({
        .name = "list_parent_1000_of_100000",
        .figure = Figure::Milliseconds,
        .target = 2.0,
        .iterations = 20,
        .ours = oursListing(database, listing),
        .raw = rawListing(database, listing),
    });
}

void registerAllListing(const std::shared_ptr<ListingDatabase>& database, int documents) {
    const Listing listing{QString(), documents};
    Register({
        .name = "list_all_" + std::to_string(documents),
        .figure = Figure::MicrosecondsPerRow,
        .unitsPerIteration = double(documents),
        .target = documents == LargestDatabase ? 2.0 : 0,
        .iterations = RowsPerRepetition / documents,
        .ours = oursListing(database, listing),
        .raw = rawListing(database, listing),
    });
}

}  // namespace

void RegisterComparisons() {
    const auto largest = std::make_shared<ListingDatabase>(LargestDatabase);
    registerParentListing(largest);
    for (int documents : {25000, 50000}) registerAllListing(std::make_shared<ListingDatabase>(documents), documents);
    registerAllListing(largest, LargestDatabase);
}

}  // namespace dorvanel::bench
