#pragma once

// The player's window: the menu bar, the console window, and (later) the
// layout of component elements. GUI thread.

#include "ComponentDescription.h"

#include <QMainWindow>
#include <QPointer>

#include <vector>

class Console;
class ConsoleWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(std::vector<ComponentDescription> components, Console& console,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    void showConsole();
    void showAbout();
    // The text the About box shows.
    QString aboutText() const;

private:
    void buildMenus();

    std::vector<ComponentDescription> m_components;
    Console& m_console;
    QPointer<ConsoleWindow> m_consoleWindow;
};
