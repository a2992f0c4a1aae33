#include "ComponentDescription.h"
#include "Console.h"
#include "DemoRun.h"
#include "Host.h"
#include "HostOptions.h"
#include "LayoutSource.h"
#include "MainWindow.h"
#include "MediaLibrary.h"
#include "PlayerServices.h"
#include "ScriptRunner.h"
#include "ServiceRegistry.h"
#include "WindowShot.h"

#include <QApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

std::filesystem::path localPath(const QString& s) {
    return std::filesystem::path(QFile::encodeName(s).toStdString());
}

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file size limit a write then fails like one on a full disk,
    // which the stores report, instead of killing the player.
    std::signal(SIGXFSZ, SIG_IGN);

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
    // Both are read before anything loads: a typo costs no start-up.
    const LayoutSource layout = LayoutSource::resolve(options.layout);
    if (!options.listComponents && !layout.error.isEmpty()) {
        std::fprintf(stderr, "quorvane: --layout: %s\n", qPrintable(layout.error));
        return 2;
    }
    std::optional<ScriptText> script;
    if (!options.scriptFile.isEmpty()) {
        script = ScriptRunner::load(options.scriptFile, Console::global());
        if (!script) return 1;
    }

    Host host(localPath(options.profileDir),
              localPath(QApplication::applicationDirPath() + QStringLiteral("/components")),
              ServiceRegistry::global(), Console::global());
    if (!host.openProfile()) return 1;
    // Listing binds the bundles and nothing more.
    const bool player = !options.listComponents;
    if (player) {
        PlayerServices::open(host.profileDir(), Console::global());
        if (!options.libraryFolders.isEmpty()) {
            auto& library = library::MediaLibrary::instance();
            library.setFolders(library.folders() + options.libraryFolders);
        }
        if (options.demo && !DemoRun::prepare(host.profileDir(), Console::global())) {
            PlayerServices::beforeUnload();
            PlayerServices::close();
            host.unload();
            return 1;
        }
    }
    host.loadComponents(player);

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
    window->applyLayout(layout.name, LayoutText::parse(layout.text));
    window->show();

    int rc = 0;
    std::unique_ptr<ScriptRunner> runner;
    if (options.demo) {
        DemoRun::play();
        if (!hasDisplay()) DemoRun::captureAndQuit(*window, host.profileDir(), Console::global());
        rc = QApplication::exec();
    } else if (!options.screenshotFile.isEmpty()) {
        QString error;
        if (!WindowShot::capture(*window, options.screenshotFile, WindowShot::kSettleMs, false, &error)) {
            Console::global().print("Cannot write the screenshot: " + error.toStdString());
            rc = 1;
        }
    } else {
        if (script) {
            runner = std::make_unique<ScriptRunner>(*window, Console::global(), options.scriptFile,
                                                    std::move(*script));
            QObject::connect(runner.get(), &ScriptRunner::finished, [](int code, bool quitRequested) {
                // A finished script leaves a visible window to its user.
                if (code != 0 || quitRequested || !hasDisplay()) QApplication::exit(code);
            });
            runner->start();
        }
        rc = QApplication::exec();
    }

    // Quit hooks while the window still stands; then every element controller
    // goes with the window, before any component is unloaded.
    PlayerServices::stopPlayback();
    host.runQuitHooks();
    runner.reset();
    host.api().setMainWindow(nullptr);
    window->releaseElements();
    window.reset();
    PlayerServices::beforeUnload();
    host.unload();
    PlayerServices::close();
    return rc;
}
