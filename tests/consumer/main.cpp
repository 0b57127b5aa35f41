// A host that embeds the installed library: the example the README shows.
#include <Dorvanel/Connection.h>
#include <Dorvanel/Manager.h>
#include <Dorvanel/Schema.h>

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    auto manager = dorvanel::Manager::create();
    manager->SetADOCnn(dorvanel::Connection::open(QStringLiteral("sqlite::memory:")));
    dorvanel::createSchema(*manager->ADOCnn());

    const QString document = manager->StoreDocument(QStringLiteral("Manual"), QStringLiteral("Manual de uso"),
                                                    QStringLiteral("manual"), QString(),
                                                    QStringLiteral("https://example.com/manual.pdf"), true);
    const QString parent = QStringLiteral("CLIENTE").leftJustified(32, QLatin1Char('0'));
    manager->AddLink(parent, document, QStringLiteral("Cliente"));
    QTextStream(stdout) << "Padres de " << document << ": "
                        << manager->GetParentList(document).toStringList().join(QLatin1Char(' ')) << Qt::endl;
    return document.size() == 32 ? 0 : 1;
}
