#include "MainWindow.h"

#include "ConsoleWindow.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>

MainWindow::MainWindow(std::vector<ComponentDescription> components, Console& console,
                       QWidget* parent)
    : QMainWindow(parent), m_components(std::move(components)), m_console(console) {
    setWindowTitle(QStringLiteral("quorvane"));
    setObjectName(QStringLiteral("mainWindow"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("layoutRoot"));
    setCentralWidget(central);
    resize(960, 600);
    buildMenus();
}

MainWindow::~MainWindow() { delete m_consoleWindow.data(); }

void MainWindow::buildMenus() {
    // Object names let automation find the groups that components add to.
    auto addMenu = [this](const QString& title, const char* name) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    QMenu* file = addMenu(tr("&File"), "menuFile");
    addMenu(tr("&Edit"), "menuEdit");
    addMenu(tr("&Playback"), "menuPlayback");
    addMenu(tr("&Library"), "menuLibrary");
    QMenu* view = addMenu(tr("&View"), "menuView");
    QMenu* help = addMenu(tr("&Help"), "menuHelp");

    QAction* quit = file->addAction(tr("&Quit"), qApp, &QApplication::quit);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    view->addAction(tr("&Console"), this, &MainWindow::showConsole);
    QAction* about = help->addAction(tr("&About quorvane"), this, &MainWindow::showAbout);
    about->setMenuRole(QAction::AboutRole);
}

void MainWindow::showConsole() {
    // Not a child: the console stays open on its own and is closed with us.
    if (!m_consoleWindow) m_consoleWindow = new ConsoleWindow(m_console);
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
                    .arg(name, QString::fromStdString(c.version()),
                         QString::fromStdString(c.fileName()));
    }
    return text;
}

void MainWindow::showAbout() { QMessageBox::about(this, tr("About quorvane"), aboutText()); }
