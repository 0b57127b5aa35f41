#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>

namespace dorvanel::test {

// An A4 PDF with each text written on a page of its own, as QPdfWriter makes one.
inline QByteArray pdfOfPages(const QStringList& pages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 24));
    for (qsizetype page = 0; page < pages.size(); ++page) {
        if (page > 0) writer.newPage();
        painter.drawText(QPointF(400, 800), pages[page]);
    }
    painter.end();
    return bytes;
}

inline QByteArray onePagePdf(const QString& text) { return pdfOfPages({text}); }

}  // namespace dorvanel::test
