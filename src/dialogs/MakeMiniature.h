#pragma once

#include <QString>

namespace dorvanel {

class PictureSurface;

// Width of every miniature, in twips (120 pixels); its height follows the picture's proportions.
constexpr float MiniatureWidth = 1800;

// Draws the picture file on the surface at the miniature's size, saves the surface's image as
// "Temp.bmp" in the component's folder and returns that file's path. A file whose extension
// is not a picture's gives "" and nothing is drawn or written; once the extension is accepted,
// a step that fails is skipped and the path is returned all the same.
QString MakeMiniature(const QString& FileName, PictureSurface& Surface);

}  // namespace dorvanel
