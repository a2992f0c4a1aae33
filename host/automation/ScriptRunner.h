#pragma once

// Runs an automation script (ScriptText) against the real window, one command
// after the other on the event loop, so the player keeps running between
// commands and while a command waits (for time, for a playback state, for
// added tracks). A command runs once the work the previous one queued for the
// next turn of the loop has run. A failing command stops the script with a line
//     Script FILE line N: reason
// on the console (which echoes to stderr). Alerts shown while a script runs are
// answered without a user: the first button, or the one `answer-alerts N`
// chose; an alert without that button stops the script. Relative paths in the
// script are taken from the script's folder.
//
// GUI thread. The runner must not outlive the window.

#include "InputSimulator.h"
#include "ScriptText.h"
#include "TrackAdder.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class Console;
class MainWindow;
class QWidget;

class ScriptRunner : public QObject {
    Q_OBJECT

public:
    // How long `add` waits for the incoming-item filter.
    static constexpr int kAddTimeoutSeconds = 120;
    // How long the first command waits for the window to become active.
    static constexpr int kActivationTimeoutMs = 2000;
    // Element names that stand for windows beside the layout: the preferences
    // window, and the menu or list open in a popup.
    static constexpr char kPreferencesWindow[] = "preferences";
    static constexpr char kPopup[] = "popup";

    ScriptRunner(MainWindow& window, Console& console, const QString& file, ScriptText script,
                 QObject* parent = nullptr);
    ~ScriptRunner() override;

    // Reads and checks a script; every syntax error goes to the console.
    static std::optional<ScriptText> load(const QString& file, Console& console);

    // Starts at the next turn of the event loop.
    void start();

signals:
    // exitCode 0 after the last command or `quit`, 1 after an error.
    void finished(int exitCode, bool quitRequested);

private:
    struct Wait {
        std::function<bool()> until;
        QDeadlineTimer deadline;
        // Empty: running out of time is the normal end (`wait`).
        QString timeoutError;
        // Runs when the wait is over; a non-empty answer is an error.
        std::function<QString()> then;
    };
    struct Outcome {
        enum Kind { Next, Waiting, Failed, Quit } kind = Next;
        QString error;

        static Outcome next() { return {}; }
        static Outcome failed(QString e) { return {Failed, std::move(e)}; }
    };

    void step();
    void scheduleStep();
    void poll();
    void endWait();
    void fail(const QString& reason);
    Outcome waitFor(Wait wait);
    // Input goes in at the next turn, ahead of the next command: a view that
    // answers with a menu or a modal dialog then runs its loop while the
    // script goes on inside it (to choose an item, press Escape).
    void deliver(std::function<void()> input);

    // ScriptCommands.cpp: what each command does.
    Outcome run(const ScriptCommand& c);
    Outcome add(const ScriptCommand& c);
    Outcome pointer(const ScriptCommand& c);
    Outcome drag(const ScriptCommand& c);
    Outcome drop(const ScriptCommand& c);
    Outcome waitUntil(const ScriptCommand& c);
    Outcome screenshot(const ScriptCommand& c);
    Outcome dump(const ScriptCommand& c);
    Outcome menu(const ScriptCommand& c);
    QWidget* elementView(const ElementAddress& address, QString* error) const;
    // The point in `view` that `p` names; null with `error` set when there is none.
    std::optional<QPointF> pointIn(QWidget* view, const ElementAddress& address, const ScriptPoint& p,
                                   QString* error) const;
    QString resolve(const QString& path) const;
    bool trackOpened() const;

    MainWindow& m_window;
    Console& m_console;
    const QString m_file;
    const ScriptText m_script;
    qsizetype m_next = 0;
    int m_line = 0;
    bool m_stopped = false;
    qsizetype m_alertButton = 1;
    QString m_alertText;        // typed into the alert's first text field; empty: none
    int m_alertButtonLine = 0;  // of the `answer-alerts` that chose it
    class TrackWatch;
    std::unique_ptr<TrackWatch> m_trackWatch;
    InputSimulator m_input;
    QTimer m_poll;
    std::optional<Wait> m_wait;
    std::optional<TrackAdder::Result> m_added;
};
