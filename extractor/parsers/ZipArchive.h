#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvanel::extractor {

// Reads the entries of a zip archive held in memory (office documents are zip archives): its
// central directory, and an entry's bytes stored or deflated, their CRC checked. Every offset and
// size the archive gives is checked against the bytes there are, and inflating stops at the size
// the entry declares, which may not exceed EntryCap; the archive as a whole gives out at most
// TotalCap, so a small archive cannot expand into gigabytes (a zip bomb). Anything else (ZIP64,
// encryption, archives split into parts, other compression methods) is refused, with why.
class ZipArchive {
public:
    static constexpr qint64 EntryCap = 64 << 20;
    static constexpr qint64 TotalCap = 256 << 20;

    // Reads the central directory; a damaged one leaves no entries and says why in error().
    explicit ZipArchive(const QByteArray& bytes);

    bool isValid() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    QStringList names() const;
    bool contains(const QString& name) const;
    // The entry's bytes; none, with why in why, when it is missing, refused or damaged.
    std::optional<QByteArray> read(const QString& name, QString& why);

private:
    struct Entry {
        QString name;
        quint16 flags = 0;
        quint16 method = 0;
        quint32 crc = 0;
        quint32 compressedSize = 0;
        quint32 size = 0;
        quint32 localHeaderOffset = 0;
    };

    void readCentralDirectory();
    const Entry* find(const QString& name) const;
    std::optional<QByteArray> contentOf(const Entry& entry, QString& why) const;

    QByteArray bytes_;
    QList<Entry> entries_;
    QString error_;
    qint64 givenOut_ = 0;
};

}  // namespace dorvanel::extractor
