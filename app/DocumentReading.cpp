#include "DocumentReading.h"

#include "Failure.h"
#include "LocalFile.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/DocumentContent.h>
#include <Dorvanel/DocumentMiniature.h>
#include <Dorvanel/DocumentText.h>
#include <Dorvanel/Error.h>

#include <QImageReader>
#include <QTemporaryFile>
#include <QTextStream>

namespace dorvanel::cli {

namespace {

ExtractionRequest requestFor(const ReadingWanted& wanted) {
    return {.miniature = wanted.miniature, .text = wanted.text};
}

// Only the names of the formats Qt's plugins read are looked up: no picture is decoded here.
bool namedAsPicture(const QString& typeCode) {
    return QImageReader::supportedImageFormats().contains(typeCode.toLower().toUtf8());
}

bool note(const QString& shown, const QString& what) {
    QTextStream(stderr) << Texts::tr("Nota: %1: %2").arg(shown, what) << Qt::endl;
    return false;
}

// What is missing of what was wanted, and the program's reason, when it gave one.
QString missingParts(const ExtractedContent& content, const ReadingWanted& wanted, const QString& typeCode) {
    const bool noMiniature = wanted.miniature && content.miniature.isEmpty();
    const bool noText = wanted.text && content.text.isEmpty();
    if (noMiniature && namedAsPicture(typeCode))
        return Texts::tr("no se puede leer como imagen; se guarda sin miniatura");
    if (content.note.isEmpty() || !(noMiniature || noText)) return {};
    return (noMiniature && noText ? Texts::tr("%1; se guardó sin miniatura ni texto")
            : noMiniature         ? Texts::tr("%1; se guardó sin miniatura")
                                  : Texts::tr("%1; se guardó sin su texto"))
        .arg(content.note);
}

}  // namespace

bool DocumentReading::readFile(const QString& guid, const QString& file, const QString& typeCode,
                               const ReadingWanted& wanted) {
    const QString shown = shownName(file);
    try {
        const LocalFile local(file);
        return record(guid, extractor_.extractFile(local.readablePath(), typeCode, requestFor(wanted)), shown, typeCode,
                      wanted);
    } catch (const Failure& failure) {
        return note(shown, failure.message);
    } catch (const Error& error) {
        return note(shown, error.description());
    }
}

// The content goes through a work file of this process's own, as the program reads a document
// whole and a stored one can be far larger than memory should hold.
bool DocumentReading::readStored(const QString& guid, const QString& typeCode, const ReadingWanted& wanted) {
    try {
        QTemporaryFile copy;
        if (!copy.open())
            return note(guid, Texts::tr("no se pudo crear un archivo de trabajo: %1").arg(copy.errorString()));
        if (!copyDocumentContent(connection_, guid, copy, copy.fileName())) return true;
        copy.seek(0);
        return record(guid, extractor_.extract(copy, copy.size(), typeCode, requestFor(wanted)), guid, typeCode,
                      wanted);
    } catch (const Error& error) {
        return note(guid, error.description());
    }
}

// The miniature and the text are recorded together, in a transaction of their own.
bool DocumentReading::record(const QString& guid, const ExtractedContent& content, const QString& shown,
                             const QString& typeCode, const ReadingWanted& wanted) {
    const QString missing = missingParts(content, wanted, typeCode);
    if (!missing.isEmpty()) note(shown, missing);
    try {
        Connection::Transaction transaction(connection_);
        if (!content.miniature.isEmpty()) setDocumentMiniature(connection_, guid, content.miniature);
        if (wanted.text) storeDocumentText(connection_, guid, content.text, content.note);
        transaction.commit();
    } catch (const Error& error) {
        return note(shown, Texts::tr("se guardó, pero no lo que se leyó de él: %1").arg(error.description()));
    }
    return missing.isEmpty();
}

}  // namespace dorvanel::cli
