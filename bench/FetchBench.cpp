// Fetching a 50 MiB document to a file: DocumentToTempFile against sqlite3_blob_read.

#include "BenchSupport.h"
#include "Comparisons.h"
#include "DocumentTransfers.h"

#include <QFile>
#include <optional>

namespace dorvanel::bench {

namespace {

// The database with the document, made before the first run that fetches it.
class FetchFixture {
public:
    const FetchSource& source() {
        if (!source_) source_ = PrepareFetchSource(folder_, FetchedDocumentBytes);
        return *source_;
    }

private:
    ScratchFolder folder_;
    std::optional<FetchSource> source_;
};

// Each run writes a new file rather than replacing the last one.
template <typename Fetch>
void timeFetching(benchmark::State& state, Fetch&& fetch) {
    for (auto _ : state) {
        const QString file = fetch();
        state.PauseTiming();
        QFile::remove(file);
        state.ResumeTiming();
    }
}

}  // namespace

void RegisterComparisons() {
    const auto fixture = std::make_shared<FetchFixture>();
    Register({
        .name = "fetch_50MiB",
        .figure = Figure::Milliseconds,
        .target = 1.5,
        .ours =
            [fixture](benchmark::State& state) {
                const FetchSource& source = fixture->source();
                ComponentSession session(source.database);
                timeFetching(state, [&] { return FetchThroughComponent(session.connection(), source.sysPk); });
            },
        .raw =
            [fixture](benchmark::State& state) {
                const FetchSource& source = fixture->source();
                RawDatabase database(source.database);
                timeFetching(state, [&] { return FetchRaw(database, source.sysPk); });
            },
    });
}

}  // namespace dorvanel::bench
