#pragma once

// The classic-statusbar element: a left and a right text, each the playing
// track formatted with a user's pattern in which %volume% stands for the
// volume; "Stopped." while nothing plays. Read afresh four times a second, so
// edits made elsewhere show at once. A context menu edits or resets both
// patterns. Main thread.

#include "SystemLabel.h"
#include "ViewController.h"

#include <QMenu>

#include <QPointer>
#include <QString>
#include <QTimer>

#include <string>

class QovClassicStatusbar : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kPollMs = 250;

    explicit QovClassicStatusbar(QObject* parent = nullptr);

    void refresh();
    // The text of one pattern now.
    QString renderStatus(const std::string& pattern, bool playing);

    // Asks for both patterns in one dialog.
    void editFormat();
    void resetFormat();

    SystemLabel* left() const { return _left; }
    SystemLabel* right() const { return _right; }
    // The bar's context menu, as the user opens it.
    QMenu* contextMenu();

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    static SystemLabel* label();

    QPointer<SystemLabel> _left;
    QPointer<SystemLabel> _right;
    QPointer<QMenu> _menu;
    QTimer _timer;
};
