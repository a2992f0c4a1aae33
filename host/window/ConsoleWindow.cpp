#include "ConsoleWindow.h"

#include "MainQueue.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

ConsoleWindow::ConsoleWindow(Console& console, QWidget* parent)
    : QWidget(parent, Qt::Window), m_view(new QPlainTextEdit(this)) {
    setWindowTitle(tr("Console"));
    setObjectName(QStringLiteral("consoleWindow"));
    resize(640, 360);
    m_view->setReadOnly(true);
    m_view->setMaximumBlockCount(int(Console::kDefaultCapacity));
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(QFont(QStringLiteral("monospace")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    std::vector<std::string> backlog;
    // Lines may come from any thread: hop to ours. A queued call whose window is
    // gone is dropped, and the subscription ends before the window does.
    m_subscription = console.subscribe(
        [this](const std::string& line) {
            platform::async(this, [this, l = QString::fromStdString(line)] { appendLine(l); });
        },
        &backlog);
    for (const auto& line : backlog) appendLine(QString::fromStdString(line));
}

ConsoleWindow::~ConsoleWindow() { m_subscription.reset(); }

QString ConsoleWindow::text() const { return m_view->toPlainText(); }

void ConsoleWindow::appendLine(const QString& line) {
    QScrollBar* bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    m_view->appendPlainText(line);
    if (atEnd) bar->setValue(bar->maximum());
}
