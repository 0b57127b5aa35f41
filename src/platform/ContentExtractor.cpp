#include "platform/ContentExtractor.h"

#include "platform/ComponentFile.h"
#include "platform/ExtractionProtocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <csignal>

namespace dorvanel {

namespace {

// The document goes to the program in pieces of this size, and no more than a few of them wait
// in the pipe's buffer, so that the host never holds a whole document on its way.
constexpr qint64 PieceBytes = 256 * 1024;
constexpr qint64 MostBufferedBytes = 4 * PieceBytes;
// How long the extractor waits for an answer: the program's own time limit (which ends it),
// and a quarter more and a second for the program to write its answer.
int answerMilliseconds(const ExtractionLimits& limits) { return limits.milliseconds + limits.milliseconds / 4 + 1'000; }
// How long a program whose input closed may take to end before it is killed.
constexpr int EndingMilliseconds = 2'000;

QString seconds(int milliseconds) { return QString::number(double(milliseconds) / 1000.0, 'g', 3); }

// Why one exchange with the program failed; the program is stopped.
struct ExchangeFailure {
    QString note;
};

QString programFile(const ExtractionLimits& limits) {
    if (!limits.program.isEmpty()) return limits.program;
    return ComponentFile::folder() + QDir::separator() + QStringLiteral("dorvanel-extract");
}

QStringList programArguments(const ExtractionLimits& limits) {
    return {QStringLiteral("--memory-bytes"),   QString::number(limits.memoryBytes),
            QStringLiteral("--milliseconds"),   QString::number(limits.milliseconds),
            QStringLiteral("--document-bytes"), QString::number(limits.documentBytes)};
}

extraction::RequestHead requestHead(const ExtractionRequest& request, const QString& typeCode, qint64 size) {
    return {(request.miniature ? extraction::WantMiniature : 0u) | (request.text ? extraction::WantText : 0u),
            typeCode.toUtf8().left(extraction::MaxTypeCodeBytes),
            qBound<qint64>(0, request.textCap, extraction::MaxTextCap), size};
}

ExtractedContent failed(const QString& note) { return {{}, {}, note}; }

// The miniature is decoded in the host's process later (the dialogs show it), so it is taken
// only as what the program is meant to send: a BMP 120 pixels wide whose header tells its own
// size.
bool isMiniature(const QByteArray& bitmap) {
    constexpr qsizetype HeaderBytes = 26;
    constexpr qint32 Width = 120;
    constexpr qint32 MostRows = 16384;
    if (bitmap.size() < HeaderBytes || !bitmap.startsWith("BM")) return false;
    const auto* header = reinterpret_cast<const uchar*>(bitmap.constData());
    const qint32 rows = qAbs(qFromLittleEndian<qint32>(header + 22));
    return qFromLittleEndian<quint32>(header + 2) == quint32(bitmap.size()) &&
           qFromLittleEndian<qint32>(header + 18) == Width && rows > 0 && rows <= MostRows;
}

}  // namespace

struct ContentExtractor::Private {
    ExtractionLimits limits;
    std::unique_ptr<QProcess> program;

    QProcess& running();
    void send(QIODevice& source, qint64 size, const QByteArray& head);
    extraction::Answer receive(qint64 textCap);
    QString endingNote();
    void stop();
};

QProcess& ContentExtractor::Private::running() {
    if (program && program->state() == QProcess::Running) return *program;
    program = std::make_unique<QProcess>();
    if (qEnvironmentVariableIsEmpty("DORVANEL_DEBUG")) program->setStandardErrorFile(QProcess::nullDevice());
    else program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString file = programFile(limits);
    program->start(file, programArguments(limits));
    if (!program->waitForStarted())
        throw ExchangeFailure{QCoreApplication::translate("dorvanel::ContentExtractor",
                                                          "No se pudo iniciar el programa de extracción %1: %2")
                                  .arg(file, program->errorString())};
    return *program;
}

// A program that stops taking bytes is left for receive() to tell why: it may have answered
// before it ended (its memory limit reached).
void ContentExtractor::Private::send(QIODevice& source, qint64 size, const QByteArray& head) {
    QProcess& process = *program;
    const int patience = answerMilliseconds(limits);
    const auto drain = [&](qint64 mostLeft) {
        while (process.bytesToWrite() > mostLeft)
            if (!process.waitForBytesWritten(patience)) return false;
        return true;
    };
    process.write(head);
    QByteArray piece(PieceBytes, Qt::Uninitialized);
    for (qint64 left = size; left > 0;) {
        const qint64 got = source.read(piece.data(), qMin(left, PieceBytes));
        if (got <= 0)
            throw ExchangeFailure{
                QCoreApplication::translate("dorvanel::ContentExtractor", "No se pudo leer el documento: %1")
                    .arg(got < 0 ? source.errorString()
                                 : QCoreApplication::translate("dorvanel::ContentExtractor",
                                                               "terminó antes de lo esperado"))};
        process.write(piece.constData(), got);
        left -= got;
        if (!drain(MostBufferedBytes)) return;
    }
    drain(0);
}

extraction::Answer ContentExtractor::Private::receive(qint64 textCap) {
    QProcess& process = *program;
    const QDeadlineTimer deadline(answerMilliseconds(limits));
    const auto readExactly = [&](char* buffer, qint64 bytes) {
        while (process.bytesAvailable() < bytes) {
            if (deadline.hasExpired())
                throw ExchangeFailure{
                    QCoreApplication::translate("dorvanel::ContentExtractor",
                                                "El programa de extracción no respondió en %1 segundos y se detuvo")
                        .arg(seconds(answerMilliseconds(limits)))};
            if (!process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))) &&
                process.state() != QProcess::Running && process.bytesAvailable() < bytes)
                return false;
        }
        return process.read(buffer, bytes) == bytes;
    };
    const auto answer = extraction::readAnswer(readExactly, textCap);
    if (!answer) throw ExchangeFailure{endingNote()};
    return *answer;
}

// Why the program gave no answer, or a broken one.
QString ContentExtractor::Private::endingNote() {
    QProcess& process = *program;
    if (process.state() == QProcess::Running)
        return QCoreApplication::translate("dorvanel::ContentExtractor",
                                           "El programa de extracción dio una respuesta no válida");
    if (process.exitStatus() == QProcess::NormalExit)
        return QCoreApplication::translate("dorvanel::ContentExtractor",
                                           "El programa de extracción terminó sin responder (estado %1)")
            .arg(process.exitCode());
    const int signal = process.exitCode();
    if (signal == SIGALRM || signal == SIGXCPU)
        return QCoreApplication::translate("dorvanel::ContentExtractor",
                                           "La extracción superó su tiempo límite de %1 segundos")
            .arg(seconds(limits.milliseconds));
    return QCoreApplication::translate("dorvanel::ContentExtractor",
                                       "El programa de extracción terminó de forma anormal (señal %1)")
        .arg(signal);
}

void ContentExtractor::Private::stop() {
    if (!program) return;
    program->kill();
    program->waitForFinished(EndingMilliseconds);
    program.reset();
}

ContentExtractor::ContentExtractor() : ContentExtractor(ExtractionLimits{}) {}

ContentExtractor::ContentExtractor(const ExtractionLimits& limits) : d_(std::make_unique<Private>()) {
    d_->limits = limits;
}

ContentExtractor::~ContentExtractor() {
    if (!d_->program) return;
    d_->program->closeWriteChannel();
    if (!d_->program->waitForFinished(EndingMilliseconds)) d_->stop();
}

ExtractedContent ContentExtractor::extract(QIODevice& source, qint64 size, const QString& typeCode,
                                           const ExtractionRequest& request) {
    if (size < 0 || size > d_->limits.documentBytes)
        return failed(QCoreApplication::translate(
                          "dorvanel::ContentExtractor",
                          "El documento ocupa %1 bytes, más de los %2 que se leen para su miniatura y su texto")
                          .arg(size)
                          .arg(d_->limits.documentBytes));
    const extraction::RequestHead head = requestHead(request, typeCode, size);
    try {
        d_->running();
        d_->send(source, size, extraction::encodeRequestHead(head));
        const extraction::Answer answer = d_->receive(head.textCap);
        if (answer.outcome == extraction::Outcome::OutOfMemory) {
            d_->stop();
            return failed(QCoreApplication::translate("dorvanel::ContentExtractor",
                                                      "La extracción superó su límite de memoria de %1 MiB")
                              .arg(d_->limits.memoryBytes / (1024 * 1024)));
        }
        if (!answer.miniature.isEmpty() && !isMiniature(answer.miniature))
            return {{},
                    QString::fromUtf8(answer.text),
                    QCoreApplication::translate("dorvanel::ContentExtractor",
                                                "El programa de extracción dio una miniatura no válida")};
        return {answer.miniature, QString::fromUtf8(answer.text), QString::fromUtf8(answer.note)};
    } catch (const ExchangeFailure& failure) {
        d_->stop();
        return failed(failure.note);
    }
}

ExtractedContent ContentExtractor::extractFile(const QString& path, const QString& typeCode,
                                               const ExtractionRequest& request) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(QCoreApplication::translate("dorvanel::ContentExtractor", "No se pudo abrir %1: %2")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
    return extract(file, file.size(), typeCode, request);
}

}  // namespace dorvanel
