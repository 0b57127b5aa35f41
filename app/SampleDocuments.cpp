#include "SampleDocuments.h"

#include "DocumentReading.h"
#include "Session.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/Keys.h>
#include <Dorvanel/Recordset.h>

#include <QBuffer>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace dorvanel::cli {

namespace {

const QString SampleKeywords = QStringLiteral("ejemplo demostración");

// "CLIENTE" and 1 give CLIENTE0000000000000000000000001.
QString recordKey(const QString& prefix, int number) {
    return prefix + QString::number(number).rightJustified(KeyLength - prefix.size(), QLatin1Char('0'));
}

void drawGrid(QPainter& painter, const QRect& area, int step) {
    painter.setPen(QPen(QColor(215, 228, 242), 1));
    for (int x = area.left(); x <= area.right(); x += step) painter.drawLine(x, area.top(), x, area.bottom());
    for (int y = area.top(); y <= area.bottom(); y += step) painter.drawLine(area.left(), y, area.right(), y);
}

void drawRoom(QPainter& painter, const QRect& room, const QColor& fill, const QString& name) {
    painter.setPen(QPen(QColor(40, 60, 100), 4));
    painter.setBrush(fill);
    painter.drawRect(room);
    painter.setPen(QColor(40, 60, 100));
    painter.drawText(room, Qt::AlignCenter, name);
}

// A door: the gap in the wall and the sweep of its leaf.
void drawDoor(QPainter& painter, const QPoint& hinge, int width, int startAngle) {
    painter.setPen(QPen(QColor(250, 250, 244), 6));
    painter.drawLine(hinge, hinge + QPoint(width, 0));
    painter.setPen(QPen(QColor(200, 40, 40), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRect(hinge.x() - width, hinge.y() - width, 2 * width, 2 * width), startAngle * 16, 90 * 16);
}

// A coloured ground-floor plan of a small industrial building.
QImage planDrawing() {
    QImage plan(800, 560, QImage::Format_RGB32);
    plan.fill(QColor(250, 250, 244));
    QPainter painter(&plan);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGrid(painter, plan.rect(), 20);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 13, QFont::Bold));
    drawRoom(painter, {60, 60, 440, 340}, QColor(200, 222, 255), QStringLiteral("Nave"));
    drawRoom(painter, {500, 60, 240, 170}, QColor(255, 228, 186), QStringLiteral("Oficina"));
    drawRoom(painter, {500, 230, 240, 170}, QColor(208, 238, 206), QStringLiteral("Aseos"));
    drawRoom(painter, {60, 400, 680, 90}, QColor(246, 208, 220), QStringLiteral("Muelle de carga"));
    drawDoor(painter, {520, 230}, 40, 270);
    drawDoor(painter, {300, 400}, 60, 0);
    painter.setPen(QPen(QColor(40, 60, 100), 1));
    painter.drawLine(60, 35, 740, 35);
    painter.drawText(QRect(60, 12, 680, 20), Qt::AlignCenter, QStringLiteral("40,00 m"));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    painter.drawText(QRect(500, 510, 240, 40), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("PLANTA BAJA · E 1:100"));
    return plan;
}

// Glass that reflects the sky at its top.
void drawWindowPane(QPainter& painter, const QRect& pane) {
    QLinearGradient glass(pane.topLeft(), pane.bottomLeft());
    glass.setColorAt(0, QColor(150, 186, 214));
    glass.setColorAt(1, QColor(62, 84, 110));
    painter.fillRect(pane, glass);
}

// A photograph-like view of a facade: sky and sun, ground, the building and its windows.
QImage facadePhoto() {
    QImage photo(800, 600, QImage::Format_RGB32);
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 380);
    sky.setColorAt(0, QColor(58, 112, 190));
    sky.setColorAt(1, QColor(205, 226, 246));
    painter.fillRect(0, 0, 800, 380, sky);
    QRadialGradient sun(640, 100, 110);
    sun.setColorAt(0, QColor(255, 252, 220));
    sun.setColorAt(1, QColor(255, 252, 220, 0));
    painter.fillRect(0, 0, 800, 380, sun);
    QLinearGradient ground(0, 380, 0, 600);
    ground.setColorAt(0, QColor(162, 150, 108));
    ground.setColorAt(1, QColor(84, 76, 52));
    painter.fillRect(0, 380, 800, 220, ground);
    QLinearGradient wall(140, 0, 600, 0);
    wall.setColorAt(0, QColor(226, 206, 176));
    wall.setColorAt(1, QColor(170, 148, 118));
    painter.fillRect(140, 170, 460, 250, wall);
    painter.fillRect(120, 150, 500, 24, QColor(120, 70, 52));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 5; ++column)
            drawWindowPane(painter, {170 + column * 86, 200 + row * 110, 56, 70});
    return photo;
}

struct SampleDocument {
    SampleFile file;
    QList<qsizetype> records;  // positions in sampleRecords(); each link gets its record's type
};

QList<SampleDocument> sampleDocuments() {
    return {
        {{QStringLiteral("plano-planta-baja.jpg"), encodedPicture(planDrawing(), "JPEG"),
          QStringLiteral("Plano de planta baja"), QStringLiteral("Nave, oficina, aseos y muelle de carga")},
         {0, 2}},
        {{QStringLiteral("contrato.txt"),
          QStringLiteral("Contrato de ejecución de obra\n\nCliente: Construcciones Ribera S.A.\n"
                         "Obra: reforma de la nave de Almansa\nPlazo: seis meses\nImporte: 184.500,00 €\n")
              .toUtf8(),
          QStringLiteral("Contrato de obra"), QStringLiteral("Condiciones, plazo e importe")},
         {0}},
        {{QStringLiteral("presupuesto.csv"),
          QStringLiteral("partida;unidades;precio\nDemolición de tabiques;1;4.200,00\nCubierta de panel;620;38,50\n"
                         "Solera de hormigón;480;27,00\n")
              .toUtf8(),
          QStringLiteral("Presupuesto"), QStringLiteral("Partidas de la reforma")},
         {0}},
        {{QStringLiteral("factura-2024-031.txt"),
          QStringLiteral("Factura 2024-031\nTalleres Miralba S.L.\n"
                         "Suministro de perfiles de acero: 12.380,00 €\n")
              .toUtf8(),
          QStringLiteral("Factura 2024-031"), QStringLiteral("Suministro de perfiles de acero")},
         {1}},
        {{QStringLiteral("fachada.jpg"), encodedPicture(facadePhoto(), "JPEG"), QStringLiteral("Foto de la fachada"),
          QStringLiteral("La fachada antes de la obra")},
         {2}},
        {{QStringLiteral("acta-replanteo.txt"),
          QStringLiteral("Acta de replanteo\nVivienda en la calle Mayor 12\n"
                         "Se comprueban las medidas del solar.\n")
              .toUtf8(),
          QStringLiteral("Acta de replanteo"), QStringLiteral("Firmada por la dirección de obra")},
         {3}},
    };
}

void storeLinked(Session& session, const QString& file, const SampleDocument& document) {
    StoreRequest request;
    request.file = file;
    request.name = document.file.name;
    request.description = document.file.description;
    request.keywords = SampleKeywords;
    const HostRecord& first = sampleRecords()[document.records.first()];
    const QString guid = session.store(request, {first.key}, first.type);
    session.readStored(guid, request, {});
    for (qsizetype other : document.records.mid(1)) {
        const HostRecord& record = sampleRecords()[other];
        session.link(record.key, guid, record.type, true);
    }
}

}  // namespace

SampleFolder::SampleFolder() {
    if (!dir_.isValid()) throw Error(Error::FileFailed, Texts::tr("No se pudo crear una carpeta temporal"));
}

QString SampleFolder::write(const SampleFile& sample) const {
    const QString path = dir_.filePath(sample.fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sample.bytes) != sample.bytes.size())
        throw Error(Error::FileFailed, Texts::tr("No se pudo escribir %1: %2").arg(path, file.errorString()));
    return path;
}

QByteArray encodedPicture(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

const QList<HostRecord>& sampleRecords() {
    static const QList<HostRecord> records{
        {recordKey(QStringLiteral("CLIENTE"), 1), QStringLiteral("Construcciones Ribera S.A."),
         QStringLiteral("Cliente")},
        {recordKey(QStringLiteral("CLIENTE"), 2), QStringLiteral("Talleres Miralba S.L."), QStringLiteral("Cliente")},
        {recordKey(QStringLiteral("OBRA"), 1), QStringLiteral("Reforma de la nave de Almansa"), QStringLiteral("Obra")},
        {recordKey(QStringLiteral("OBRA"), 2), QStringLiteral("Vivienda en la calle Mayor 12"), QStringLiteral("Obra")},
    };
    return records;
}

void provideSampleDocuments(Session& session) {
    session.createSchema();
    if (!session.connection().Execute(QStringLiteral("SELECT 1 FROM Docs LIMIT 1"))->Eof()) return;
    const SampleFolder folder;
    for (const SampleDocument& document : sampleDocuments())
        storeLinked(session, folder.write(document.file), document);
}

}  // namespace dorvanel::cli
