#include "Tour.h"

#include "DocumentReading.h"
#include "ListingOutput.h"
#include "SampleDocuments.h"
#include "Session.h"
#include "Texts.h"

#include <Dorvanel/Error.h>

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QPainter>

namespace dorvanel::cli {

namespace {

const QString DemoParent = QStringLiteral("DEMO").leftJustified(32, QLatin1Char('0'));
const QString DemoParentType = QStringLiteral("Cliente");
const QString DemoUrl = QStringLiteral("https://www.example.org/catalogo.html");

constexpr qsizetype ImageSample = 1;  // its position in samples()

QByteArray samplePng() {
    QImage image(48, 32, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor(32, 96, 160));
    gradient.setColorAt(1, QColor(240, 200, 80));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    return encodedPicture(image, "PNG");
}

QList<SampleFile> samples() {
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return {
        {QStringLiteral("nota.txt"), QStringLiteral("Nota escrita por el recorrido el %1.\n").arg(now).toUtf8(),
         QStringLiteral("Nota de ejemplo"), QStringLiteral("Una nota de texto")},
        {QStringLiteral("imagen.png"), samplePng(), QStringLiteral("Imagen de ejemplo"),
         QStringLiteral("Un degradado de 48×32 puntos")},
        {QStringLiteral("datos.csv"),
         QStringLiteral("producto;cantidad;precio\nTornillos;120;0,05\nTuercas;80;0,03\n").toUtf8(),
         QStringLiteral("Datos de ejemplo"), QStringLiteral("Una tabla CSV")},
    };
}

QString storeForDemoParent(Session& session, const QString& file, const QString& name, const QString& description,
                           bool isUrl) {
    StoreRequest request;
    request.file = file;
    request.name = name;
    request.description = description;
    request.keywords = QStringLiteral("ejemplo recorrido");
    request.isUrl = isUrl;
    const QString guid = session.store(request, {DemoParent}, DemoParentType);
    session.readStored(guid, request, {});
    return guid;
}

// Step 2: the samples and the outside reference, each stored and linked; gives their keys.
QStringList storeSamples(Session& session, QTextStream& out, const QList<SampleFile>& files) {
    const SampleFolder folder;
    out << Texts::tr("2. Guardados y vinculados al cliente %1:\n").arg(DemoParent);
    QStringList keys;
    for (const SampleFile& sample : files) {
        keys << storeForDemoParent(session, folder.write(sample), sample.name, sample.description, false);
        out << "   " << keys.last() << "  " << sample.fileName << '\n';
    }
    keys << storeForDemoParent(session, DemoUrl, QStringLiteral("Catálogo en la web"),
                               QStringLiteral("Una referencia externa: solo se guarda la dirección"), true);
    out << "   " << keys.last() << "  " << DemoUrl << Texts::tr(" (referencia externa)") << '\n';
    return keys;
}

// The parent's documents that this run stored, as a table.
QString tourTable(Session& session, const QStringList& keys) {
    ListingQuery query;
    query.parents = QStringList{DemoParent};
    DocumentListing listing = session.list(query);
    listing.removeIf([&](const ListedDocument& row) { return !keys.contains(QString::fromUtf8(row.guid)); });
    return QString::fromUtf8(written(listing, writeTable));
}

void printNextSteps(QTextStream& out, const QStringList& keys, bool throwaway) {
    out << Texts::tr(
        "Listo: se guardaron tres archivos de ejemplo y una dirección externa, todos vinculados\n"
        "al cliente de ejemplo, y lo guardado volvió intacto.\n");
    if (throwaway) {
        out << Texts::tr(
                   "La base de este recorrido era temporal y ya se borró: sus documentos no quedan en la suya.\n"
                   "Para repetirlo en una base que se conserva y seguir explorando con sus claves:\n")
            << "  dorvanel --db sqlite:recorrido.sqlite tour\n"
            << "  dorvanel --help" << Qt::endl;
        return;
    }
    out << Texts::tr("Cada recorrido agrega documentos nuevos. Para seguir explorando:\n")
        << "  dorvanel list --parents " << DemoParent << '\n'
        << "  dorvanel get " << keys[ImageSample] << " -o imagen.png\n"
        << "  dorvanel download " << keys.first() << '\n'
        << "  dorvanel --help" << Qt::endl;
}

void verifyFetched(Session& session, const QString& guid, const SampleFile& sample) {
    QBuffer fetched;
    fetched.open(QIODevice::WriteOnly);
    session.copyContent(guid, fetched, Texts::tr("la memoria"));
    if (fetched.data() != sample.bytes)
        throw Error(Error::FileFailed,
                    Texts::tr("El contenido recuperado de %1 no coincide con el original").arg(guid));
}

}  // namespace

void runTour(Session& session, QTextStream& out, const QString& databaseUrl, bool throwaway) {
    out << Texts::tr("Recorrido por Dorvanel en %1").arg(databaseUrl)
        << (throwaway ? Texts::tr(" (una base temporal)") : QString()) << "\n\n";
    session.createSchema();
    out << Texts::tr("1. La base de datos está lista.\n");

    const QList<SampleFile> files = samples();
    const QStringList keys = storeSamples(session, out, files);
    out << Texts::tr("3. Los documentos de este recorrido:\n\n") << tourTable(session, keys) << '\n';

    const QString image = keys[ImageSample];
    out << Texts::tr("4. Padres de la imagen %1:\n").arg(image);
    for (const QString& parent : session.parents(image)) out << "   " << parent << '\n';

    verifyFetched(session, image, files[ImageSample]);
    out << Texts::tr("5. Se recuperó la imagen y coincide byte a byte con el original (%1 bytes).\n\n")
               .arg(files[ImageSample].bytes.size());
    printNextSteps(out, keys, throwaway);
}

}  // namespace dorvanel::cli
