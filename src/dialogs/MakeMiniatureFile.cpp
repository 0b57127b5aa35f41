#include "dialogs/MakeMiniatureFile.h"

#include "dialogs/MakeMiniature.h"
#include "dialogs/PictureSurface.h"

namespace dorvanel {

namespace {

// The add dialog's hidden picMiniature starts at this size.
constexpr float SurfaceWidth = 1800;
constexpr float SurfaceHeight = 1400;

}  // namespace

QString makeMiniatureFile(const QString& sFile) {
    PictureSurface picMiniature(SurfaceWidth, SurfaceHeight);
    return MiniatureToStore(sFile, picMiniature);
}

}  // namespace dorvanel
