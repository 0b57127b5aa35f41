#pragma once

#include "component/Oskel.h"

#include <QStringList>

namespace dorvanel::test {

// An application-services double: records every call as one line and answers as scripted.
class RecordingOskel : public Oskel {
public:
    QStringList calls;
    QString workFolder = QStringLiteral("/tmp");
    bool writeSucceeds = true;
    QString writtenText;

    QString FolderWithSeparator(const QString& folder) override {
        calls << QStringLiteral("FolderWithSeparator ") + folder;
        return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    }
    bool WriteTextFile(const QString& path, const QString& text) override {
        calls << QStringLiteral("WriteTextFile ") + path;
        writtenText = text;
        return writeSucceeds;
    }
    QString WorkFolder() override {
        calls << QStringLiteral("WorkFolder");
        return workFolder;
    }
    QString FileExtension(const QString& fileName) override {
        calls << QStringLiteral("FileExtension ") + fileName;
        const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
        return dot < 0 ? QString() : fileName.mid(dot + 1);
    }
    QString FileBaseName(const QString& path) override {
        calls << QStringLiteral("FileBaseName ") + path;
        return path.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    }
    qint16 NumberBetween(qint16 low, qint16 high) override {
        calls << QStringLiteral("NumberBetween %1 %2").arg(low).arg(high);
        return 7;
    }
    void ShellOpen(const QString& path, const QString& verb, qint32 showCommand) override {
        calls << QStringLiteral("ShellOpen %1 %2 %3").arg(path, verb).arg(showCommand);
    }
    void SetProductTitle(const QString& title) override { calls << QStringLiteral("SetProductTitle ") + title; }
    void SetHelpFile(const QString& helpFile) override { calls << QStringLiteral("SetHelpFile [%1]").arg(helpFile); }
    void ShowHelp(qint32 windowHandle, qint32 helpContext) override {
        calls << QStringLiteral("ShowHelp %1 %2").arg(windowHandle).arg(helpContext);
    }
};

}  // namespace dorvanel::test
