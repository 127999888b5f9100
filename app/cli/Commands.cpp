#include "app/cli/Commands.h"

#include "app/cli/CommandLine.h"
#include "app/cli/InitCommand.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/LeanCommands.h"
#include "app/cli/MessagesCommand.h"
#include "app/cli/PlotCommand.h"
#include "app/cli/PortsCommand.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/ReportCommand.h"
#include "app/cli/SampleCommands.h"
#include "core/Version.h"

#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    int (*run)(const GlobalOptions& options, const QStringList& args);
};

int messages(const GlobalOptions&, const QStringList& args) { return runMessages(args); }

// Add a sub-command by adding its line here.
const Command kCommands[] = {
    {"init", "init                     create the data directory, settings, database and templates", runInit},
    {"messages", "messages                 every catalogue text as \"id<TAB>text\", placeholders unexpanded",
     messages},
    {"connect", "connect [--wait]         run the connection sequence; exit 0 only when ready (6)", runConnect},
    {"measure",
     "measure work|cps|light|calib  measure a new record and store it\n"
     "      --sample NAME --folder N     sample name; folder number (default: top level)\n"
     "      --start EV --end EV --step EV  scan energies (work, light)\n"
     "      --energy EV --count N        fixed energy and measure count (cps, calib)\n"
     "      --time S --light NW --power N --thickness A  counting time, target UV intensity,\n"
     "                                   power number, calibration-sample thickness (calib)\n"
     "      --adjust                     adjust the UV intensity to the target first\n"
     "      --yes | --no                 answer to the save question (default: save)\n"
     "      --wait                       wait out a warm-up instead of stopping",
     runMeasure},
    {"records", "records [--folder N|R] [--tree]  folders and records of the top level, of folder N or\n"
                "       of the trash (R);\n"
                "       --tree: the whole folder tree, indented",
     runRecords},
    {"show", "show N                   settings, results, statistics and points of record N", runShow},
    {"analyze", "analyze N --fit A:B --ground C:D | --auto [--power N] [--save]  work function from the ranges",
     runAnalyze},
    {"export-text", "export-text N FILE [--delim csv|tab|space]  record N as a text file", runExportText},
    {"plot", "plot KEY... FILE.png|svg|pdf [--size WxH]  the records' graph as a picture file", runPlot},
    {"report", "report KEY... FILE.pdf|png [--template N]  the records' report page as the print window prints it",
     runReport},
    {"export", "export FILE KEY... [--force]  the items and what they depend on into an exchange file",
     runExport},
    {"import", "import FILE [--into KEY]  an exchange file under new keys into folder KEY (default: top level)",
     runImport},
    {"repair", "repair                   check and compact the database", runRepair},
    {"folder", "folder new NAME [--in KEY]  a new folder at the top level or in folder KEY", runFolder},
    {"rename", "rename KEY NAME          rename a folder or a record", runRename},
    {"move", "move KEY... --to KEY     move items into a folder (or the trash), or attach them", runMove},
    {"copy", "copy KEY... --to KEY     copy items into a folder, or attach them", runCopy},
    {"delete", "delete KEY...            put items into the trash", runDelete},
    {"restore", "restore KEY...           take items out of the trash", runRestore},
    {"empty-trash", "empty-trash --yes        delete everything in the trash for good", runEmptyTrash},
    {"attach", "attach SOURCE TARGET     L to W (correction), T to C (calibration), D to T (member)", runAttach},
    {"undo", "undo                     reverse the last move, copy or delete", runUndo},
    {"ports", "ports                    the serial ports of this computer, and the port the instrument uses",
     runPorts},
    {"search", "search [--name TEXT] [--notes TEXT] [--kind W|C|L|D|T] [--from DATE] [--to DATE]\n"
               "       [--months N | --days N]  records that meet every condition given",
     runSearch},
};

QString usage()
{
    QString text = QStringLiteral(
        "usage: tz4 [global options] <command> [options]\n"
        "       tz4 [global options]     open the main window\n"
        "       tz4 [global options] --open KEY[,KEY...]\n"
        "                                open the main window with data windows on those records\n"
        "                                (\"0 W\" opens a new record of that kind)\n"
        "\n"
        "global options:\n"
        "  --home DIR               data directory (else TZ4_HOME, else the platform default)\n"
        "  --port PATH              serial device of the instrument, for this run (overrides the port\n"
        "                           chosen in the window program and the settings file)\n"
        "  --simulate               use the built-in simulated instrument instead of a port\n");
    text += sim::simOptionsHelp();
    text += QStringLiteral(
        "  --lang en|ja             language of the texts\n"
        "  --db-wait S              how long to wait for a database another program holds\n"
        "                           (default 60 s)\n"
        "  --json                   print results as JSON\n"
        "  --version                print the version\n"
        "\n"
        "commands:\n");
    for (const Command& c : kCommands)
        text += QStringLiteral("  ") + QLatin1String(c.synopsis) + QLatin1Char('\n');
    return text;
}

} // namespace

bool needsPainting(const QStringList& args)
{
    const CommandLine line = parseCommandLine(args);
    return line.error.isEmpty() && (line.command == QLatin1String("plot") || line.command == QLatin1String("report"));
}

bool isHeadless(const QStringList& args)
{
    const CommandLine line = parseCommandLine(args);
    return !line.command.isEmpty() || line.version || line.help || !line.error.isEmpty();
}

int run(const QStringList& args)
{
    const CommandLine line = parseCommandLine(args);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tz4: %s (tz4 --help lists the options)\n", qUtf8Printable(line.error));
        return 2;
    }
    QTextStream out(stdout);
    if (line.version) {
        out << "tz4 " << TZ4_VERSION << Qt::endl;
        return 0;
    }
    if (line.help) {
        out << usage();
        return 0;
    }
    applyGlobalOptions(line.options);
    for (const Command& c : kCommands) {
        if (line.command != QLatin1String(c.name))
            continue;
        sayDatabaseWaits(c.name);
        return c.run(line.options, line.arguments);
    }
    std::fprintf(stderr, "tz4: unknown command '%s' (tz4 --help lists the commands)\n", qUtf8Printable(line.command));
    return 2;
}

} // namespace tz4::cli
