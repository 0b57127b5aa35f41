#include "parsers/ZipArchive.h"

#include <zlib.h>

namespace dorvanel::extractor {

namespace {

// Record layouts of the zip format: signature, fixed length, and the offsets of their fields.
constexpr char EndSignature[] = "PK\x05\x06";
constexpr qint64 EndLength = 22;
constexpr qint64 LongestComment = 0xFFFF;
constexpr char CentralSignature[] = "PK\x01\x02";
constexpr qint64 CentralLength = 46;
constexpr char LocalSignature[] = "PK\x03\x04";
constexpr qint64 LocalLength = 30;

constexpr quint16 Encrypted = 0x0001;
constexpr quint16 Stored = 0;
constexpr quint16 Deflated = 8;
// ZIP64 marks a size or offset it moved to its extra field with all ones.
constexpr quint32 Zip64Mark = 0xFFFFFFFF;

bool fits(const QByteArray& bytes, qint64 offset, qint64 length) {
    return offset >= 0 && length >= 0 && offset <= bytes.size() && length <= bytes.size() - offset;
}

// Little-endian fields at an offset already checked with fits().
quint16 u16(const QByteArray& bytes, qint64 offset) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + offset);
    return quint16(p[0] | p[1] << 8);
}

quint32 u32(const QByteArray& bytes, qint64 offset) {
    return quint32(u16(bytes, offset)) | quint32(u16(bytes, offset + 2)) << 16;
}

bool hasSignature(const QByteArray& bytes, qint64 offset, const char* signature, qint64 length) {
    return fits(bytes, offset, length) && QByteArrayView(bytes).sliced(offset, 4) == QByteArrayView(signature, 4);
}

// The end record is the last thing in the archive but for a comment of up to 64 KiB.
qint64 endRecordOffset(const QByteArray& bytes) {
    const qint64 earliest = qMax<qint64>(0, bytes.size() - EndLength - LongestComment);
    for (qint64 offset = bytes.size() - EndLength; offset >= earliest; --offset)
        if (hasSignature(bytes, offset, EndSignature, EndLength)) return offset;
    return -1;
}

std::optional<QByteArray> inflated(QByteArrayView compressed, quint32 size, QString& why) {
    // One byte more than declared, so that an entry that inflates beyond its size shows it.
    QByteArray output(qsizetype(size) + 1, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        why = QStringLiteral("no se puede descomprimir");
        return std::nullopt;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = uInt(output.size());
    int result = Z_OK;
    // Each call makes progress or fails: input runs out (Z_BUF_ERROR), the output is full, or the
    // stream ends.
    while (result == Z_OK && stream.avail_out > 0) result = inflate(&stream, Z_NO_FLUSH);
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END && stream.avail_out > 0) {
        why = QStringLiteral("sus datos comprimidos están dañados o cortados");
        return std::nullopt;
    }
    if (produced != size) {
        why = QStringLiteral("no tiene el tamaño que declara");
        return std::nullopt;
    }
    output.truncate(qsizetype(size));
    return output;
}

}  // namespace

ZipArchive::ZipArchive(const QByteArray& bytes) : bytes_(bytes) {
    readCentralDirectory();
    if (!isValid()) entries_.clear();
}

void ZipArchive::readCentralDirectory() {
    const qint64 end = endRecordOffset(bytes_);
    if (end < 0) {
        error_ = QStringLiteral("no tiene el índice de un archivo zip");
        return;
    }
    const quint16 disk = u16(bytes_, end + 4), directoryDisk = u16(bytes_, end + 6);
    const quint16 entriesHere = u16(bytes_, end + 8), entries = u16(bytes_, end + 10);
    const quint32 directorySize = u32(bytes_, end + 12), directoryOffset = u32(bytes_, end + 16);
    if (disk != 0 || directoryDisk != 0 || entriesHere != entries) {
        error_ = QStringLiteral("es un archivo zip en varias partes");
        return;
    }
    if (directoryOffset == Zip64Mark || directorySize == Zip64Mark || entries == 0xFFFF) {
        error_ = QStringLiteral("es un archivo ZIP64");
        return;
    }
    if (!fits(bytes_, directoryOffset, directorySize) || qint64(directoryOffset) + directorySize > end) {
        error_ = QStringLiteral("su índice está fuera del archivo");
        return;
    }
    const qint64 directoryEnd = qint64(directoryOffset) + directorySize;
    qint64 offset = directoryOffset;
    for (int index = 0; index < entries; ++index) {
        if (!hasSignature(bytes_, offset, CentralSignature, CentralLength) || offset + CentralLength > directoryEnd) {
            error_ = QStringLiteral("su índice está dañado");
            return;
        }
        const qint64 nameLength = u16(bytes_, offset + 28);
        const qint64 recordLength = CentralLength + nameLength + u16(bytes_, offset + 30) + u16(bytes_, offset + 32);
        if (!fits(bytes_, offset, recordLength) || offset + recordLength > directoryEnd) {
            error_ = QStringLiteral("su índice está dañado");
            return;
        }
        Entry entry;
        entry.name = QString::fromUtf8(bytes_.constData() + offset + CentralLength, nameLength);
        entry.flags = u16(bytes_, offset + 8);
        entry.method = u16(bytes_, offset + 10);
        entry.crc = u32(bytes_, offset + 16);
        entry.compressedSize = u32(bytes_, offset + 20);
        entry.size = u32(bytes_, offset + 24);
        entry.localHeaderOffset = u32(bytes_, offset + 42);
        entries_.append(entry);
        offset += recordLength;
    }
}

QStringList ZipArchive::names() const {
    QStringList names;
    for (const Entry& entry : entries_) names.append(entry.name);
    return names;
}

const ZipArchive::Entry* ZipArchive::find(const QString& name) const {
    for (const Entry& entry : entries_)
        if (entry.name == name) return &entry;
    return nullptr;
}

bool ZipArchive::contains(const QString& name) const { return find(name) != nullptr; }

std::optional<QByteArray> ZipArchive::read(const QString& name, QString& why) {
    const Entry* entry = find(name);
    std::optional<QByteArray> content;
    QString entryWhy;
    if (!entry) entryWhy = QStringLiteral("no está");
    else if (entry->size > EntryCap)
        entryWhy = QStringLiteral("descomprimido ocuparía %1 bytes, más de lo admitido").arg(entry->size);
    else if (givenOut_ + entry->size > TotalCap) entryWhy = QStringLiteral("el archivo zip ya dio todo lo admitido");
    else content = contentOf(*entry, entryWhy);
    if (!content) {
        why = QStringLiteral("La parte %1 del archivo zip: %2").arg(name, entryWhy);
        return std::nullopt;
    }
    givenOut_ += content->size();
    return content;
}

std::optional<QByteArray> ZipArchive::contentOf(const Entry& entry, QString& why) const {
    if (entry.flags & Encrypted) {
        why = QStringLiteral("está cifrada");
        return std::nullopt;
    }
    if (entry.method != Stored && entry.method != Deflated) {
        why = QStringLiteral("usa un método de compresión no admitido (%1)").arg(entry.method);
        return std::nullopt;
    }
    const qint64 local = entry.localHeaderOffset;
    if (!hasSignature(bytes_, local, LocalSignature, LocalLength)) {
        why = QStringLiteral("su cabecera está fuera del archivo o dañada");
        return std::nullopt;
    }
    const qint64 start = local + LocalLength + u16(bytes_, local + 26) + u16(bytes_, local + 28);
    if (!fits(bytes_, start, entry.compressedSize)) {
        why = QStringLiteral("sus datos están fuera del archivo");
        return std::nullopt;
    }
    const QByteArrayView compressed = QByteArrayView(bytes_).sliced(start, entry.compressedSize);
    std::optional<QByteArray> content;
    if (entry.method == Deflated) content = inflated(compressed, entry.size, why);
    else if (entry.compressedSize == entry.size) content = compressed.toByteArray();
    else why = QStringLiteral("no tiene el tamaño que declara");
    if (content && crc32(0, reinterpret_cast<const Bytef*>(content->constData()), uInt(content->size())) != entry.crc) {
        why = QStringLiteral("su CRC no coincide");
        return std::nullopt;
    }
    return content;
}

}  // namespace dorvanel::extractor
