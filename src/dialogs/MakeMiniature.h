#pragma once

#include <QString>

namespace dorvanel {

class ContentExtractor;
class PictureSurface;

// Width of every miniature, in twips (120 pixels); its height follows the picture's proportions.
constexpr float MiniatureWidth = 1800;

// Draws the picture file on the surface at the miniature's size, saves the surface's image as
// "Temp.bmp" in the component's folder and returns that file's path. A file whose extension
// is not a picture's gives "" and nothing is drawn or written; once the extension is accepted,
// the earlier miniature file is removed, a step that fails is skipped and the path is returned
// all the same. The file, readable by its owner only, is removed when the Manager live as it was
// written ends.
QString MakeMiniature(const QString& FileName, PictureSurface& Surface);

// The miniature to store with a document: the file MakeMiniature wrote, or "" when the file is no
// picture or its picture could not be drawn and saved (a file named as a picture that holds none).
QString MiniatureToStore(const QString& FileName, PictureSurface& Surface);

// The miniature the extraction program makes of any file (a PDF's first page, an office
// document's thumbnail, a picture turned upright as its EXIF orientation says), written as
// "Temp.bmp" as MakeMiniature writes it: that file's path, or "" when the program made none.
// No decoder of the file's bytes runs in this process. A failure is not reported.
QString ExtractedMiniatureToStore(const QString& FileName, ContentExtractor& reader);

// Writes the bitmap's bytes as the miniature file, "Temp.bmp" in the component's folder, and
// gives its path; raises Error when it cannot be written.
QString WriteMiniatureFile(const QByteArray& bitmap);

}  // namespace dorvanel
