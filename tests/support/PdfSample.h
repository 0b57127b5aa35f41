#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

namespace dorvanel::test {

// An A4 PDF of one page with the text written on it, as QPdfWriter makes one.
inline QByteArray onePagePdf(const QString& text) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 24));
    painter.drawText(QPointF(400, 800), text);
    painter.end();
    return bytes;
}

}  // namespace dorvanel::test
