#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace dorvanel::test {

// One entry of a zip archive made by a test. declaredSize replaces the size the archive claims
// for it, so a test can make an archive lie.
struct ZipEntry {
    QString name;
    QByteArray data;
    bool deflated = true;
    std::optional<quint32> declaredSize = std::nullopt;
};

// A zip archive of the entries, in order: local headers and data, the central directory, its end.
QByteArray zipArchive(const QList<ZipEntry>& entries);

// The offset of the first central directory record, whose fields a test may then overwrite.
qsizetype centralRecordOffset(const QByteArray& archive);
void putU32(QByteArray& bytes, qsizetype offset, quint32 value);

}  // namespace dorvanel::test
