#include "Duplicates.h"

#include "Session.h"
#include "Texts.h"

#include <Dorvanel/ContentDigests.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

QString duplicatesText(Session& session) {
    QString text;
    qint64 spare = 0;
    const QList<DuplicateContent> groups = duplicateContents(session.connection());
    for (const DuplicateContent& group : groups) {
        text += Texts::tr("%1  %2 bytes  %3 documentos  %4 bytes repetidos\n")
                    .arg(QString::fromLatin1(group.digest.sha256))
                    .arg(group.digest.size)
                    .arg(group.guids.size())
                    .arg(group.spareBytes());
        for (const QString& guid : group.guids) text += QStringLiteral("  ") + guid + QLatin1Char('\n');
        spare += group.spareBytes();
    }
    return text +
           Texts::tr("Grupos de contenido repetido: %1; espacio repetido: %2 bytes\n").arg(groups.size()).arg(spare);
}

QByteArray duplicatesJson(Session& session) {
    QJsonArray array;
    for (const DuplicateContent& group : duplicateContents(session.connection()))
        array.append(QJsonObject{{QStringLiteral("sha256"), QString::fromLatin1(group.digest.sha256)},
                                 {QStringLiteral("size"), group.digest.size},
                                 {QStringLiteral("spareBytes"), group.spareBytes()},
                                 {QStringLiteral("guids"), QJsonArray::fromStringList(group.guids)}});
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

}  // namespace dorvanel::cli
