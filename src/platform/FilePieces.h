#pragma once

#include <QtGlobal>
#include <functional>

class QFile;

namespace dorvanel {

// Opens the file to be read straight, without Qt's buffer on the way; a failure raises
// Error::FileFailed naming the file.
void openToRead(QFile& file);

// Hands the rest of an open file to piece a chunk (BlobStreaming::ChunkSize) at a time, in
// order, until its end or until piece answers false; true when it reached the end. So a file of
// any size costs one chunk of memory. A failure to read raises Error::FileFailed naming the file.
using FilePiece = std::function<bool(const char* bytes, qint64 count)>;
bool readFilePieces(QFile& file, const FilePiece& piece);

}  // namespace dorvanel
