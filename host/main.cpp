#include "ComponentDescription.h"
#include "Console.h"
#include "Host.h"
#include "HostOptions.h"
#include "MainWindow.h"
#include "ServiceRegistry.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A screenshot taken this long after start-up shows the first polls' results.
constexpr int kScreenshotDelayMs = 300;

std::filesystem::path localPath(const QString& s) {
    return std::filesystem::path(QFile::encodeName(s).toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    // Listing needs no display, and a machine without one runs offscreen.
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing |= std::strcmp(argv[i], "--list-components") == 0;
    const bool noDisplay =
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (listing || noDisplay))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvane"));

    const HostOptions options = HostOptions::parse(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "quorvane: %s\n\n%s", qPrintable(options.error),
                     qPrintable(HostOptions::usage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(HostOptions::usage()), stdout);
        return 0;
    }

    Host host(localPath(options.profileDir),
              localPath(QApplication::applicationDirPath() + QStringLiteral("/components")),
              ServiceRegistry::global(), Console::global());
    if (!host.start(!options.listComponents)) return 1;

    std::vector<ComponentDescription> components;
    for (const auto& c : host.components()) components.emplace_back(c);

    if (options.listComponents) {
        for (const auto& c : components) std::printf("%s\n", c.listLine().c_str());
        std::fflush(stdout);
        host.unload();
        return 0;
    }

    auto window = std::make_unique<MainWindow>(std::move(components), Console::global());
    host.api().setMainWindow(window.get());
    window->show();

    if (!options.screenshotFile.isEmpty()) {
        QTimer::singleShot(
            kScreenshotDelayMs, window.get(), [&window, file = options.screenshotFile] {
                const bool saved = window->grab().save(file);
                if (!saved)
                    Console::global().print("Cannot write the screenshot " + file.toStdString());
                QApplication::exit(saved ? 0 : 1);
            });
    }

    const int rc = QApplication::exec();
    host.runQuitHooks();
    host.api().setMainWindow(nullptr);
    window.reset();
    host.unload();
    return rc;
}
