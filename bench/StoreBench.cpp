// Storing many documents: Manager::StoreDocument against one raw INSERT per document. Both sides
// store into databases made by createSchema, so everything the schema keeps per document is on
// for both: the word index, and the digests, versions, trash and record of changes as far as
// the schema has them. Their triggers fire on the raw INSERT too; the digest's row, and any other
// work the component does for a store beyond the INSERT, is the component's own cost.

#include "BenchSupport.h"
#include "Comparisons.h"
#include "DocumentTransfers.h"
#include "platform/Connection.h"

#include <QStringList>
#include <vector>

namespace dorvanel::bench {

namespace {

// Files of one size, made before the first run that stores them.
class DocumentFiles {
public:
    DocumentFiles(int count, qint64 bytes) : count_(count), bytes_(bytes) {}

    const QStringList& paths() {
        if (paths_.isEmpty()) make();
        return paths_;
    }
    ScratchFolder& folder() { return folder_; }
    double totalBytes() const { return double(count_) * double(bytes_); }

private:
    void make() {
        for (int i = 0; i < count_; ++i) {
            paths_ << folder_.path(QStringLiteral("doc-%1.").arg(i) + StoredFileType);
            WriteRandomFile(paths_.back(), bytes_);
        }
    }

    ScratchFolder folder_;
    int count_;
    qint64 bytes_;
    QStringList paths_;
};

// One INSERT per document with the file's bytes bound, each its own autocommit statement, as
// the component's are.
class RawInserter {
public:
    explicit RawInserter(RawDatabase& database) : insert_(database, InsertDocumentSql("?6")) {}

    void store(const QString& file) {
        RawFile source(file, "rb");
        content_.resize(std::size_t(source.size()));
        Require(source.read(content_.data(), content_.size()) == content_.size(), "a data file ended early");
        BindDocumentTexts(insert_, file, StoredFileType);
        insert_.bindBlob(6, content_.data(), qint64(content_.size()));
        insert_.step();
        insert_.reset();
    }

private:
    RawStatement insert_;
    std::vector<char> content_;
};

// Takes the word index and its triggers away, as on a database made before them.
void dropWordIndex(const QString& database) {
    const auto connection = Connection::open(QStringLiteral("sqlite:") + database);
    for (const char* statement : {"DROP TRIGGER DocWords_Insert", "DROP TRIGGER DocWords_Update",
                                  "DROP TRIGGER DocWords_Delete", "DROP TABLE DocWordsPending", "DROP TABLE DocWords"})
        connection->Execute(QString::fromLatin1(statement));
}

// Runs store once per iteration on a new database, made ready by prepare; opening, preparing
// and removing it are not timed.
template <typename Session, typename Store>
void timeOnNewDatabase(benchmark::State& state, ScratchFolder& folder, Store&& store,
                       void (*prepare)(const QString&) = nullptr) {
    for (auto _ : state) {
        state.PauseTiming();
        const QString database = folder.newDatabase();
        if (prepare) prepare(database);
        {
            Session session(database);
            state.ResumeTiming();
            store(session);
            state.PauseTiming();
        }
        RemoveDatabase(database);
        state.ResumeTiming();
    }
}

void registerStoring(const std::string& name, int count, qint64 bytes, double target) {
    const auto files = std::make_shared<DocumentFiles>(count, bytes);
    Register({
        .name = name,
        .figure = Figure::MebibytesPerSecond,
        .unitsPerIteration = files->totalBytes(),
        .target = target,
        .ours =
            [files](benchmark::State& state) {
                const QStringList& paths = files->paths();
                timeOnNewDatabase<ComponentSession>(state, files->folder(), [&](ComponentSession& session) {
                    for (const QString& file : paths) StoreThroughComponent(session.manager(), file);
                });
            },
        .raw =
            [files](benchmark::State& state) {
                const QStringList& paths = files->paths();
                timeOnNewDatabase<RawDatabase>(state, files->folder(), [&](RawDatabase& database) {
                    RawInserter inserter(database);
                    for (const QString& file : paths) inserter.store(file);
                });
            },
    });
}

// The component's store with the word index against the same without it: the index should
// cost under 30% of the time, so the throughput ratio should stay above 1 / 1.3.
void registerIndexCost(const std::string& name, int count, qint64 bytes) {
    const auto files = std::make_shared<DocumentFiles>(count, bytes);
    const auto storeAll = [files](ComponentSession& session) {
        for (const QString& file : files->paths()) StoreThroughComponent(session.manager(), file);
    };
    Register({
        .name = name,
        .figure = Figure::MebibytesPerSecond,
        .unitsPerIteration = files->totalBytes(),
        .target = 1 / 1.3,
        .ours = [files, storeAll](
                    benchmark::State& state) { timeOnNewDatabase<ComponentSession>(state, files->folder(), storeAll); },
        .raw =
            [files, storeAll](benchmark::State& state) {
                timeOnNewDatabase<ComponentSession>(state, files->folder(), storeAll, dropWordIndex);
            },
    });
}

}  // namespace

void RegisterComparisons() {
    registerStoring("store_200_x_1MiB", 200, Mebibyte, 0.95);
    registerStoring("store_2000_x_10KiB", 2000, 10 * Kibibyte, 0.85);
    registerIndexCost("store_2000_x_10KiB_word_index_vs_none", 2000, 10 * Kibibyte);
}

}  // namespace dorvanel::bench
