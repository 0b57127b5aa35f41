// A photograph's miniature: MakeMiniature against a bare decode of the same file at the
// miniature's size, and against decoding it whole and scaling it down.

#include "BenchSupport.h"
#include "Comparisons.h"
#include "Photograph.h"

#include "component/Globals.h"
#include "dialogs/MakeMiniature.h"
#include "dialogs/PictureSurface.h"
#include "host/DefaultOskel.h"

#include <QImageReader>

namespace dorvanel::bench {

namespace {

// A photograph 6000 x 4000 gives a miniature 120 x 80 pixels.
constexpr QSize MiniaturePixels(120, 80);

// The photograph, written before the first run that reads it.
class PhotographFile {
public:
    const QString& path() {
        if (path_.isEmpty()) {
            path_ = folder_.path(QStringLiteral("foto.jpg"));
            WritePhotograph(path_);
        }
        return path_;
    }

private:
    ScratchFolder folder_;
    QString path_;
};

template <typename Work>
Body timing(const std::shared_ptr<PhotographFile>& photograph, Work work) {
    return [photograph, work](benchmark::State& state) {
        const QString& path = photograph->path();
        for (auto _ : state) work(path);
    };
}

void makeMiniature(const QString& path) {
    PictureSurface surface(1800, 1400);
    Require(MakeMiniature(path, surface) != QString(), "no miniature was made");
    Require(surface.Image().size() == MiniaturePixels, "the miniature has the wrong size");
}

void decodeScaled(const QString& path) {
    QImageReader reader(path);
    reader.setScaledSize(MiniaturePixels);
    Require(reader.read().size() == MiniaturePixels, "the scaled decode failed");
}

void decodeWholeThenScale(const QString& path) {
    const QImage scaled = QImage(path).scaled(MiniaturePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Require(scaled.size() == MiniaturePixels, "the whole decode failed");
}

}  // namespace

void RegisterComparisons() {
    gOskel = std::make_shared<DefaultOskel>();
    const auto photograph = std::make_shared<PhotographFile>();
    Register({
        .name = "miniature_6000x4000_vs_scaled_decode",
        .target = 1.1,
        .iterations = 5,
        .repetitions = 5,
        .ours = timing(photograph, makeMiniature),
        .raw = timing(photograph, decodeScaled),
    });
    Register({
        .name = "miniature_6000x4000_vs_whole_decode",
        .ours = timing(photograph, makeMiniature),
        .raw = timing(photograph, decodeWholeThenScale),
    });
}

}  // namespace dorvanel::bench
