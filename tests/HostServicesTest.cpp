#include "host/DefaultOskel.h"
#include "platform/ComponentFile.h"
#include "platform/FileNames.h"

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
        {"/tmp/sin_extension", "", "sin_extension"},
        {"https://example.com/docs/plano.dwg?v=2#p", "dwg", "plano"},
        {"https://example.com", "", ""},
    };
    DefaultOskel oskel;
    for (const Case& c : cases) {
        EXPECT_EQ(oskel.FileExtension(QString::fromUtf8(c.input)), QString::fromUtf8(c.extension)) << c.input;
        EXPECT_EQ(oskel.FileBaseName(QString::fromUtf8(c.input)), QString::fromUtf8(c.baseName)) << c.input;
    }
}

TEST(DefaultOskel, FoldersNumbersAndTextFiles) {
    DefaultOskel oskel;
    EXPECT_EQ(oskel.FolderWithSeparator(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
    EXPECT_EQ(oskel.FolderWithSeparator(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
    EXPECT_TRUE(QDir(oskel.WorkFolder()).exists());
    for (int i = 0; i < 200; ++i) {
        const qint16 n = oskel.NumberBetween(1, 99);
        ASSERT_TRUE(n >= 1 && n <= 99) << n;
    }
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("download7.html"));
    EXPECT_TRUE(oskel.WriteTextFile(page, QStringLiteral("<a>aquí</a>")));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QStringLiteral("<a>aquí</a>"));
    EXPECT_FALSE(oskel.WriteTextFile(dir.filePath(QStringLiteral("no/such/folder.html")), QStringLiteral("x")));
}

TEST(ComponentFile, NamesTheLibraryFolderBaseNameAndVersion) {
    const QString folder = ComponentFile::folder();
    EXPECT_FALSE(folder.endsWith(QLatin1Char('/')));
    EXPECT_FALSE(QDir(folder).entryList({QStringLiteral("libDorvanel.so*")}).isEmpty()) << folder.toStdString();
    EXPECT_EQ(ComponentFile::baseName(), QStringLiteral("Dorvanel"));
    EXPECT_EQ(QStringLiteral("%1.%2.%3")
                  .arg(ComponentFile::versionMajor())
                  .arg(ComponentFile::versionMinor())
                  .arg(ComponentFile::versionRevision()),
              QStringLiteral(DORVANEL_TEST_PROJECT_VERSION));
}

TEST(fileInFolder, KeepsEveryNameInsideItsFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"temp.pdf", "/f/temp.pdf"},
        {"temp.../../etc/passwd", "/f/temp..._.._etc_passwd"},
        {"temp.a\\b", "/f/temp.a_b"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(fileInFolder(QStringLiteral("/f"), QString::fromUtf8(name)), QString::fromUtf8(expected)) << name;
    EXPECT_EQ(fileInFolder(QStringLiteral("/f/"), QStringLiteral("x")), QStringLiteral("/f/x"));
}

}  // namespace
