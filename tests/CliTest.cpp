// The dorvanel command run as a user runs it, on a SQLite file of its own.

#include "platform/ComponentFile.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct Result {
    int status = -1;
    QByteArray out;
    QString err;

    QStringList outLines() const { return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QString lastLine() const { return outLines().value(outLines().size() - 1); }
};

std::ostream& operator<<(std::ostream& os, const Result& result) {
    return os << "status " << result.status << "\nstdout: " << result.out.toStdString()
              << "\nstderr: " << result.err.toStdString();
}

QString key(char filler) { return QString(32, QLatin1Char(filler)); }

// The words of a command line whose arguments hold no spaces.
QStringList words(const QString& line) { return line.split(u' ', Qt::SkipEmptyParts); }

const char RawContent[] = "first\0second\r\n\xff\x00\x01 end";
const QByteArray BinaryContent(RawContent, sizeof RawContent - 1);

// Every command, with the options its help must name.
const std::pair<QString, QString> EveryCommand[] = {
    {u"init"_s, {}},
    {u"store"_s, u"--name --description --keywords --type --url --parent --parent-type"_s},
    {u"link"_s, u"--parent-type --no-sys"_s},
    {u"unlink"_s, {}},
    {u"parents"_s, {}},
    {u"list"_s, u"--parents --type --no-sys --all --json"_s},
    {u"get"_s, u"-o"_s},
    {u"open"_s, {}},
    {u"download"_s, {}},
    {u"add"_s, u"--parent-type --screenshot"_s},
    {u"edit"_s, u"--screenshot"_s},
    {u"rm"_s, {}},
    {u"import"_s, u"--parent --parent-type"_s},
    {u"tour"_s, {}},
    {u"help"_s, {}},
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const Result init = run({u"init"_s});
        ASSERT_EQ(init.status, 0) << init;
    }
    // Storing a picture leaves its miniature beside the library.
    void TearDown() override { QFile::remove(dorvanel::ComponentFile::tempFolder() + u"/Temp.bmp"_s); }

    QString database() const { return u"sqlite:"_s + dir.filePath(u"cli.sqlite"_s); }

    // The program with the test's database and a home of its own, drawing off screen unless
    // the platform is among the variables left out.
    Result run(const QStringList& arguments, const QStringList& unsetVariables = {}) const {
        return runRaw(QStringList{u"--db"_s, database()} + arguments, unsetVariables);
    }

    Result runRaw(const QStringList& arguments, const QStringList& unsetVariables = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DORVANEL_DB"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        for (const char* variable : {"HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QLatin1String(variable), dir.path());
        for (const QString& variable : unsetVariables) environment.remove(variable);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(DORVANEL_CLI), arguments);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000)) return Result{};
        return Result{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                      process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }

    QString writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QByteArray readFile(const QString& path) const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    // Stores a file and gives the key the command printed last.
    QString store(const QString& file, const QStringList& options) const {
        const Result stored = run(QStringList{u"store"_s, file} + options);
        EXPECT_EQ(stored.status, 0) << stored;
        return stored.lastLine();
    }

    QJsonArray listJson(const QStringList& options = {}) const {
        const Result listed = run(QStringList{u"list"_s, u"--json"_s} + options);
        EXPECT_EQ(listed.status, 0) << listed;
        return QJsonDocument::fromJson(listed.out).array();
    }

    QSet<QString> listedNames(const QStringList& options = {}) const {
        QSet<QString> names;
        for (const QJsonValue& row : listJson(options)) names << row[u"name"_s].toString();
        return names;
    }

    QTemporaryDir dir;
};

TEST_F(CliTest, StoredFileComesBackByteForByteToAFileStandardOutputAndADownloadPage) {
    const QString guid =
        store(writeFile(u"datos.bin"_s, BinaryContent),
              words(u"--name Datos --parent %1 --parent %2 --parent-type Cliente"_s.arg(key('P'), key('Q'))));
    ASSERT_EQ(guid.size(), 32);

    const QString copy = dir.filePath(u"copia.bin"_s);
    EXPECT_EQ(run({u"get"_s, guid, u"-o"_s, copy}).status, 0);
    EXPECT_EQ(readFile(copy), BinaryContent);

    const Result toStdout = run({u"get"_s, guid});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, BinaryContent);

    EXPECT_EQ(run({u"parents"_s, guid}).out, (key('P') + '\n' + key('Q') + '\n').toUtf8())
        << "one key per line, and nothing for the list's closing empty entry";

    const Result shown = run({u"download"_s, guid});
    const QString prefix = u"Página de descarga: "_s;
    ASSERT_TRUE(shown.status == 0 && shown.lastLine().startsWith(prefix)) << shown;
    const QString page = shown.lastLine().mid(prefix.size());
    EXPECT_TRUE(page.startsWith(dir.path())) << "the page goes to the user's cache folder";
    const auto link = QRegularExpression(u"href=\"([^\"]+)\""_s).match(QString::fromUtf8(readFile(page)));
    ASSERT_TRUE(link.hasMatch());
    EXPECT_EQ(readFile(link.captured(1)), BinaryContent) << "the page links to the content";

    const QString url = u"https://example.org/catalogo.pdf"_s;
    const Result fetched = run({u"get"_s, store(url, {u"--url"_s, u"--name"_s, u"Catálogo"_s})});
    EXPECT_EQ(fetched.status, 0);
    EXPECT_EQ(fetched.lastLine(), url) << "an outside reference gives its location";
    EXPECT_EQ(listedNames(), (QSet<QString>{u"Datos"_s, u"Catálogo"_s}));
}

TEST_F(CliTest, ListShowsTheChosenDocumentsWithTheirFields) {
    const QString linked =
        store(writeFile(u"nota.txt"_s, "nota"),
              QStringList{u"--name"_s, u"Vinculado"_s, u"--description"_s, u"Una nota"_s, u"--keywords"_s, u"a b"_s} +
                  words(u"--parent %1 --parent-type Cliente"_s.arg(key('P'))));
    store(writeFile(u"tabla.csv"_s, "a;b"), words(u"--name Suelto"_s));

    const QJsonArray rows = listJson(words(u"--parents "_s + key('P')));
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    for (const auto& [field, value] : std::initializer_list<std::pair<QString, QString>>{
             {u"guid"_s, linked}, {u"description"_s, u"Una nota"_s}, {u"keywords"_s, u"a b"_s}, {u"type"_s, u"txt"_s}})
        EXPECT_EQ(row[field].toString(), value) << field.toStdString();
    EXPECT_TRUE(row[u"pk"_s].isDouble());
    EXPECT_FALSE(row[u"created"_s].toString().isEmpty());
    EXPECT_TRUE(row[u"sis"_s].toBool());

    const std::pair<QString, QSet<QString>> cases[] = {
        {{}, {u"Vinculado"_s, u"Suelto"_s}},
        {u"--all"_s, {u"Vinculado"_s}},
        {u"--type csv"_s, {u"Suelto"_s}},
        {u"--parents %1 --no-sys"_s.arg(key('P')), {}},
    };
    for (const auto& [options, names] : cases) EXPECT_EQ(listedNames(words(options)), names) << options.toStdString();

    const QStringList table = run({u"list"_s}).outLines();
    ASSERT_EQ(table.size(), 3);
    const qsizetype guidColumn = table[0].indexOf(u"Sys_GUID"_s);
    EXPECT_TRUE(table[0].startsWith(u"Sys_PK"_s));
    for (const QString& line : table.mid(1)) EXPECT_EQ(line.mid(guidColumn).size(), 32) << line.toStdString();
}

TEST_F(CliTest, LinksAreAddedAndRemovedAndRmTakesThemAll) {
    const QString guid = store(writeFile(u"a.txt"_s, "a"), words(u"--name A"_s));
    EXPECT_EQ(run(words(u"link %1 %2 --parent-type Cliente"_s.arg(key('P'), guid))).status, 0);
    EXPECT_EQ(run(words(u"link %1 %2 --parent-type Cliente --no-sys"_s.arg(key('Q'), guid))).status, 0);
    EXPECT_EQ(listedNames(words(u"--parents %1 --no-sys"_s.arg(key('Q')))), QSet<QString>{u"A"_s});

    EXPECT_EQ(run({u"unlink"_s, key('P'), guid}).status, 0);
    EXPECT_EQ(run({u"parents"_s, guid}).outLines(), QStringList{key('Q')});
    const Result again = run({u"unlink"_s, key('P'), guid});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.startsWith(u"dorvanel: error "_s)) << again;

    EXPECT_EQ(run({u"rm"_s, guid}).status, 0);
    EXPECT_TRUE(listedNames().isEmpty());
    EXPECT_TRUE(listedNames({u"--all"_s}).isEmpty()) << "its links went with it";
    EXPECT_EQ(run({u"rm"_s, guid}).status, 1);
}

TEST_F(CliTest, ImportStoresEveryFileOfTheFolderInNameOrder) {
    const QString folder = dir.filePath(u"entrada"_s);
    ASSERT_TRUE(QDir().mkpath(folder + u"/subcarpeta"_s));
    for (const QString& name : {u"c.csv"_s, u"a.txt"_s, u"b.png"_s}) writeFile(u"entrada/"_s + name, name.toUtf8());

    const Result imported = run({u"import"_s, folder, u"--parent"_s, key('P'), u"--parent-type"_s, u"Cliente"_s});
    ASSERT_EQ(imported.status, 0) << imported;
    const QRegularExpression printed(u"^[0-9A-F]{32}  a.txt\n[0-9A-F]{32}  b.png\n[0-9A-F]{32}  c.csv\n$"_s);
    EXPECT_TRUE(printed.match(QString::fromUtf8(imported.out)).hasMatch()) << imported;
    EXPECT_EQ(listedNames({u"--parents"_s, key('P')}), (QSet<QString>{u"a"_s, u"b"_s, u"c"_s}));
}

TEST_F(CliTest, StoredPictureGetsTheMiniatureTheAddDialogMakes) {
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString photo = dir.filePath(u"Casa.JPG"_s);
    ASSERT_TRUE(picture.save(photo, "JPEG"));
    for (const auto& [file, miniatureWidth] :
         std::initializer_list<std::pair<QString, int>>{{photo, 120}, {writeFile(u"nota.txt"_s, "nota"), 0}}) {
        const QString guid = store(file, words(u"--name Miniatura"_s));
        const auto rows =
            dorvanel::Connection::Open(database())->Execute(u"SELECT MiniData FROM Docs WHERE Sys_GUID = ?"_s, {guid});
        ASSERT_TRUE(rows && !rows->Eof());
        const QByteArray miniature = rows->Fields(u"MiniData"_s).toByteArray();
        EXPECT_EQ(QImage::fromData(miniature, "BMP").width(), miniatureWidth) << file.toStdString();
    }
}

// Each dialog's client area, as its twips size at 15 twips a pixel; closed as Cancelar closes it,
// and no dialog shown when it cannot be or has no document.
TEST_F(CliTest, ScreenshotsAreTheDialogsClientAreaAndSaveNothing) {
    const QString guid =
        store(writeFile(u"informe.txt"_s, "informe"),
              {u"--name"_s, u"Informe"_s, u"--description"_s, u"Ventas del trimestre"_s, u"--keywords"_s, u"ventas"_s});
    const QString picture = dir.filePath(u"dialogo.png"_s);
    const QStringList screenshot{u"--screenshot"_s, picture};
    const QString noScreen = u"necesita una pantalla"_s;
    const QStringList noDisplay = words(u"QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY"_s);
    const QStringList add{u"add"_s, key('A'), writeFile(u"acta.txt"_s, "acta"), u"--parent-type"_s, u"Cliente"_s};
    const std::tuple<QStringList, QSize, QString, QStringList> cases[] = {
        {QStringList{u"edit"_s, guid} + screenshot, {552, 212}, {}, {}},
        {add + screenshot, {590, 357}, {}, {}},
        {QStringList{u"edit"_s, QString(31, QLatin1Char('A'))} + screenshot, {0, 0}, u"error 5: "_s, {}},
        {QStringList{u"edit"_s, key('A')} + screenshot, {0, 0}, u"error 3021: "_s, {}},
        {QStringList{u"edit"_s, guid} + screenshot, {0, 0}, noScreen, noDisplay},
        {{u"edit"_s, guid}, {0, 0}, noScreen, {}},
    };
    for (const auto& [arguments, size, error, unsetVariables] : cases) {
        QFile::remove(picture);
        const Result shown = run(arguments, unsetVariables);
        EXPECT_EQ(shown.status, 1) << shown;
        EXPECT_TRUE(error.isEmpty() ? shown.err.isEmpty()
                                    : shown.err.startsWith(u"dorvanel: error "_s) && shown.err.contains(error))
            << shown;
        EXPECT_EQ(QImage(picture, "PNG").size(), size) << shown;
    }
    const QJsonArray rows = listJson();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][u"description"_s].toString(), u"Ventas del trimestre"_s);
    EXPECT_EQ(rows[0][u"keywords"_s].toString(), u"ventas"_s);
}

TEST_F(CliTest, TourRunsAgainOnTheSameDatabase) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Result tour = run({u"tour"_s});
        EXPECT_EQ(tour.status, 0) << tour;
    }
    EXPECT_EQ(listJson({u"--parents"_s, u"DEMO"_s.leftJustified(32, QLatin1Char('0'))}).size(), 8)
        << "each run adds four documents of its own";
}

// Help and usage errors come before any database opens, so these runs name one that cannot.
const QStringList UnopenableDatabase{u"--db"_s, u"sqlite:/nonexistent/cli.sqlite"_s};

TEST_F(CliTest, HelpNamesEveryCommandAndEachCommandsOptions) {
    for (const auto& [asked, status] : std::initializer_list<std::pair<QString, int>>{
             {u"help"_s, 0}, {u"--help"_s, 0}, {u"-h"_s, 0}, {QString(), 2}}) {
        const Result help = runRaw(UnopenableDatabase + words(asked));
        EXPECT_EQ(help.status, status) << help;
        const QString text = status == 0 ? QString::fromUtf8(help.out) : help.err;
        for (const auto& [command, options] : EveryCommand)
            EXPECT_TRUE(text.contains(u"\n  "_s + command + ' ')) << command.toStdString();
        for (const char* hint : {"DORVANEL_DB", "postgresql://", "QT_LOGGING_RULES", "Estado de salida"})
            EXPECT_TRUE(text.contains(QLatin1String(hint))) << hint << '\n' << help;
    }
    for (const auto& [command, options] : EveryCommand) {
        for (const QString& asked : {u"help %1"_s, u"%1 --help"_s, u"%1 -h"_s}) {
            const Result help = runRaw(UnopenableDatabase + words(asked.arg(command)));
            EXPECT_EQ(help.status, 0) << help;
            const QString text = QString::fromUtf8(help.out);
            EXPECT_TRUE(text.contains(u"Uso: dorvanel "_s + command)) << help;
            for (const QString& option : words(options + u" --help"_s))
                EXPECT_TRUE(text.contains(option + ' ')) << option.toStdString() << '\n' << help;
        }
    }
    for (const QString& flag : {u"--version"_s, u"-v"_s}) {
        const Result version = runRaw({flag});
        EXPECT_EQ(version.status, 0) << version;
        EXPECT_TRUE(
            QRegularExpression(u"^dorvanel \\d+\\.\\d+\\.\\d+\\n$"_s).match(QString::fromUtf8(version.out)).hasMatch())
            << version;
    }
}

// Failures give a numbered message and exit with 1, leaving nothing behind (not even a document
// that could not be linked); usage errors are explained in Spanish and exit with 2.
TEST_F(CliTest, RefusalsExplainThemselvesAndExitWithTheirStatus) {
    const QStringList db{u"--db"_s, database()};
    const QStringList storeA = db + QStringList{u"store"_s, writeFile(u"a.txt"_s, "a"), u"--name"_s, u"A"_s};
    const QString usage = u"dorvanel: %1\nVea dorvanel --help"_s;
    const std::tuple<QStringList, int, QString> cases[] = {
        {db + words(u"get "_s + key('U')), 1, {}},
        {storeA + words(u"--parent-type Cliente --parent "_s + QString(31, QLatin1Char('P'))), 1, {}},
        {db + QStringList{u"store"_s, dir.filePath(u"falta.txt"_s), u"--name"_s, u"A"_s}, 1, {}},
        {storeA + words(u"--parent "_s + key('N')), 1, u"error -99: No existe ParentType"_s},
        {words(u"--bogus list"_s), 2, usage.arg(u"opción desconocida: --bogus"_s)},
        {{u"--db"_s}, 2, usage.arg(u"falta el valor de la opción --db"_s)},
        {UnopenableDatabase + words(u"list --bogus"_s), 2, usage.arg(u"list no tiene la opción --bogus"_s)},
        {UnopenableDatabase + words(u"get %1 -o"_s.arg(key('A'))), 2, usage.arg(u"falta el valor de la opción -o"_s)},
        {UnopenableDatabase + words(u"list --json=sí"_s), 2, usage.arg(u"la opción --json no lleva valor"_s)},
        {UnopenableDatabase + words(u"import carpeta"_s), 2, usage.arg(u"import necesita la opción --parent"_s)},
        {UnopenableDatabase + words(u"link "_s + key('P')), 2, usage.arg(u"link: falta CLAVE"_s)},
        {UnopenableDatabase + words(u"help bogus"_s), 2, usage.arg(u"orden desconocida: bogus"_s)},
        {UnopenableDatabase + words(u"bogus"_s), 2, usage.arg(u"orden desconocida: bogus"_s)},
        {UnopenableDatabase + words(u"store a.txt"_s), 2, usage.arg(u"store necesita la opción --name"_s)},
        {UnopenableDatabase + words(u"get %1 %2"_s.arg(key('A'), key('B'))), 2,
         usage.arg(u"get: sobra el argumento «%1»"_s.arg(key('B')))},
    };
    const QRegularExpression numbered(u"^dorvanel: error -?\\d+: \\S"_s);
    for (const auto& [arguments, status, text] : cases) {
        const Result refused = runRaw(arguments);
        EXPECT_EQ(refused.status, status) << refused;
        EXPECT_TRUE(refused.err.contains(text) && (status != 1 || numbered.match(refused.err).hasMatch())) << refused;
        EXPECT_TRUE(refused.out.isEmpty()) << refused;
    }
    EXPECT_TRUE(listedNames().isEmpty());
}

}  // namespace
