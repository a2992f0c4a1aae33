#include "HostOptions.h"

#include "LayoutSource.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

const QCommandLineOption kProfile(
    QStringLiteral("profile"), QStringLiteral("Profile folder (settings, installed components)."),
    QStringLiteral("DIR"));
const QCommandLineOption kList(QStringLiteral("list-components"),
                               QStringLiteral("Print the loaded components and exit."));
const QCommandLineOption kScreenshot(
    QStringLiteral("screenshot"),
    QStringLiteral("Save the main window to FILE after start-up and quit."),
    QStringLiteral("FILE"));
const QCommandLineOption kLayout(
    QStringLiteral("layout"),
    QStringLiteral("Window layout: a built-in one (classic, ovix) or a layout file. Default: classic."),
    QStringLiteral("NAME|FILE"));
const QCommandLineOption kScript(
    QStringLiteral("script"),
    QStringLiteral("Drive the window with the commands in FILE; quits when it ends unless a display "
                   "is attached. Exit status 1 on a script error."),
    QStringLiteral("FILE"));
const QCommandLineOption kLibrary(
    QStringLiteral("library"),
    QStringLiteral("Keep DIR in the media library (may be given more than once)."), QStringLiteral("DIR"));
const QCommandLineOption kDemo(
    QStringLiteral("demo"),
    QStringLiteral("Make a demo library in the profile (once) and play it. Without a display: write "
                   "PROFILE/screenshots/classic.png and ovix.png and quit."));
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Show this help."));

void addOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("quorvane, the reference host of the qov components."));
    parser.addOption(kProfile);
    parser.addOption(kList);
    parser.addOption(kScreenshot);
    parser.addOption(kLayout);
    parser.addOption(kScript);
    parser.addOption(kLibrary);
    parser.addOption(kDemo);
    parser.addOption(kHelp);
}

}  // namespace

HostOptions HostOptions::parse(const QStringList& arguments) {
    HostOptions options;
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error =
            QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return options;
    }
    options.help = parser.isSet(kHelp);
    options.listComponents = parser.isSet(kList);
    options.screenshotFile = parser.value(kScreenshot);
    options.layout = parser.isSet(kLayout) ? parser.value(kLayout) : QLatin1String(LayoutSource::kDefault);
    options.scriptFile = parser.value(kScript);
    options.libraryFolders = parser.values(kLibrary);
    options.demo = parser.isSet(kDemo);
    if (!options.scriptFile.isEmpty() && !options.screenshotFile.isEmpty())
        options.error = QStringLiteral(
            "--script and --screenshot do not go together; use the script's screenshot command.");
    if (options.demo && (!options.scriptFile.isEmpty() || !options.screenshotFile.isEmpty()))
        options.error = QStringLiteral("--demo takes its own screenshots; leave out --script and --screenshot.");
    // A demo keeps out of the user's own profile unless told otherwise.
    options.profileDir = parser.isSet(kProfile) ? parser.value(kProfile)
                         : options.demo         ? defaultProfileDir() + QStringLiteral("-demo")
                                                : defaultProfileDir();
    if (options.profileDir.isEmpty())
        options.error = QStringLiteral("The profile folder must not be empty.");
    return options;
}

QString HostOptions::defaultProfileDir() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base = !xdg.isEmpty() && QDir::isAbsolutePath(xdg)
                             ? xdg
                             : QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/quorvane"));
}

QString HostOptions::usage() {
    QCommandLineParser parser;
    addOptions(parser);
    return parser.helpText();
}
