#include "support/ZipWriter.h"

#include <zlib.h>

namespace dorvanel::test {

namespace {

void appendU16(QByteArray& bytes, quint32 value) {
    bytes.append(char(value & 0xFF));
    bytes.append(char(value >> 8 & 0xFF));
}

void appendU32(QByteArray& bytes, quint32 value) {
    appendU16(bytes, value & 0xFFFF);
    appendU16(bytes, value >> 16);
}

QByteArray rawDeflate(const QByteArray& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray output(qsizetype(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = uInt(output.size());
    deflate(&stream, Z_FINISH);
    output.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return output;
}

// The fields a local header and a central record share, from "version needed" to the extra
// field's length.
void appendSharedFields(QByteArray& bytes, const ZipEntry& entry, const QByteArray& stored) {
    appendU16(bytes, 20);
    appendU16(bytes, 0);
    appendU16(bytes, entry.deflated ? 8 : 0);
    appendU32(bytes, 0);  // time and date
    appendU32(bytes,
              quint32(crc32(0, reinterpret_cast<const Bytef*>(entry.data.constData()), uInt(entry.data.size()))));
    appendU32(bytes, quint32(stored.size()));
    appendU32(bytes, entry.declaredSize.value_or(quint32(entry.data.size())));
    appendU16(bytes, quint32(entry.name.toUtf8().size()));
    appendU16(bytes, 0);
}

}  // namespace

QByteArray zipArchive(const QList<ZipEntry>& entries) {
    QByteArray archive, directory;
    for (const ZipEntry& entry : entries) {
        const QByteArray stored = entry.deflated ? rawDeflate(entry.data) : entry.data;
        const quint32 localOffset = quint32(archive.size());
        archive.append("PK\x03\x04");
        appendSharedFields(archive, entry, stored);
        archive.append(entry.name.toUtf8()).append(stored);

        directory.append("PK\x01\x02");
        appendU16(directory, 20);  // made by
        appendSharedFields(directory, entry, stored);
        appendU16(directory, 0);  // comment length
        appendU32(directory, 0);  // disk, internal attributes
        appendU32(directory, 0);  // external attributes
        appendU32(directory, localOffset);
        directory.append(entry.name.toUtf8());
    }
    const quint32 directoryOffset = quint32(archive.size());
    archive.append(directory).append("PK\x05\x06");
    appendU32(archive, 0);  // this disk and the directory's
    appendU16(archive, quint32(entries.size()));
    appendU16(archive, quint32(entries.size()));
    appendU32(archive, quint32(directory.size()));
    appendU32(archive, directoryOffset);
    appendU16(archive, 0);
    return archive;
}

qsizetype centralRecordOffset(const QByteArray& archive) { return archive.indexOf("PK\x01\x02"); }

void putU32(QByteArray& bytes, qsizetype offset, quint32 value) {
    for (int index = 0; index < 4; ++index) bytes[offset + index] = char(value >> (8 * index) & 0xFF);
}

}  // namespace dorvanel::test
