#include "MainWindow.h"

#include "AccessibleTree.h"
#include "ConsoleWindow.h"
#include "HostPreferencesPages.h"
#include "LayoutView.h"
#include "MainMenuBuilder.h"
#include "PreferencesWindow.h"

#include "Alert.h"
#include "MainMenu.h"
#include "playback_control.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_manager.h"
#include "standard_commands.h"
#include "std_api.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>

namespace {

template <class T> bool registered() {
    service_ptr_t<T> s;
    return qvn::_standard_api_try_get_internal(s);
}

// Runs `fn` with the transport when the host has one.
template <class Fn> void withPlayback(Fn fn) {
    service_ptr_t<playback_control> pc;
    if (qvn::_standard_api_try_get_internal(pc)) fn(*pc);
}

}  // namespace

MainWindow::MainWindow(std::vector<ComponentDescription> components, Console& console, QWidget* parent)
    : QMainWindow(parent), m_components(std::move(components)), m_console(console) {
    setWindowTitle(QStringLiteral("quorvane"));
    setObjectName(QStringLiteral("mainWindow"));
    HostPreferencesPages::applySavedAppearance(true);
    m_layout = new LayoutView(console, this);
    setCentralWidget(m_layout);
    resize(kDefaultSize);
    setMinimumSize(480, 320);
    m_menus = new MainMenuBuilder(
        menuBar(),
        {[this] { showPreferences(QStringLiteral("Media Library")); }, [this] { showAbout(); }}, this);
    platform::MainMenu::setBar(menuBar());
    registerCommands();
}

MainWindow::~MainWindow() {
    releaseElements();
    delete m_preferences.data();
    delete m_consoleWindow.data();
}

void MainWindow::applyLayout(const QString& name, const LayoutText& layout) {
    m_layoutName = name;
    m_layout->build(layout);
}

void MainWindow::releaseElements() {
    m_layout->release();
    if (m_preferences) m_preferences->releasePage();
}

void MainWindow::registerCommands() {
    using namespace standard_commands;
    auto add = [this](const GUID& guid, std::function<bool()> available, std::function<void()> run) {
        m_commands.push_back(HostCommands::add({guid, std::move(available), std::move(run)}));
    };
    auto always = [] { return true; };
    auto canAdd = [] {
        return registered<playlist_manager>() && registered<playlist_incoming_item_filter_v2>();
    };
    auto canPlay = [] { return registered<playback_control>(); };

    add(guid_main_open, canAdd, [this] { addFiles(TrackAdder::Mode::Replace, true); });
    add(guid_main_add_files, canAdd, [this] { addFiles(TrackAdder::Mode::Append, false); });
    add(guid_main_add_folder, canAdd, [this] { addFolder(); });
    add(guid_main_preferences, always, [this] { showPreferences(); });
    add(guid_main_exit, always, [] { QApplication::quit(); });
    add(guid_main_show_console, always, [this] { showConsole(); });
    add(guid_main_play, canPlay, [] {
        withPlayback([](playback_control& pc) {
            if (pc.is_paused())
                pc.pause(false);
            else
                pc.start(playback_control::track_command_play);
        });
    });
    add(guid_main_pause, canPlay, [] {
        withPlayback([](playback_control& pc) {
            if (pc.is_playing()) pc.pause(!pc.is_paused());
        });
    });
    add(guid_main_stop, canPlay, [] { withPlayback([](playback_control& pc) { pc.stop(); }); });
    add(guid_main_next, canPlay,
        [] { withPlayback([](playback_control& pc) { pc.start(playback_control::track_command_next); }); });
    add(guid_main_previous, canPlay,
        [] { withPlayback([](playback_control& pc) { pc.start(playback_control::track_command_prev); }); });
    add(guid_main_random, canPlay,
        [] { withPlayback([](playback_control& pc) { pc.start(playback_control::track_command_rand); }); });
}

void MainWindow::addFiles(TrackAdder::Mode mode, bool playFirst) {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, mode == TrackAdder::Mode::Replace ? tr("Open") : tr("Add Files"));
    if (!files.isEmpty()) addLocations(files, mode, playFirst);
}

void MainWindow::addFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Add Folder"));
    if (!folder.isEmpty()) addLocations({folder}, TrackAdder::Mode::Append, false);
}

void MainWindow::addLocations(const QStringList& locations, TrackAdder::Mode mode, bool playFirst) {
    TrackAdder::add(locations, mode, this, this, [this, playFirst](const TrackAdder::Result& r) {
        if (!r.ok) {
            reportFailure(tr("Could not add the files"), r.error);
            return;
        }
        if (!playFirst || r.added == 0) return;
        service_ptr_t<playlist_manager> pm;
        if (!qvn::_standard_api_try_get_internal(pm)) return;
        pm->playlist_set_focus_item(r.playlist, r.first);
        withPlayback([](playback_control& pc) { pc.start(playback_control::track_command_settrack); });
    });
}

void MainWindow::reportFailure(const QString& what, const QString& why) {
    m_console.print((what + QStringLiteral(": ") + why).toStdString());
    // The dialog lives on its own once shown.
    platform::Alert alert;
    alert.setMessageText(what);
    alert.setInformativeText(why);
    alert.setIcon(QMessageBox::Warning);
    alert.show(this, [](int) {});
}

bool MainWindow::showPreferences(const QString& page) {
    if (!m_preferences) {
        m_preferences = new PreferencesWindow(m_console);
        m_preferences->setAttribute(Qt::WA_QuitOnClose, false);
    }
    bool found = true;
    if (!page.isEmpty())
        found = m_preferences->showPage(page);
    else if (m_preferences->currentPageName().isEmpty())
        m_preferences->showPage(preferences_page::guid_display);
    m_preferences->show();
    m_preferences->raise();
    m_preferences->activateWindow();
    return found;
}

PreferencesWindow* MainWindow::preferencesWindow() const { return m_preferences; }

void MainWindow::showConsole() {
    // Not a child: the console stays open on its own and is closed with us.
    if (!m_consoleWindow) {
        m_consoleWindow = new ConsoleWindow(m_console);
        m_consoleWindow->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_consoleWindow->show();
    m_consoleWindow->raise();
    m_consoleWindow->activateWindow();
}

QString MainWindow::aboutText() const {
    QString text = tr("quorvane, the reference host of the qov components.\n\nComponents:");
    if (m_components.empty()) text += tr("\n(none loaded)");
    for (const auto& c : m_components) {
        const QString name = c.name().empty() ? QString::fromStdString(c.fileName())
                                              : QString::fromStdString(c.name());
        text += QStringLiteral("\n%1 %2 (%3)")
                    .arg(name, QString::fromStdString(c.version()), QString::fromStdString(c.fileName()));
    }
    return text;
}

void MainWindow::showAbout() { QMessageBox::about(this, tr("About quorvane"), aboutText()); }

StateDumpWindow MainWindow::dumpInfo() const {
    StateDumpWindow info;
    info.title = windowTitle();
    info.size = size();
    info.layout = m_layoutName;
    for (const LayoutView::Element& e : m_layout->elements()) {
        if (!e.widget) continue;
        const QRect geometry(e.widget->mapTo(this, QPoint(0, 0)), e.widget->size());
        info.elements.push_back({e.name, e.instance, e.isPlaceholder(), geometry,
                                 AccessibleTree::describe(QAccessible::queryAccessibleInterface(e.widget))});
    }
    if (m_preferences && m_preferences->isVisible()) {
        info.preferencesPage = m_preferences->currentPageName();
        info.preferences = AccessibleTree::describe(QAccessible::queryAccessibleInterface(m_preferences));
    }
    return info;
}
