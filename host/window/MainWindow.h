#pragma once

// The player's window: the layout's elements, the main menu, the preferences
// and console windows, and the host's own menu commands (HostCommands), which
// live exactly as long as the window. GUI thread.
//
// Shut-down: releaseElements() (or destruction) destroys every element and
// preferences page controller; either must happen before the components are
// unloaded.

#include "ComponentDescription.h"
#include "HostCommands.h"
#include "LayoutText.h"
#include "StateDump.h"
#include "TrackAdder.h"

#include <QMainWindow>
#include <QPointer>

#include <vector>

class Console;
class ConsoleWindow;
class LayoutView;
class MainMenuBuilder;
class PreferencesWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize kDefaultSize{1000, 700};

    MainWindow(std::vector<ComponentDescription> components, Console& console,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the elements; `name` is what the layout is called (built-in
    // name or file) for dumps.
    void applyLayout(const QString& name, const LayoutText& layout);
    // Destroys every element and the preferences window's page.
    void releaseElements();

    LayoutView& layoutView() const { return *m_layout; }
    MainMenuBuilder& menus() const { return *m_menus; }
    const QString& layoutName() const { return m_layoutName; }

    // Opens (or raises) the preferences window, on `page` when given; false
    // when no page has that name.
    bool showPreferences(const QString& page = {});
    // Null until first shown.
    PreferencesWindow* preferencesWindow() const;

    void showConsole();
    void showAbout();
    // The text the About box shows.
    QString aboutText() const;

    StateDumpWindow dumpInfo() const;

private:
    void registerCommands();
    void addFiles(TrackAdder::Mode mode, bool playFirst);
    void addFolder();
    void addLocations(const QStringList& locations, TrackAdder::Mode mode, bool playFirst);
    void reportFailure(const QString& what, const QString& why);

    std::vector<ComponentDescription> m_components;
    Console& m_console;
    LayoutView* m_layout;
    MainMenuBuilder* m_menus;
    QString m_layoutName;
    QPointer<ConsoleWindow> m_consoleWindow;
    QPointer<PreferencesWindow> m_preferences;
    std::vector<HostCommands::Registration> m_commands;
};
