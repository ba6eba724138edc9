// pordane-make-site: creates a plausible hospitality site database and the registry
// hives that point the program at it (the demo, and the large site of the benchmarks),
// or writes those hives for a copy of a real till database.
#include "database/DbConnection.h"
#include "database/DbScript.h"
#include "database/schema/DbSchema.h"
#include "database/tools/SiteCheck.h"
#include "database/tools/SiteGenerator.h"
#include "database/tools/SiteHive.h"
#include "util/Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

struct TMakeSiteArgs
{
    QString folder;
    QString entry;
    QString registered; // an existing database to write the hives for; none makes a site
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
    parser.setApplicationDescription(QStringLiteral(
        "Creates a hospitality site database and registry hives for it, or writes the hives for an existing "
        "database (--register)."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("out"), QStringLiteral("Folder for the database and the hives."), QStringLiteral("folder"),
         QStringLiteral(PORDANE_SOURCE_DIR "/demo/data")},
        {QStringLiteral("name"),
         QStringLiteral("Database list entry; the file is <name>.fdb. With --register the entry is named after "
                        "the file unless this is given."),
         QStringLiteral("name")},
        {QStringLiteral("register"),
         QStringLiteral("Write the hives for this existing database instead of making one; the file is only read."),
         QStringLiteral("file")},
        {QStringLiteral("departments"), QStringLiteral("Departments over the three levels."), QStringLiteral("n")},
        {QStringLiteral("products"), QStringLiteral("Products."), QStringLiteral("n")},
        {QStringLiteral("nine-share"), QStringLiteral("Share of products at 9 % (0 to 1)."), QStringLiteral("share")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the names and codes."), QStringLiteral("n")},
        {QStringLiteral("bench"),
         QStringLiteral("The large site: 2000 departments, 100000 products, a third at 9 %, entry BENCH.")},
        {QStringLiteral("server"), QStringLiteral("Register the server path 127.0.0.1:<file> instead of the file.")},
        {QStringLiteral("replace"),
         QStringLiteral("Replace a database file that is already there; with --register, let the entry name this "
                        "database when it names another one.")},
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
    if (parser.isSet(QStringLiteral("register"))) {
        // The size and the make-up of a site are the generator's: a registered database has its own.
        for (const char *option : {"bench", "departments", "products", "nine-share", "seed"})
            if (parser.isSet(QString::fromLatin1(option)))
                throw EPosError(
                    QStringLiteral("--%1 makes a site; it cannot go with --register").arg(QString::fromLatin1(option)));
        args.registered = QFileInfo(parser.value(QStringLiteral("register"))).absoluteFilePath();
        args.entry = QFileInfo(args.registered).completeBaseName().toUpper();
    }
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

const QString kLoopback = QStringLiteral("127.0.0.1:");

QString serverPathOf(const TMakeSiteArgs &args, const QString &file)
{
    return args.viaServer ? kLoopback + file : file;
}

void makeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw EPosError(QStringLiteral("Cannot create the folder %1").arg(folder));
}

void makeSite(const TMakeSiteArgs &args)
{
    makeFolder(args.folder);
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

    const QString serverPath = serverPathOf(args, file);
    writeSiteHive(args.folder, args.entry, file, serverPath);

    std::printf("%s: %d departments, %d sub-departments, %d third-level departments, %d products (%d at 9 %%)"
                " in %.1f s\nregistry hives in %s, entry %s, server path %s\n",
                qPrintable(file), summary.departments, summary.subDepartments, summary.thirdLevels, summary.products,
                summary.productsAtNine, timer.elapsed() / 1000.0, qPrintable(args.folder), qPrintable(args.entry),
                qPrintable(serverPath));
}

// Only the hives change: the database file is read, never written, and the hives keep
// every setting but the default database and this entry's paths.
void registerSite(const TMakeSiteArgs &args)
{
    const QString &file = args.registered;
    if (!args.replace)
        for (const QString &named : siteEntryPaths(args.folder, args.entry))
            if (named != file && named != kLoopback + file)
                throw EPosError(QStringLiteral("The hives in %1 already list %2 for %3; pass --replace to point %2 "
                                               "at %4 instead")
                                    .arg(args.folder, args.entry, named, file));
    checkSiteDatabase(file);
    makeFolder(args.folder);
    const QString serverPath = serverPathOf(args, file);
    writeSiteHive(args.folder, args.entry, file, serverPath);

    std::printf("%s: registered as %s in the registry hives in %s, server path %s\n"
                "start the program with PORDANE_REGISTRY_DIR=%s\n",
                qPrintable(file), qPrintable(args.entry), qPrintable(args.folder), qPrintable(serverPath),
                qPrintable(args.folder));
    if (args.viaServer && !(QFileInfo(file).permissions() & QFile::WriteOther))
        std::printf("note: the Firebird server opens the file as its own user, who must be able to read and "
                    "write it\n");
}

int run(const QCoreApplication &app)
{
    const TMakeSiteArgs args = parseArgs(app);
    if (args.registered.isEmpty())
        makeSite(args);
    else
        registerSite(args);
    if (!args.skin.isEmpty())
        writeUserSkin(args.folder, args.skin);
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
