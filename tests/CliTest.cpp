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

const char RawContent[] = "first\0second\r\n\xff\x00\x01 end";
const QByteArray BinaryContent(RawContent, sizeof RawContent - 1);

// Every command, with the options its help must name.
struct CommandOptions {
    QString command;
    QStringList options;
};
const QList<CommandOptions> EveryCommand{
    {QStringLiteral("init"), {}},
    {QStringLiteral("store"),
     {QStringLiteral("--name"), QStringLiteral("--description"), QStringLiteral("--keywords"), QStringLiteral("--type"),
      QStringLiteral("--url"), QStringLiteral("--parent"), QStringLiteral("--parent-type")}},
    {QStringLiteral("link"), {QStringLiteral("--parent-type"), QStringLiteral("--no-sys")}},
    {QStringLiteral("unlink"), {}},
    {QStringLiteral("parents"), {}},
    {QStringLiteral("list"),
     {QStringLiteral("--parents"), QStringLiteral("--type"), QStringLiteral("--no-sys"), QStringLiteral("--all"),
      QStringLiteral("--json")}},
    {QStringLiteral("get"), {QStringLiteral("-o")}},
    {QStringLiteral("open"), {}},
    {QStringLiteral("download"), {}},
    {QStringLiteral("add"), {QStringLiteral("--parent-type"), QStringLiteral("--screenshot")}},
    {QStringLiteral("edit"), {QStringLiteral("--screenshot")}},
    {QStringLiteral("rm"), {}},
    {QStringLiteral("import"), {QStringLiteral("--parent"), QStringLiteral("--parent-type")}},
    {QStringLiteral("tour"), {}},
    {QStringLiteral("help"), {}},
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const Result init = run({QStringLiteral("init")});
        ASSERT_EQ(init.status, 0) << init;
    }
    // Storing a picture leaves its miniature beside the library.
    void TearDown() override { QFile::remove(dorvanel::ComponentFile::tempFolder() + QStringLiteral("/Temp.bmp")); }

    // The program with the test's database and a home of its own, drawing off screen unless
    // the platform is among the variables left out.
    Result run(const QStringList& arguments, const QStringList& unsetVariables = {}) const {
        return runRaw(QStringList{QStringLiteral("--db"), QStringLiteral("sqlite:") + dir.filePath("cli.sqlite")} +
                          arguments,
                      unsetVariables);
    }

    Result runRaw(const QStringList& arguments, const QStringList& unsetVariables = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DORVANEL_DB"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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
        const Result stored = run(QStringList{QStringLiteral("store"), file} + options);
        EXPECT_EQ(stored.status, 0) << stored;
        return stored.lastLine();
    }

    QJsonArray listJson(const QStringList& options = {}) const {
        const Result listed = run(QStringList{QStringLiteral("list"), QStringLiteral("--json")} + options);
        EXPECT_EQ(listed.status, 0) << listed;
        return QJsonDocument::fromJson(listed.out).array();
    }

    QSet<QString> listedNames(const QStringList& options = {}) const {
        QSet<QString> names;
        for (const QJsonValue& row : listJson(options)) names << row[QStringLiteral("name")].toString();
        return names;
    }

    QTemporaryDir dir;
};

TEST_F(CliTest, StoredFileComesBackByteForByteToAFileAndToStandardOutput) {
    const QString guid = store(writeFile(QStringLiteral("datos.bin"), BinaryContent),
                               {QStringLiteral("--name"), QStringLiteral("Datos"), QStringLiteral("--parent"), key('P'),
                                QStringLiteral("--parent"), key('Q'), QStringLiteral("--parent-type"),
                                QStringLiteral("Cliente")});
    ASSERT_EQ(guid.size(), 32);

    const QString copy = dir.filePath(QStringLiteral("copia.bin"));
    EXPECT_EQ(run({QStringLiteral("get"), guid, QStringLiteral("-o"), copy}).status, 0);
    EXPECT_EQ(readFile(copy), BinaryContent);

    const Result toStdout = run({QStringLiteral("get"), guid});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, BinaryContent);

    EXPECT_EQ(run({QStringLiteral("parents"), guid}).out, (key('P') + '\n' + key('Q') + '\n').toUtf8())
        << "one key per line, and nothing for the list's closing empty entry";
}

TEST_F(CliTest, ListShowsTheChosenDocumentsWithTheirFields) {
    const QString note = writeFile(QStringLiteral("nota.txt"), "nota");
    const QString linked = store(note, {QStringLiteral("--name"), QStringLiteral("Vinculado"),
                                        QStringLiteral("--description"), QStringLiteral("Una nota"),
                                        QStringLiteral("--keywords"), QStringLiteral("a b"), QStringLiteral("--parent"),
                                        key('P'), QStringLiteral("--parent-type"), QStringLiteral("Cliente")});
    store(writeFile(QStringLiteral("tabla.csv"), "a;b"), {QStringLiteral("--name"), QStringLiteral("Suelto")});

    const QJsonArray rows = listJson({QStringLiteral("--parents"), key('P')});
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row[QStringLiteral("guid")].toString(), linked);
    EXPECT_EQ(row[QStringLiteral("description")].toString(), QStringLiteral("Una nota"));
    EXPECT_EQ(row[QStringLiteral("keywords")].toString(), QStringLiteral("a b"));
    EXPECT_EQ(row[QStringLiteral("type")].toString(), QStringLiteral("txt"));
    EXPECT_TRUE(row[QStringLiteral("pk")].isDouble());
    EXPECT_FALSE(row[QStringLiteral("created")].toString().isEmpty());
    EXPECT_TRUE(row[QStringLiteral("sis")].toBool());

    struct Case {
        QStringList options;
        QSet<QString> names;
    };
    const QList<Case> cases{
        {{}, {QStringLiteral("Vinculado"), QStringLiteral("Suelto")}},
        {{QStringLiteral("--all")}, {QStringLiteral("Vinculado")}},
        {{QStringLiteral("--type"), QStringLiteral("csv")}, {QStringLiteral("Suelto")}},
        {{QStringLiteral("--parents"), key('P'), QStringLiteral("--no-sys")}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(listedNames(c.options), c.names) << c.options.join(' ').toStdString();

    const QStringList table = run({QStringLiteral("list")}).outLines();
    ASSERT_EQ(table.size(), 3);
    const qsizetype guidColumn = table[0].indexOf(QStringLiteral("Sys_GUID"));
    EXPECT_TRUE(table[0].startsWith(QStringLiteral("Sys_PK")));
    for (const QString& line : table.mid(1)) EXPECT_EQ(line.mid(guidColumn).size(), 32) << line.toStdString();
}

TEST_F(CliTest, LinksAreAddedAndRemovedAndRmTakesThemAll) {
    const QString guid = store(writeFile(QStringLiteral("a.txt"), "a"),
                               {QStringLiteral("--name"), QStringLiteral("A")});
    EXPECT_EQ(run({QStringLiteral("link"), key('P'), guid, QStringLiteral("--parent-type"), QStringLiteral("Cliente")})
                  .status,
              0);
    EXPECT_EQ(run({QStringLiteral("link"), key('Q'), guid, QStringLiteral("--parent-type"), QStringLiteral("Cliente"),
                   QStringLiteral("--no-sys")})
                  .status,
              0);
    EXPECT_EQ(listedNames({QStringLiteral("--parents"), key('Q'), QStringLiteral("--no-sys")}),
              QSet<QString>{QStringLiteral("A")});

    EXPECT_EQ(run({QStringLiteral("unlink"), key('P'), guid}).status, 0);
    EXPECT_EQ(run({QStringLiteral("parents"), guid}).outLines(), QStringList{key('Q')});
    const Result again = run({QStringLiteral("unlink"), key('P'), guid});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.startsWith(QStringLiteral("dorvanel: error "))) << again;

    EXPECT_EQ(run({QStringLiteral("rm"), guid}).status, 0);
    EXPECT_TRUE(listedNames().isEmpty());
    EXPECT_TRUE(listedNames({QStringLiteral("--all")}).isEmpty()) << "its links went with it";
    EXPECT_EQ(run({QStringLiteral("rm"), guid}).status, 1);
}

TEST_F(CliTest, ParentWithoutLinksNeedsATypeAndNothingIsLeftBehind) {
    const Result refused = run({QStringLiteral("store"), writeFile(QStringLiteral("a.txt"), "a"),
                                QStringLiteral("--name"), QStringLiteral("A"), QStringLiteral("--parent"), key('N')});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("error -99: No existe ParentType"))) << refused;
    EXPECT_TRUE(listedNames().isEmpty()) << "a document that could not be linked is not kept";
}

TEST_F(CliTest, ImportStoresEveryFileOfTheFolderInNameOrder) {
    const QString folder = dir.filePath(QStringLiteral("entrada"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/subcarpeta")));
    for (const QString& name : {QStringLiteral("c.csv"), QStringLiteral("a.txt"), QStringLiteral("b.png")})
        writeFile(QStringLiteral("entrada/") + name, name.toUtf8());

    const Result imported = run({QStringLiteral("import"), folder, QStringLiteral("--parent"), key('P'),
                                 QStringLiteral("--parent-type"), QStringLiteral("Cliente")});
    ASSERT_EQ(imported.status, 0) << imported;
    const QStringList lines = imported.outLines();
    ASSERT_EQ(lines.size(), 3);
    const QStringList files{QStringLiteral("a.txt"), QStringLiteral("b.png"), QStringLiteral("c.csv")};
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{32}  ") + files[i] + '$').match(lines[i]).hasMatch())
            << lines[i].toStdString();
    EXPECT_EQ(listedNames({QStringLiteral("--parents"), key('P')}),
              (QSet<QString>{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST_F(CliTest, StoredPictureGetsTheMiniatureTheAddDialogMakes) {
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString photo = dir.filePath(QStringLiteral("Casa.JPG"));
    ASSERT_TRUE(picture.save(photo, "JPEG"));
    const std::pair<QString, int> cases[] = {
        {photo, 120},
        {writeFile(QStringLiteral("nota.txt"), "nota"), 0},
    };
    for (const auto& [file, miniatureWidth] : cases) {
        const QString guid = store(file, {QStringLiteral("--name"), QStringLiteral("Con miniatura")});
        const auto database = dorvanel::Connection::Open(QStringLiteral("sqlite:") + dir.filePath("cli.sqlite"));
        const auto rows = database->Execute(QStringLiteral("SELECT MiniData FROM Docs WHERE Sys_GUID = ?"), {guid});
        ASSERT_TRUE(rows && !rows->Eof());
        const QByteArray miniature = rows->Fields(QStringLiteral("MiniData")).toByteArray();
        EXPECT_EQ(QImage::fromData(miniature, "BMP").width(), miniatureWidth) << file.toStdString();
    }
}

TEST_F(CliTest, OutsideReferenceGivesItsLocation) {
    const QString url = QStringLiteral("https://example.org/catalogo.pdf");
    const QString guid = store(url, {QStringLiteral("--url"), QStringLiteral("--name"), QStringLiteral("Catálogo")});
    const Result fetched = run({QStringLiteral("get"), guid});
    EXPECT_EQ(fetched.status, 0);
    EXPECT_EQ(fetched.lastLine(), url);
    EXPECT_EQ(listedNames(), QSet<QString>{QStringLiteral("Catálogo")});
}

TEST_F(CliTest, DownloadPrintsAPageThatLinksToTheContent) {
    const QString guid = store(writeFile(QStringLiteral("informe.txt"), "informe"),
                               {QStringLiteral("--name"), QStringLiteral("Informe")});
    const Result shown = run({QStringLiteral("download"), guid});
    ASSERT_EQ(shown.status, 0) << shown;
    const QString prefix = QStringLiteral("Página de descarga: ");
    ASSERT_TRUE(shown.lastLine().startsWith(prefix)) << shown;
    const QString page = shown.lastLine().mid(prefix.size());
    EXPECT_TRUE(page.startsWith(dir.path())) << "the page goes to the user's cache folder";

    const auto link = QRegularExpression(QStringLiteral("href=\"([^\"]+)\"")).match(QString::fromUtf8(readFile(page)));
    ASSERT_TRUE(link.hasMatch());
    EXPECT_TRUE(QFile::exists(link.captured(1))) << link.captured(1).toStdString();
}

TEST_F(CliTest, EditScreenshotIsTheDialogsClientAreaAndSavesNothing) {
    const QString guid = store(writeFile(QStringLiteral("informe.txt"), "informe"),
                               {QStringLiteral("--name"), QStringLiteral("Informe"), QStringLiteral("--description"),
                                QStringLiteral("Ventas del trimestre"), QStringLiteral("--keywords"),
                                QStringLiteral("ventas")});
    const QString picture = dir.filePath(QStringLiteral("dlgEdit.png"));
    const Result shown = run({QStringLiteral("edit"), guid, QStringLiteral("--screenshot"), picture});
    EXPECT_EQ(shown.status, 1) << "closed as Cancelar closes it\n" << shown;
    EXPECT_TRUE(shown.err.isEmpty()) << shown;

    QImage image;
    ASSERT_TRUE(image.load(picture, "PNG"));
    EXPECT_EQ(image.size(), QSize(552, 212)) << "8280 x 3180 twips at 15 twips a pixel";
    const QJsonArray rows = listJson();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][QStringLiteral("description")].toString(), QStringLiteral("Ventas del trimestre"));
    EXPECT_EQ(rows[0][QStringLiteral("keywords")].toString(), QStringLiteral("ventas"));
}

TEST_F(CliTest, AddScreenshotShowsTheProposedFileAndStoresNothing) {
    const QString file = writeFile(QStringLiteral("acta.txt"), "acta");
    const QString picture = dir.filePath(QStringLiteral("dlgAdd.png"));
    const Result shown = run({QStringLiteral("add"), key('A'), file, QStringLiteral("--parent-type"),
                              QStringLiteral("Cliente"), QStringLiteral("--screenshot"), picture});
    EXPECT_EQ(shown.status, 1) << "closed as Cancelar closes it\n" << shown;
    QImage image;
    ASSERT_TRUE(image.load(picture, "PNG"));
    EXPECT_EQ(image.size(), QSize(590, 357)) << "8850 x 5355 twips at 15 twips a pixel";
    EXPECT_TRUE(listJson().isEmpty());
}

TEST_F(CliTest, EditShowsNoDialogItCannotShowOrThatHasNoDocument) {
    const QString guid = store(writeFile(QStringLiteral("a.txt"), "a"),
                               {QStringLiteral("--name"), QStringLiteral("A")});
    const QString picture = dir.filePath(QStringLiteral("nada.png"));
    const QStringList screenshot{QStringLiteral("--screenshot"), picture};
    const QStringList noDisplay{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"),
                                QStringLiteral("WAYLAND_DISPLAY")};
    struct Case {
        QStringList arguments;
        QStringList unsetVariables;
        QString error;
    };
    const QList<Case> cases{
        {QStringList{QStringLiteral("edit"), QString(31, QLatin1Char('A'))} + screenshot,
         {},
         QStringLiteral("error 5: ")},
        {QStringList{QStringLiteral("edit"), key('A')} + screenshot, {}, QStringLiteral("error 3021: ")},
        {{QStringLiteral("edit"), guid}, {}, QStringLiteral("necesita una pantalla")},
        {QStringList{QStringLiteral("edit"), guid} + screenshot, noDisplay, QStringLiteral("necesita una pantalla")},
    };
    for (const Case& c : cases) {
        const Result refused = run(c.arguments, c.unsetVariables);
        EXPECT_EQ(refused.status, 1) << refused;
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("dorvanel: error ")) && refused.err.contains(c.error))
            << refused;
        EXPECT_FALSE(QFile::exists(picture)) << refused;
    }
}

TEST_F(CliTest, TourRunsAgainOnTheSameDatabase) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Result tour = run({QStringLiteral("tour")});
        EXPECT_EQ(tour.status, 0) << tour;
    }
    EXPECT_EQ(
        listJson({QStringLiteral("--parents"), QStringLiteral("DEMO").leftJustified(32, QLatin1Char('0'))}).size(), 8)
        << "each run adds four documents of its own";
}

TEST_F(CliTest, FailuresGiveANumberedMessageAndExitWithOne) {
    const QString file = writeFile(QStringLiteral("a.txt"), "a");
    const QList<QStringList> cases{
        {QStringLiteral("get"), key('U')},
        {QStringLiteral("store"), file, QStringLiteral("--name"), QStringLiteral("A"), QStringLiteral("--parent"),
         QString(31, QLatin1Char('P')), QStringLiteral("--parent-type"), QStringLiteral("Cliente")},
        {QStringLiteral("store"), dir.filePath(QStringLiteral("falta.txt")), QStringLiteral("--name"),
         QStringLiteral("A")},
    };
    const QRegularExpression numbered(QStringLiteral("^dorvanel: error -?\\d+: \\S"));
    for (const QStringList& arguments : cases) {
        const Result failed = run(arguments);
        EXPECT_EQ(failed.status, 1) << failed;
        EXPECT_TRUE(numbered.match(failed.err).hasMatch()) << failed;
        EXPECT_TRUE(failed.out.isEmpty()) << failed;
    }
    EXPECT_TRUE(listedNames().isEmpty());
}

// Help and usage errors come before any database opens, so these runs name one that cannot.
const QStringList UnopenableDatabase{QStringLiteral("--db"), QStringLiteral("sqlite:/nonexistent/cli.sqlite")};

TEST_F(CliTest, GeneralHelpNamesEveryCommandAndGoesToStandardErrorWithoutACommand) {
    const QList<std::pair<QStringList, int>> cases{{{QStringLiteral("help")}, 0},
                                                   {{QStringLiteral("--help")}, 0},
                                                   {{QStringLiteral("-h")}, 0},
                                                   {{}, 2}};
    for (const auto& [asked, status] : cases) {
        const Result help = runRaw(UnopenableDatabase + asked);
        EXPECT_EQ(help.status, status) << help;
        const QString text = status == 0 ? QString::fromUtf8(help.out) : help.err;
        for (const CommandOptions& command : EveryCommand)
            EXPECT_TRUE(text.contains(QStringLiteral("\n  ") + command.command + ' ')) << command.command.toStdString();
        for (const char* hint : {"DORVANEL_DB", "postgresql://", "QT_LOGGING_RULES", "Estado de salida"})
            EXPECT_TRUE(text.contains(QLatin1String(hint))) << hint << '\n' << help;
    }
}

TEST_F(CliTest, EachCommandHasItsOwnHelpInBothSpellings) {
    for (const CommandOptions& command : EveryCommand) {
        const QList<QStringList> spellings{{QStringLiteral("help"), command.command},
                                           {command.command, QStringLiteral("--help")},
                                           {command.command, QStringLiteral("-h")}};
        for (const QStringList& asked : spellings) {
            const Result help = runRaw(UnopenableDatabase + asked);
            EXPECT_EQ(help.status, 0) << help;
            const QString text = QString::fromUtf8(help.out);
            EXPECT_TRUE(text.contains(QStringLiteral("Uso: dorvanel ") + command.command)) << help;
            for (const QString& option : command.options + QStringList{QStringLiteral("--help")})
                EXPECT_TRUE(text.contains(option + ' ')) << option.toStdString() << '\n' << help;
        }
    }
}

TEST_F(CliTest, VersionIsOneLine) {
    for (const QString& flag : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const Result version = runRaw({flag});
        EXPECT_EQ(version.status, 0) << version;
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^dorvanel \\d+\\.\\d+\\.\\d+\\n$"))
                        .match(QString::fromUtf8(version.out))
                        .hasMatch())
            << version;
    }
}

TEST_F(CliTest, UsageErrorsAreExplainedInSpanish) {
    struct Case {
        QStringList arguments;
        QString message;
    };
    const QList<Case> cases{
        {{QStringLiteral("--bogus"), QStringLiteral("list")}, QStringLiteral("opción desconocida: --bogus")},
        {{QStringLiteral("--db")}, QStringLiteral("falta el valor de la opción --db")},
        {UnopenableDatabase + QStringList{QStringLiteral("list"), QStringLiteral("--bogus")},
         QStringLiteral("list no tiene la opción --bogus")},
        {UnopenableDatabase + QStringList{QStringLiteral("get"), key('A'), QStringLiteral("-o")},
         QStringLiteral("falta el valor de la opción -o")},
        {UnopenableDatabase + QStringList{QStringLiteral("list"), QStringLiteral("--json=sí")},
         QStringLiteral("la opción --json no lleva valor")},
        {UnopenableDatabase + QStringList{QStringLiteral("import"), QStringLiteral("carpeta")},
         QStringLiteral("import necesita la opción --parent")},
        {UnopenableDatabase + QStringList{QStringLiteral("link"), key('P')}, QStringLiteral("link: falta CLAVE")},
        {UnopenableDatabase + QStringList{QStringLiteral("help"), QStringLiteral("bogus")},
         QStringLiteral("orden desconocida: bogus")},
        {UnopenableDatabase + QStringList{QStringLiteral("bogus")}, QStringLiteral("orden desconocida: bogus")},
        {UnopenableDatabase + QStringList{QStringLiteral("store"), QStringLiteral("a.txt")},
         QStringLiteral("store necesita la opción --name")},
        {UnopenableDatabase + QStringList{QStringLiteral("get"), key('A'), key('B')},
         QStringLiteral("get: sobra el argumento «") + key('B') + QStringLiteral("»")},
    };
    for (const Case& c : cases) {
        const Result refused = runRaw(c.arguments);
        EXPECT_EQ(refused.status, 2) << refused;
        const QString expected = QStringLiteral("dorvanel: ") + c.message + QStringLiteral("\nVea dorvanel --help");
        EXPECT_TRUE(refused.err.contains(expected)) << refused;
    }
}

}  // namespace
