// pordane-make-site: creates a plausible hospitality site database and the registry
// hives that point the program at it (the demo, and the large site of the benchmarks).
#include "database/DbConnection.h"
#include "database/DbScript.h"
#include "database/schema/DbSchema.h"
#include "database/tools/SiteGenerator.h"
#include "database/tools/SiteHive.h"
#include "util/Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

struct TMakeSiteArgs
{
    QString folder;
    QString entry;
    bool viaServer = false;
    bool replace = false;
    QString skin;
    TSiteOptions site;
};

int positiveNumber(const QCommandLineParser &parser, const QString &option)
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < 0)
        throw EPosError(QStringLiteral("--%1 needs a whole number, not \"%2\"").arg(option, parser.value(option)));
    return value;
}

TMakeSiteArgs parseArgs(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates a hospitality site database and registry hives for it."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("out"), QStringLiteral("Folder for the database and the hives."), QStringLiteral("folder"),
         QStringLiteral(PORDANE_SOURCE_DIR "/demo/data")},
        {QStringLiteral("name"), QStringLiteral("Database list entry; the file is <name>.fdb."),
         QStringLiteral("name")},
        {QStringLiteral("departments"), QStringLiteral("Departments over the three levels."), QStringLiteral("n")},
        {QStringLiteral("products"), QStringLiteral("Products."), QStringLiteral("n")},
        {QStringLiteral("nine-share"), QStringLiteral("Share of products at 9 % (0 to 1)."), QStringLiteral("share")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the names and codes."), QStringLiteral("n")},
        {QStringLiteral("bench"),
         QStringLiteral("The large site: 2000 departments, 100000 products, a third at 9 %, entry BENCH.")},
        {QStringLiteral("server"), QStringLiteral("Register the server path 127.0.0.1:<file> instead of the file.")},
        {QStringLiteral("replace"), QStringLiteral("Replace a database file that is already there.")},
        {QStringLiteral("skin"), QStringLiteral("Style file the user has chosen (the user's \"Skin\" setting)."),
         QStringLiteral("file")},
    });
    parser.process(app);

    TMakeSiteArgs args;
    args.folder = QDir(parser.value(QStringLiteral("out"))).absolutePath();
    args.viaServer = parser.isSet(QStringLiteral("server"));
    args.replace = parser.isSet(QStringLiteral("replace"));
    args.skin = parser.value(QStringLiteral("skin"));
    args.entry = QStringLiteral("DEMO");
    if (parser.isSet(QStringLiteral("bench"))) {
        args.entry = QStringLiteral("BENCH");
        args.site.departments = 2000;
        args.site.products = 100000;
        args.site.nineShare = 1.0 / 3.0;
    }
    if (parser.isSet(QStringLiteral("name")))
        args.entry = parser.value(QStringLiteral("name")).toUpper();
    if (parser.isSet(QStringLiteral("departments")))
        args.site.departments = positiveNumber(parser, QStringLiteral("departments"));
    if (parser.isSet(QStringLiteral("products")))
        args.site.products = positiveNumber(parser, QStringLiteral("products"));
    if (parser.isSet(QStringLiteral("seed")))
        args.site.seed = static_cast<std::uint64_t>(positiveNumber(parser, QStringLiteral("seed")));
    if (parser.isSet(QStringLiteral("nine-share"))) {
        bool ok = false;
        args.site.nineShare = parser.value(QStringLiteral("nine-share")).toDouble(&ok);
        if (!ok || args.site.nineShare < 0.0 || args.site.nineShare > 1.0)
            throw EPosError(QStringLiteral("--nine-share needs a number from 0 to 1"));
    }
    if (args.entry.isEmpty() || args.entry.contains(u'\\'))
        throw EPosError(QStringLiteral("--name needs a plain name"));
    return args;
}

int run(const QCoreApplication &app)
{
    const TMakeSiteArgs args = parseArgs(app);
    if (!QDir().mkpath(args.folder))
        throw EPosError(QStringLiteral("Cannot create the folder %1").arg(args.folder));
    const QString file = QDir(args.folder).filePath(args.entry.toLower() + QStringLiteral(".fdb"));
    if (QFile::exists(file)) {
        if (!args.replace)
            throw EPosError(QStringLiteral("%1 exists already; pass --replace to make it again").arg(file));
        if (!QFile::remove(file))
            throw EPosError(QStringLiteral("Cannot remove %1").arg(file));
    }

    QElapsedTimer timer;
    timer.start();
    TDbConnection connection;
    connection.setDatabase(file);
    connection.create();
    runSqlScript(connection, DbSchemaScript());
    const TSiteSummary summary = generateSite(connection, args.site);
    connection.close();
    if (args.viaServer) // the server runs as its own user and must write the file
        QFile::setPermissions(file,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup
                                  | QFile::ReadOther | QFile::WriteOther);

    const QString serverPath = args.viaServer ? QStringLiteral("127.0.0.1:") + file : file;
    writeSiteHive(args.folder, args.entry, file, serverPath);
    if (!args.skin.isEmpty())
        writeUserSkin(args.folder, args.skin);

    std::printf("%s: %d departments, %d sub-departments, %d third-level departments, %d products (%d at 9 %%)"
                " in %.1f s\nregistry hives in %s, entry %s, server path %s\n",
                qPrintable(file), summary.departments, summary.subDepartments, summary.thirdLevels, summary.products,
                summary.productsAtNine, timer.elapsed() / 1000.0, qPrintable(args.folder), qPrintable(args.entry),
                qPrintable(serverPath));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pordane-make-site"));
    try {
        return run(app);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "pordane-make-site: %s\n", qPrintable(errorText(e)));
        return 1;
    }
}
