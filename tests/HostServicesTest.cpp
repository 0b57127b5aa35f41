#include "component/Globals.h"
#include "component/Manager.h"
#include "host/DefaultOskel.h"
#include "platform/ComponentFile.h"
#include "platform/FileNames.h"
#include "platform/MessageBox.h"
#include "repository/DownloadPage.h"
#include "support/QtPrinting.h"
#include "support/RecordingOskel.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace dorvanel;

namespace {

TEST(DefaultOskel, FileNamesAndExtensions) {
    struct Case {
        const char* input;
        const char* extension;
        const char* baseName;
    };
    const Case cases[] = {
        {"/home/ana/Casa.JPG", "JPG", "Casa"},
        {"informe.final.pdf", "pdf", "informe.final"},
        {"https://example.com/docs/plano.dwg?v=2#p", "dwg", "plano"},
        {"https://example.com", "", ""},
    };
    DefaultOskel oskel;
    for (const Case& c : cases) {
        EXPECT_EQ(oskel.FileExtension(QString::fromUtf8(c.input)), QString::fromUtf8(c.extension)) << c.input;
        EXPECT_EQ(oskel.FileBaseName(QString::fromUtf8(c.input)), QString::fromUtf8(c.baseName)) << c.input;
    }
}

TEST(DefaultOskel, WritesTextFilesAsUtf8) {
    DefaultOskel oskel;
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("download7.html"));
    EXPECT_TRUE(oskel.WriteTextFile(page, QStringLiteral("<a>aquí</a>")));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QStringLiteral("<a>aquí</a>"));
    EXPECT_FALSE(oskel.WriteTextFile(dir.filePath(QStringLiteral("no/such/folder.html")), QStringLiteral("x")));
}

// Qt's off-screen platform has no program for any file, as a desktop without one for pictures.
TEST(DefaultOskel, ShellOpenWithoutAProgramForTheFileAsksToSaveItFromTheDownloadPage) {
    const auto manager = Manager::create();
    auto services = std::make_shared<test::RecordingOskel>();
    gOskel = services;
    const QString file = QStringLiteral("/tmp/Dorvanel/temp.jpg");
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        QStringList asked;
        QStringList pages;
        const MessagePresenter presenter =
            setMessagePresenter([&](const QString& text, qint32 style, const QString& title) -> qint32 {
                asked << QStringLiteral("%1|%2|%3").arg(text).arg(style).arg(title);
                return yes ? vbYes : vbNo;
            });
        const DownloadPageShower shower = setDownloadPageShower([&](const QString& page) { pages << page; });
        DefaultOskel().ShellOpen(file, QStringLiteral("open"), 0);
        setDownloadPageShower(shower);
        setMessagePresenter(presenter);
        EXPECT_EQ(asked, QStringList{QStringLiteral("No hay ningún programa en este escritorio para abrir el archivo "
                                                    "/tmp/Dorvanel/temp.jpg.\n\n¿Desea guardarlo desde la página de "
                                                    "descarga?|36|")});
        EXPECT_EQ(pages, yes ? QStringList{QStringLiteral("/tmp/download7.html")} : QStringList{});
        EXPECT_EQ(services->writtenText.contains(QLatin1String("temp.jpg")), yes);
    }
}

TEST(ComponentFile, NamesTheLibrarysFolder) {
    const QString folder = ComponentFile::folder();
    EXPECT_FALSE(QDir(folder).entryList({QStringLiteral("libDorvanel.so*")}).isEmpty()) << folder.toStdString();
}

TEST(fileInFolder, KeepsEveryNameInsideItsFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"temp.pdf", "/f/temp.pdf"},
        {"temp.../../etc/passwd", "/f/temp..._.._etc_passwd"},
        {"temp.a\\b", "/f/temp.a_b"},
        {"..", "/f/__"},
        {".", "/f/_"},
        {"...", "/f/..."},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(fileInFolder(QStringLiteral("/f"), QString::fromUtf8(name)), QString::fromUtf8(expected)) << name;
    EXPECT_EQ(fileInFolder(QStringLiteral("/f/"), QStringLiteral("x")), QStringLiteral("/f/x"));
}

}  // namespace
