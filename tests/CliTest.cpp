// The dorvanel command run as a user runs it, on a SQLite file of its own.

#include "platform/ComponentFile.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <gtest/gtest.h>

#include <QDateTime>
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

// The words of a command line whose arguments hold no spaces.
QStringList words(const QString& line) { return line.split(u' ', Qt::SkipEmptyParts); }

const char RawContent[] = "first\0second\r\n\xff\x00\x01 end";
const QByteArray BinaryContent(RawContent, sizeof RawContent - 1);

// Every command, with the options its help must name.
const std::pair<QString, QString> EveryCommand[] = {
    {QStringLiteral("init"), {}},
    {QStringLiteral("store"), QStringLiteral("--name --description --keywords --type --url --parent --parent-type")},
    {QStringLiteral("link"), QStringLiteral("--parent-type --no-sys")},
    {QStringLiteral("unlink"), {}},
    {QStringLiteral("parents"), {}},
    {QStringLiteral("list"), QStringLiteral("--parents --parents-from --type --no-sys --all --json")},
    {QStringLiteral("get"), QStringLiteral("-o")},
    {QStringLiteral("open"), {}},
    {QStringLiteral("download"), {}},
    {QStringLiteral("add"), QStringLiteral("--parent-type --screenshot")},
    {QStringLiteral("edit"), QStringLiteral("--screenshot")},
    {QStringLiteral("find"), QStringLiteral("--parents --type --no-sys --miniatures --screenshot")},
    {QStringLiteral("browse"), QStringLiteral("--info --parent-type --screenshot")},
    {QStringLiteral("rm"), {}},
    {QStringLiteral("import"), QStringLiteral("--parent --parent-type")},
    {QStringLiteral("demo"), QStringLiteral("--screenshot")},
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

    QString database() const { return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("cli.sqlite")); }

    // The program with the test's database and a home of its own, drawing on the fixture's
    // platform unless that is among the variables left out.
    Result run(const QStringList& arguments, const QStringList& unsetVariables = {}) const {
        return runRaw(QStringList{QStringLiteral("--db"), database()} + arguments, unsetVariables);
    }

    Result runRaw(const QStringList& arguments, const QStringList& unsetVariables = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DORVANEL_DB"));
        for (const auto& [variable, value] : platform) environment.insert(variable, value);
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
    // How the program draws, as environment variables.
    QList<std::pair<QString, QString>> platform{{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};
};

TEST_F(CliTest, StoredFileComesBackByteForByteToAFileStandardOutputAndADownloadPage) {
    const QString guid = store(
        writeFile(QStringLiteral("datos.bin"), BinaryContent),
        words(QStringLiteral("--name Datos --parent %1 --parent %2 --parent-type Cliente").arg(key('P'), key('Q'))));
    ASSERT_EQ(guid.size(), 32);

    const QString copy = dir.filePath(QStringLiteral("copia.bin"));
    EXPECT_EQ(run({QStringLiteral("get"), guid, QStringLiteral("-o"), copy}).status, 0);
    EXPECT_EQ(readFile(copy), BinaryContent);

    const Result toStdout = run({QStringLiteral("get"), guid});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, BinaryContent);

    EXPECT_EQ(run({QStringLiteral("parents"), guid}).out, (key('P') + '\n' + key('Q') + '\n').toUtf8())
        << "one key per line, and nothing for the list's closing empty entry";

    const Result shown = run({QStringLiteral("download"), guid});
    const QString prefix = QStringLiteral("Página de descarga: ");
    ASSERT_TRUE(shown.status == 0 && shown.lastLine().startsWith(prefix)) << shown;
    const QString page = shown.lastLine().mid(prefix.size());
    EXPECT_TRUE(page.startsWith(dir.path())) << "the page goes to the user's cache folder";
    const auto link = QRegularExpression(QStringLiteral("href=\"([^\"]+)\"")).match(QString::fromUtf8(readFile(page)));
    ASSERT_TRUE(link.hasMatch());
    EXPECT_EQ(readFile(link.captured(1)), BinaryContent) << "the page links to the content";

    const QString url = QStringLiteral("https://example.org/catalogo.pdf");
    const Result fetched = run({QStringLiteral("get"), store(url, {QStringLiteral("--url"), QStringLiteral("--name"),
                                                                   QStringLiteral("Catálogo")})});
    EXPECT_EQ(fetched.status, 0);
    EXPECT_EQ(fetched.lastLine(), url) << "an outside reference gives its location";
    EXPECT_EQ(listedNames(), (QSet<QString>{QStringLiteral("Datos"), QStringLiteral("Catálogo")}));
}

TEST_F(CliTest, ListShowsTheChosenDocumentsWithTheirFields) {
    const QString linked = store(writeFile(QStringLiteral("nota.txt"), "nota"),
                                 QStringList{QStringLiteral("--name"), QStringLiteral("Vinculado"),
                                             QStringLiteral("--description"), QStringLiteral("Una nota"),
                                             QStringLiteral("--keywords"), QStringLiteral("a b")} +
                                     words(QStringLiteral("--parent %1 --parent-type Cliente").arg(key('P'))));
    store(writeFile(QStringLiteral("tabla.csv"), "a;b"), words(QStringLiteral("--name Suelto")));

    const QJsonArray rows = listJson(words(QStringLiteral("--parents ") + key('P')));
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    for (const auto& [field, value] :
         std::initializer_list<std::pair<QString, QString>>{{QStringLiteral("guid"), linked},
                                                            {QStringLiteral("description"), QStringLiteral("Una nota")},
                                                            {QStringLiteral("keywords"), QStringLiteral("a b")},
                                                            {QStringLiteral("type"), QStringLiteral("txt")}})
        EXPECT_EQ(row[field].toString(), value) << field.toStdString();
    EXPECT_TRUE(row[QStringLiteral("pk")].isDouble());
    EXPECT_FALSE(row[QStringLiteral("created")].toString().isEmpty());
    EXPECT_TRUE(row[QStringLiteral("sis")].toBool());

    const std::pair<QString, QSet<QString>> cases[] = {
        {{}, {QStringLiteral("Vinculado"), QStringLiteral("Suelto")}},
        {QStringLiteral("--all"), {QStringLiteral("Vinculado")}},
        {QStringLiteral("--type csv"), {QStringLiteral("Suelto")}},
        {QStringLiteral("--parents %1 --no-sys").arg(key('P')), {}},
    };
    for (const auto& [options, names] : cases) EXPECT_EQ(listedNames(words(options)), names) << options.toStdString();

    const QStringList table = run({QStringLiteral("list")}).outLines();
    ASSERT_EQ(table.size(), 3);
    const qsizetype guidColumn = table[0].indexOf(QStringLiteral("Sys_GUID"));
    EXPECT_TRUE(table[0].startsWith(QStringLiteral("Sys_PK")));
    for (const QString& line : table.mid(1)) EXPECT_EQ(line.mid(guidColumn).size(), 32) << line.toStdString();
}

// Every parent's documents are filtered alike, however many parents are named; one parent is
// still listed through the component's own statement.
TEST_F(CliTest, ListFiltersEveryParentAlike) {
    const QString file = writeFile(QStringLiteral("a.txt"), "a");
    for (const QChar parent : {u'A', u'B'}) {
        for (const QString& type : {QStringLiteral("pdf"), QStringLiteral("txt")})
            store(file, words(QStringLiteral("--name %1%2 --type %2 --parent-type Cliente --parent %3")
                                  .arg(parent, type, key(char(parent.unicode())))));
        const QString byHand = store(file, words(QStringLiteral("--name %1mano --type pdf").arg(parent)));
        run(words(
            QStringLiteral("link %1 %2 --parent-type Cliente --no-sys").arg(key(char(parent.unicode())), byHand)));
    }
    const QString both = QStringLiteral("--parents %1,%2 ").arg(key('A'), key('B'));
    const std::pair<QString, QSet<QString>> cases[] = {
        {{}, {QStringLiteral("Apdf"), QStringLiteral("Atxt"), QStringLiteral("Bpdf"), QStringLiteral("Btxt")}},
        {QStringLiteral("--type pdf"), {QStringLiteral("Apdf"), QStringLiteral("Bpdf")}},
        {QStringLiteral("--no-sys"), {QStringLiteral("Amano"), QStringLiteral("Bmano")}},
        {QStringLiteral("--no-sys --type txt"), {}},
    };
    for (const auto& [options, names] : cases)
        EXPECT_EQ(listedNames(words(both + options)), names) << options.toStdString();

    platform << std::pair{QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("dorvanel.sql.debug=true")};
    const Result logged = run(words(QStringLiteral("list --type pdf --parents ") + key('A')));
    EXPECT_TRUE(logged.err.contains(
        QStringLiteral("SELECT * From qryJoin Where FK_Parent ='%1' and TypeData='pdf' and sis <>0").arg(key('A'))))
        << logged;
}

// Long parent lists: a thousand on the command line (more than SQLite's expression depth allows
// in one statement) and more than a command line holds in a file; each document once, however
// many of its parents are named.
TEST_F(CliTest, ListTakesLongParentLists) {
    const QString file = writeFile(QStringLiteral("a.txt"), "a");
    store(file, words(QStringLiteral("--name Compartido --parent-type Cliente --parent %1 --parent %2")
                          .arg(key('A'), key('B'))));
    store(file, words(QStringLiteral("--name SoloB --parent-type Cliente --parent ") + key('B')));
    QStringList keys;
    for (int n = 0; n < 10000; ++n) keys << QStringLiteral("K%1").arg(n, 31, 10, QLatin1Char('0'));
    keys.insert(500, key('B'));
    keys.insert(700, key('A'));
    keys << key('A');
    const QStringList options[] = {
        {QStringLiteral("--parents"), keys.mid(0, 1000).join(QLatin1Char(','))},
        {QStringLiteral("--parents-from"),
         writeFile(QStringLiteral("claves.txt"), keys.join(QLatin1Char('\n')).toUtf8())},
    };
    for (const QStringList& parents : options) {
        QStringList names;
        for (const QJsonValue& row : listJson(parents)) names << row[QStringLiteral("name")].toString();
        EXPECT_EQ(names, (QStringList{QStringLiteral("Compartido"), QStringLiteral("SoloB")}))
            << parents[0].toStdString();
    }

    const Result empty =
        run({QStringLiteral("list"), QStringLiteral("--parents-from"), writeFile(QStringLiteral("vacio.txt"), "\n\n")});
    EXPECT_EQ(empty.status, 1) << "no key would list every document";
}

// Times carry their offset on either engine (in a zone half an hour off the hour here), and each
// document tells its content's size and whether it is an outside reference.
TEST_F(CliTest, ListGivesTimesWithTheirOffsetAndSizesOnEitherEngine) {
    platform << std::pair{QStringLiteral("TZ"), QStringLiteral("Asia/Kolkata")};
    QStringList databases{database()};
    if (const QString server = qEnvironmentVariable("DORVANEL_TEST_PG_URL"); !server.isEmpty()) {
        const auto connection = dorvanel::Connection::Open(server);
        for (const char* statement :
             {"SET client_min_messages = warning", "DROP SCHEMA IF EXISTS public CASCADE", "CREATE SCHEMA public"})
            connection->Execute(QLatin1String(statement));
        databases << server;
    }
    const QString file = writeFile(QStringLiteral("datos.bin"), BinaryContent);
    const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$"));
    for (const QString& url : databases) {
        const QStringList db{QStringLiteral("--db"), url};
        ASSERT_EQ(runRaw(db + QStringList{QStringLiteral("init")}).status, 0);
        for (const QStringList& stored : {QStringList{file, QStringLiteral("--name"), QStringLiteral("Datos")},
                                          words(QStringLiteral("https://example.org/c.pdf --url --name Enlace"))})
            ASSERT_EQ(runRaw(db + QStringList{QStringLiteral("store")} + stored).status, 0);

        const Result listed = runRaw(db + words(QStringLiteral("list --json")));
        const QJsonArray rows = QJsonDocument::fromJson(listed.out).array();
        ASSERT_EQ(rows.size(), 2) << listed;
        for (const QJsonValue& row : rows) {
            for (const char* field : {"created", "timestamp"}) {
                const QString time = row[QLatin1String(field)].toString();
                EXPECT_TRUE(iso.match(time).hasMatch()) << time.toStdString();
                const qint64 age = QDateTime::fromString(time, Qt::ISODateWithMs).secsTo(QDateTime::currentDateTime());
                EXPECT_TRUE(age >= 0 && age < 600) << time.toStdString() << " is not now";
                if (url == database()) {
                    EXPECT_TRUE(time.endsWith(QStringLiteral("+05:30"))) << time.toStdString();
                }
            }
        }
        EXPECT_EQ(rows[0][QStringLiteral("size")].toInteger(), BinaryContent.size());
        EXPECT_FALSE(rows[0][QStringLiteral("outside")].toBool());
        EXPECT_TRUE(rows[1][QStringLiteral("size")].isNull());
        EXPECT_TRUE(rows[1][QStringLiteral("outside")].toBool());

        const QStringList table = QString::fromUtf8(runRaw(db + QStringList{QStringLiteral("list")}).out).split(u'\n');
        EXPECT_TRUE(table[0].contains(QStringLiteral("Creado")) && table[0].contains(QStringLiteral("Tamaño")) &&
                    table[0].contains(QStringLiteral("Externo")))
            << table[0].toStdString();
        EXPECT_TRUE(table[1].contains(QRegularExpression(QStringLiteral(" %1 +no ").arg(BinaryContent.size()))))
            << table[1].toStdString();
        EXPECT_TRUE(table[2].contains(QRegularExpression(QStringLiteral("\\d  +sí  ")))) << table[2].toStdString();
    }
}

// Whatever a text holds, JSON gives it back as it is (bytes that are not UTF-8, which another
// host may leave, replaced) and the table keeps one aligned line per document.
TEST_F(CliTest, ListOutputStaysWellFormedWhateverTheTextsHold) {
    const QString odd = QStringLiteral("Ñandú \"dicho\" \\ barra\ttab\nlínea \x01");
    const QString file = writeFile(QStringLiteral("a.txt"), "a");
    const QString oddGuid = store(file, {QStringLiteral("--name"), odd});
    const QString plainGuid = store(file, words(QStringLiteral("--name Normal")));
    dorvanel::Connection::Open(database())
        ->Execute(QStringLiteral("UPDATE Docs SET Description = CAST(? AS TEXT) WHERE Sys_GUID = ?"),
                  {QByteArray("ca\xff\xfe"), plainGuid});

    const QJsonArray rows = listJson();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][QStringLiteral("name")].toString(), odd);
    EXPECT_EQ(rows[1][QStringLiteral("description")].toString(), QStringLiteral("ca\uFFFD\uFFFD"));

    const QStringList table = run({QStringLiteral("list")}).outLines();
    ASSERT_EQ(table.size(), 3);
    const qsizetype guidColumn = table[0].indexOf(QStringLiteral("Sys_GUID"));
    EXPECT_EQ(table[1].indexOf(oddGuid), guidColumn) << table[1].toStdString();
    EXPECT_EQ(table[2].indexOf(plainGuid), guidColumn) << table[2].toStdString();
}

TEST_F(CliTest, LinksAreAddedAndRemovedAndRmTakesThemAll) {
    const QString guid = store(writeFile(QStringLiteral("a.txt"), "a"), words(QStringLiteral("--name A")));
    EXPECT_EQ(run(words(QStringLiteral("link %1 %2 --parent-type Cliente").arg(key('P'), guid))).status, 0);
    EXPECT_EQ(run(words(QStringLiteral("link %1 %2 --parent-type Cliente --no-sys").arg(key('Q'), guid))).status, 0);
    EXPECT_EQ(listedNames(words(QStringLiteral("--parents %1 --no-sys").arg(key('Q')))),
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

TEST_F(CliTest, ImportStoresEveryFileOfTheFolderInNameOrder) {
    const QString folder = dir.filePath(QStringLiteral("entrada"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/subcarpeta")));
    for (const QString& name : {QStringLiteral("c.csv"), QStringLiteral("a.txt"), QStringLiteral("b.png")})
        writeFile(QStringLiteral("entrada/") + name, name.toUtf8());

    const Result imported = run({QStringLiteral("import"), folder, QStringLiteral("--parent"), key('P'),
                                 QStringLiteral("--parent-type"), QStringLiteral("Cliente")});
    ASSERT_EQ(imported.status, 0) << imported;
    const QRegularExpression printed(
        QStringLiteral("^[0-9A-F]{32}  a.txt\n[0-9A-F]{32}  b.png\n[0-9A-F]{32}  c.csv\n$"));
    EXPECT_TRUE(printed.match(QString::fromUtf8(imported.out)).hasMatch()) << imported;
    EXPECT_EQ(listedNames({QStringLiteral("--parents"), key('P')}),
              (QSet<QString>{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST_F(CliTest, StoredPictureGetsTheMiniatureTheAddDialogMakes) {
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString photo = dir.filePath(QStringLiteral("Casa.JPG"));
    ASSERT_TRUE(picture.save(photo, "JPEG"));
    for (const auto& [file, miniatureWidth] :
         std::initializer_list<std::pair<QString, int>>{{photo, 120},
                                                        {writeFile(QStringLiteral("nota.txt"), "nota"), 0}}) {
        const QString guid = store(file, words(QStringLiteral("--name Miniatura")));
        const auto rows = dorvanel::Connection::Open(database())
                              ->Execute(QStringLiteral("SELECT MiniData FROM Docs WHERE Sys_GUID = ?"), {guid});
        ASSERT_TRUE(rows && !rows->Eof());
        const QByteArray miniature = rows->Fields(QStringLiteral("MiniData")).toByteArray();
        EXPECT_EQ(QImage::fromData(miniature, "BMP").width(), miniatureWidth) << file.toStdString();
    }
}

// Each dialog's client area, as its twips size at 15 twips a pixel; closed as Cancelar closes it,
// and no dialog shown when it cannot be or has no document.
TEST_F(CliTest, ScreenshotsAreTheDialogsClientAreaAndSaveNothing) {
    const QString guid = store(writeFile(QStringLiteral("informe.txt"), "informe"),
                               {QStringLiteral("--name"), QStringLiteral("Informe"), QStringLiteral("--description"),
                                QStringLiteral("Ventas del trimestre"), QStringLiteral("--keywords"),
                                QStringLiteral("ventas")});
    const QString picture = dir.filePath(QStringLiteral("dialogo.png"));
    const QStringList screenshot{QStringLiteral("--screenshot"), picture};
    const QString noScreen = QStringLiteral("necesita una pantalla");
    const QStringList noDisplay = words(QStringLiteral("QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY"));
    const QStringList add{QStringLiteral("add"), key('A'), writeFile(QStringLiteral("acta.txt"), "acta"),
                          QStringLiteral("--parent-type"), QStringLiteral("Cliente")};
    const std::tuple<QStringList, QSize, QString, QStringList> cases[] = {
        {QStringList{QStringLiteral("edit"), guid} + screenshot, {552, 212}, {}, {}},
        {add + screenshot, {590, 357}, {}, {}},
        {QStringList{QStringLiteral("edit"), QString(31, QLatin1Char('A'))} + screenshot,
         {0, 0},
         QStringLiteral("error 5: "),
         {}},
        {QStringList{QStringLiteral("edit"), key('A')} + screenshot, {0, 0}, QStringLiteral("error 3021: "), {}},
        {QStringList{QStringLiteral("edit"), guid} + screenshot, {0, 0}, noScreen, noDisplay},
        {{QStringLiteral("edit"), guid}, {0, 0}, noScreen, {}},
    };
    for (const auto& [arguments, size, error, unsetVariables] : cases) {
        QFile::remove(picture);
        const Result shown = run(arguments, unsetVariables);
        EXPECT_EQ(shown.status, 1) << shown;
        EXPECT_TRUE(error.isEmpty()
                        ? shown.err.isEmpty()
                        : shown.err.startsWith(QStringLiteral("dorvanel: error ")) && shown.err.contains(error))
            << shown;
        EXPECT_EQ(QImage(picture, "PNG").size(), size) << shown;
    }
    const QJsonArray rows = listJson();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][QStringLiteral("description")].toString(), QStringLiteral("Ventas del trimestre"));
    EXPECT_EQ(rows[0][QStringLiteral("keywords")].toString(), QStringLiteral("ventas"));
}

// Photographed, find closes as Cancelar (exit 1, no key printed) and browse as Cerrar (exit 0);
// neither changes a document, not even on a database without tables. The demo adds no samples
// to a database that has documents.
TEST_F(CliTest, FindBrowseAndDemoLeaveTheDocumentsAsTheyWere) {
    const QString guid = store(writeFile(QStringLiteral("informe.txt"), "informe"),
                               words(QStringLiteral("--name Informe --parent-type Cliente --parent ") + key('P')));
    const QString picture = dir.filePath(QStringLiteral("dialogo.png"));
    const QStringList screenshot{QStringLiteral("--screenshot"), picture};
    const QStringList db{QStringLiteral("--db"), database()};
    const QStringList emptyDb{QStringLiteral("--db"),
                              QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("vacia.sqlite"))};
    dorvanel::Connection::Open(emptyDb[1]);  // the file, without tables
    const QSize findSize(590, 393);
    const QSize browseSize(766, 467);
    const QString noScreen = QStringLiteral("necesita una pantalla");
    const std::tuple<QStringList, int, QSize, QString> cases[] = {
        {emptyDb + words(QStringLiteral("find --no-sys --parents ") + key('P')) + screenshot, 1, findSize, {}},
        {db + words(QStringLiteral("find --type txt --miniatures --parents ") + key('P')) + screenshot,
         1,
         findSize,
         {}},
        {db + words(QStringLiteral("browse %1 --info Informes --parent-type Cliente").arg(key('P'))) + screenshot,
         0,
         browseSize,
         {}},
        {emptyDb + QStringList{QStringLiteral("browse"), key('P')} + screenshot, 0, browseSize, {}},
        {db + QStringList{QStringLiteral("browse"), key('P') + ',' + QString(31, QLatin1Char('Q'))} + screenshot,
         1,
         {0, 0},
         QStringLiteral("error 5: ")},
        {db + QStringList{QStringLiteral("find")}, 1, {0, 0}, noScreen},
        {db + QStringList{QStringLiteral("browse"), key('P')}, 1, {0, 0}, noScreen},
        {db + QStringList{QStringLiteral("demo")}, 1, {0, 0}, noScreen},
    };
    for (const auto& [arguments, status, size, error] : cases) {
        QFile::remove(picture);
        const Result shown = runRaw(arguments);
        EXPECT_EQ(shown.status, status) << shown;
        EXPECT_TRUE(shown.out.isEmpty()) << shown;
        EXPECT_TRUE(error.isEmpty() ? shown.err.isEmpty() : shown.err.contains(error)) << shown;
        EXPECT_EQ(QImage(picture, "PNG").size(), size) << shown;
    }
    EXPECT_EQ(run({QStringLiteral("parents"), guid}).outLines(), QStringList{key('P')});
    EXPECT_EQ(listedNames(), QSet<QString>{QStringLiteral("Informe")});
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

// Help and usage errors come before any database opens, so these runs name one that cannot.
const QStringList UnopenableDatabase{QStringLiteral("--db"), QStringLiteral("sqlite:/nonexistent/cli.sqlite")};

TEST_F(CliTest, HelpNamesEveryCommandAndEachCommandsOptions) {
    for (const auto& [asked, status] : std::initializer_list<std::pair<QString, int>>{
             {QStringLiteral("help"), 0}, {QStringLiteral("--help"), 0}, {QStringLiteral("-h"), 0}, {QString(), 2}}) {
        const Result help = runRaw(UnopenableDatabase + words(asked));
        EXPECT_EQ(help.status, status) << help;
        const QString text = status == 0 ? QString::fromUtf8(help.out) : help.err;
        for (const auto& [command, options] : EveryCommand)
            EXPECT_TRUE(text.contains(QStringLiteral("\n  ") + command + ' ')) << command.toStdString();
        for (const char* hint : {"DORVANEL_DB", "postgresql://", "QT_LOGGING_RULES", "Estado de salida"})
            EXPECT_TRUE(text.contains(QLatin1String(hint))) << hint << '\n' << help;
    }
    for (const auto& [command, options] : EveryCommand) {
        for (const QString& asked : {QStringLiteral("help %1"), QStringLiteral("%1 --help"), QStringLiteral("%1 -h")}) {
            const Result help = runRaw(UnopenableDatabase + words(asked.arg(command)));
            EXPECT_EQ(help.status, 0) << help;
            const QString text = QString::fromUtf8(help.out);
            EXPECT_TRUE(text.contains(QStringLiteral("Uso: dorvanel ") + command)) << help;
            for (const QString& option : words(options + QStringLiteral(" --help")))
                EXPECT_TRUE(text.contains(option + ' ')) << option.toStdString() << '\n' << help;
        }
    }
    for (const QString& flag : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const Result version = runRaw({flag});
        EXPECT_EQ(version.status, 0) << version;
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^dorvanel \\d+\\.\\d+\\.\\d+\\n$"))
                        .match(QString::fromUtf8(version.out))
                        .hasMatch())
            << version;
    }
}

// Failures give a numbered message and exit with 1, leaving nothing behind (not even a document
// that could not be linked); usage errors are explained in Spanish and exit with 2.
TEST_F(CliTest, RefusalsExplainThemselvesAndExitWithTheirStatus) {
    const QStringList db{QStringLiteral("--db"), database()};
    const QStringList storeA = db + QStringList{QStringLiteral("store"), writeFile(QStringLiteral("a.txt"), "a"),
                                                QStringLiteral("--name"), QStringLiteral("A")};
    const QString usage = QStringLiteral("dorvanel: %1\nVea dorvanel --help");
    const std::tuple<QStringList, int, QString> cases[] = {
        {db + words(QStringLiteral("get ") + key('U')), 1, {}},
        {storeA + words(QStringLiteral("--parent-type Cliente --parent ") + QString(31, QLatin1Char('P'))), 1, {}},
        {db + QStringList{QStringLiteral("store"), dir.filePath(QStringLiteral("falta.txt")), QStringLiteral("--name"),
                          QStringLiteral("A")},
         1,
         {}},
        {storeA + words(QStringLiteral("--parent ") + key('N')), 1, QStringLiteral("error -99: No existe ParentType")},
        {words(QStringLiteral("--bogus list")), 2, usage.arg(QStringLiteral("opción desconocida: --bogus"))},
        {{QStringLiteral("--db")}, 2, usage.arg(QStringLiteral("falta el valor de la opción --db"))},
        {UnopenableDatabase + words(QStringLiteral("list --bogus")), 2,
         usage.arg(QStringLiteral("list no tiene la opción --bogus"))},
        {UnopenableDatabase + words(QStringLiteral("get %1 -o").arg(key('A'))), 2,
         usage.arg(QStringLiteral("falta el valor de la opción -o"))},
        {UnopenableDatabase + words(QStringLiteral("list --json=sí")), 2,
         usage.arg(QStringLiteral("la opción --json no lleva valor"))},
        {UnopenableDatabase + words(QStringLiteral("import carpeta")), 2,
         usage.arg(QStringLiteral("import necesita la opción --parent"))},
        {UnopenableDatabase + words(QStringLiteral("link ") + key('P')), 2,
         usage.arg(QStringLiteral("link: falta CLAVE"))},
        {UnopenableDatabase + words(QStringLiteral("help bogus")), 2,
         usage.arg(QStringLiteral("orden desconocida: bogus"))},
        {UnopenableDatabase + words(QStringLiteral("bogus")), 2, usage.arg(QStringLiteral("orden desconocida: bogus"))},
        {UnopenableDatabase + words(QStringLiteral("store a.txt")), 2,
         usage.arg(QStringLiteral("store necesita la opción --name"))},
        {UnopenableDatabase + words(QStringLiteral("get %1 %2").arg(key('A'), key('B'))), 2,
         usage.arg(QStringLiteral("get: sobra el argumento «%1»").arg(key('B')))},
    };
    const QRegularExpression numbered(QStringLiteral("^dorvanel: error -?\\d+: \\S"));
    for (const auto& [arguments, status, text] : cases) {
        const Result refused = runRaw(arguments);
        EXPECT_EQ(refused.status, status) << refused;
        EXPECT_TRUE(refused.err.contains(text) && (status != 1 || numbered.match(refused.err).hasMatch())) << refused;
        EXPECT_TRUE(refused.out.isEmpty()) << refused;
    }
    EXPECT_TRUE(listedNames().isEmpty());
}

// Only the commands that make a database create its file; the others name the file that is
// missing, or the database whose tables are, and say why.
TEST_F(CliTest, ReadingNeverCreatesTheDatabase) {
    const QString missing = dir.filePath(QStringLiteral("falta.sqlite"));
    const QString bare = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("sin-tablas.sqlite"));
    dorvanel::Connection::Open(bare);
    const QStringList atMissing{QStringLiteral("--db"), QStringLiteral("sqlite:") + missing};
    const QString noFile = QStringLiteral("No existe el archivo de base de datos ") + missing;
    const std::tuple<QStringList, int, QString> cases[] = {
        {atMissing + words(QStringLiteral("list")), 1, noFile},
        {atMissing + words(QStringLiteral("parents ") + key('D')), 1, noFile},
        {atMissing + words(QStringLiteral("get ") + key('D')), 1, noFile},
        {atMissing + QStringList{QStringLiteral("store"), writeFile(QStringLiteral("a.txt"), "a"),
                                 QStringLiteral("--name"), QStringLiteral("A")},
         1, noFile},
        {{QStringLiteral("--db"), bare, QStringLiteral("list")}, 1, bare + QStringLiteral(": no such table")},
        {QStringList{QStringLiteral("--db"), bare} + words(QStringLiteral("list --json --parents ") + key('P')), 1,
         bare + QStringLiteral(": no such table")},
        {words(QStringLiteral("--db sqlite: list")), 2, QStringLiteral("sqlite: necesita la ruta del archivo")},
        {words(QStringLiteral("--db sqlite: init")), 2, QStringLiteral("sqlite: necesita la ruta del archivo")},
    };
    for (const auto& [arguments, status, text] : cases) {
        const Result refused = runRaw(arguments);
        EXPECT_EQ(refused.status, status) << refused;
        EXPECT_TRUE(refused.err.contains(text)) << refused;
        EXPECT_TRUE(refused.out.isEmpty()) << refused;
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(runRaw(atMissing + QStringList{QStringLiteral("init")}).status, 0);
    EXPECT_TRUE(QFile::exists(missing));
}

// The demo on a real X server, an Xvfb of the test's own, through Qt's xcb platform.
class DemoUnderXvfbTest : public CliTest {
protected:
    void SetUp() override {
        // Xvfb picks a free display and writes its number to the descriptor given.
        xvfb.start(QStringLiteral("Xvfb"), words(QStringLiteral("-displayfd 1 -screen 0 1280x1024x24 -nolisten tcp")));
        ASSERT_TRUE(xvfb.waitForStarted()) << "Xvfb is missing (Debian's xvfb package)";
        ASSERT_TRUE(xvfb.waitForReadyRead(10000)) << "Xvfb did not start";
        const QString display = QLatin1Char(':') + QString::fromLatin1(xvfb.readLine()).trimmed();
        platform = {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")}, {QStringLiteral("DISPLAY"), display}};
        CliTest::SetUp();
    }

    void TearDown() override {
        xvfb.terminate();
        xvfb.waitForFinished();
        CliTest::TearDown();
    }

    QProcess xvfb;
};

qsizetype distinctColours(const QImage& picture) {
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    return colours.size();
}

// On a database without tables, the first run makes them and stores the samples; the next one
// finds them there and stores nothing.
TEST_F(DemoUnderXvfbTest, PhotographsTheBrowseDialogOverTheHostWindowAndStoresTheSamplesOnce) {
    const QStringList db{QStringLiteral("--db"),
                         QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("demo.sqlite"))};
    const QString picture = dir.filePath(QStringLiteral("demo.png"));
    for (int run = 0; run < 2; ++run) {
        QFile::remove(picture);
        const Result demo = runRaw(db + QStringList{QStringLiteral("demo"), QStringLiteral("--screenshot"), picture});
        ASSERT_EQ(demo.status, 0) << demo;
        const QImage photographed(picture, "PNG");
        EXPECT_GE(photographed.width(), 900) << "the host window, at the least";
        EXPECT_GE(photographed.height(), 600);
        // The window alone has a few hundred colours; the dialog's miniature of the plan brings
        // many more.
        EXPECT_GT(distinctColours(photographed), 1000) << "blank, flat, or without the dialog";
    }
    const Result listed = runRaw(db + words(QStringLiteral("list --json")));
    QSet<QString> types;
    for (const QJsonValue& row : QJsonDocument::fromJson(listed.out).array())
        types << row[QStringLiteral("type")].toString();
    EXPECT_EQ(QJsonDocument::fromJson(listed.out).array().size(), 6) << listed;
    EXPECT_TRUE(types.contains(QStringLiteral("jpg"))) << listed;
}

}  // namespace
