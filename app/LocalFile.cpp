#include "LocalFile.h"

#include "Failure.h"
#include "TerminalText.h"
#include "Texts.h"

#include <Dorvanel/Error.h>

#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvanel::cli {

namespace {

constexpr char16_t EscapedByteBase = 0xDC00;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at bytes[at], or 0 when none starts there.
qsizetype validSequenceAt(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the second byte's range, narrower where overlong or surrogate
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(1) < low || byte(1) > high) return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!isContinuation(byte(i))) return 0;
    return length;
}

// The second half of a character beyond U+FFFF may fall in the same range: it follows its first.
// Valid UTF-8 as text, a byte order mark at its start kept as the character it is: it is part of
// the name (QString::fromUtf8 would drop it).
QString utf8Text(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

bool isEscapedByte(QStringView name, qsizetype i) {
    const char16_t c = name[i].unicode();
    return c >= EscapedByteBase + 0x80 && c <= EscapedByteBase + 0xFF && !(i > 0 && name[i - 1].isHighSurrogate());
}

// A file that is not there, or a folder on its way that is not one, is not found; any other
// cause, named as errno names it, fails.
ExitStatus fileStatus(const QString& cause) {
    return cause == QLatin1String("ENOENT") || cause == QLatin1String("ENOTDIR") ? NotFound : Failed;
}

Failure fileFailure(const QString& what, const QString& path, int code) {
    const QString text = QStringLiteral("%1 %2: %3").arg(what, terminalText(shownName(path)), systemErrorText(code));
    return Failure{fileStatus(systemErrorName(code)), text};
}

}  // namespace

QString decodeLocalName(const QByteArray& bytes) {
    QString name;
    qsizetype runStart = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (const qsizetype length = validSequenceAt(bytes, at)) {
            at += length;
            continue;
        }
        name += utf8Text(QByteArrayView(bytes).sliced(runStart, at - runStart));
        name += QChar(char16_t(EscapedByteBase + static_cast<unsigned char>(bytes[at])));
        runStart = ++at;
    }
    return name + utf8Text(QByteArrayView(bytes).sliced(runStart));
}

QByteArray encodeLocalName(const QString& name) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isEscapedByte(name, i)) continue;
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        bytes += char(name[i].unicode() - EscapedByteBase);
        runStart = i + 1;
    }
    return bytes + QStringView(name).mid(runStart).toUtf8();
}

QString shownName(const QString& name) {
    QString shown;
    for (qsizetype i = 0; i < name.size(); ++i)
        shown += isEscapedByte(name, i)
                     ? QStringLiteral("\\x%1").arg(name[i].unicode() - EscapedByteBase, 2, 16, QLatin1Char('0'))
                     : QString(name[i]);
    return shown;
}

QByteArray absoluteLocalPath(const QString& path) {
    const QByteArray bytes = encodeLocalName(path);
    if (bytes.startsWith('/')) return bytes;
    QByteArray folder(PATH_MAX, '\0');
    if (!::getcwd(folder.data(), size_t(folder.size())))
        failOnFile(Texts::tr("No se sabe en qué carpeta está"), path, errno);
    return QByteArray(folder.constData()) + '/' + bytes;
}

void failOnFile(const QString& what, const QString& path, int code) { throw fileFailure(what, path, code); }

void onLocalFile(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        throw Failure{fileStatus(error.causes().value(error.causes().size() - 1)), error.description()};
    }
}

LocalFile::LocalFile(const QString& path) : path_(path) {
    descriptor_ = ::open(encodeLocalName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor_ < 0) failOnFile(Texts::tr("No se puede abrir"), path, errno);
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) failOnFile(Texts::tr("No se puede examinar"), path, errno);
    regular_ = S_ISREG(status.st_mode);
    size_ = status.st_size;
    modified_ = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

LocalFile::~LocalFile() { ::close(descriptor_); }

QString LocalFile::readablePath() const {
    if (shownName(path_) == path_) return path_;
    if (!linkFolder_) {
        linkFolder_ = std::make_unique<QTemporaryDir>();
        link_ = linkFolder_->filePath(shownName(QFileInfo(path_).fileName()));
        if (!linkFolder_->isValid() ||
            ::symlink(absoluteLocalPath(path_).constData(), QFile::encodeName(link_).constData()) != 0)
            failOnFile(Texts::tr("No se puede enlazar"), path_, errno);
    }
    return link_;
}

}  // namespace dorvanel::cli
