#include "HostOptions.h"

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
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Show this help."));

void addOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("quorvane, the reference host of the qov components."));
    parser.addOption(kProfile);
    parser.addOption(kList);
    parser.addOption(kScreenshot);
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
    options.profileDir = parser.isSet(kProfile) ? parser.value(kProfile) : defaultProfileDir();
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
