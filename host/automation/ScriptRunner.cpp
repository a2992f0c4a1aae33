#include "ScriptRunner.h"

#include "Console.h"
#include "MainWindow.h"

#include "Alert.h"
#include "play_callback.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>

// What playback_control cannot tell: whether the decoder of the track now
// playing has opened it, so that it sounds and answers seeks.
class ScriptRunner::TrackWatch : public play_callback_impl_base {
public:
    TrackWatch()
        : play_callback_impl_base(flag_on_playback_starting | flag_on_playback_new_track |
                                  flag_on_playback_stop) {}

    void on_playback_starting(playback_control::t_track_command, bool) override { opened = false; }
    void on_playback_new_track(service_ptr_t<metadb_handle>) override { opened = true; }
    void on_playback_stop(playback_control::t_stop_reason) override { opened = false; }

    bool opened = false;
};

ScriptRunner::ScriptRunner(MainWindow& window, Console& console, const QString& file, ScriptText script,
                           QObject* parent)
    : QObject(parent), m_window(window), m_console(console), m_file(file), m_script(std::move(script)) {
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &ScriptRunner::poll);
    // Quitting (the window closed, `menu File/Quit`) ends the script where it is.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        m_stopped = true;
        m_poll.stop();
    });
}

ScriptRunner::~ScriptRunner() { platform::Alert::setResponder(nullptr); }

std::optional<ScriptText> ScriptRunner::load(const QString& file, Console& console) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        console.print(
            QStringLiteral("Script %1: cannot read it: %2").arg(file, f.errorString()).toStdString());
        return std::nullopt;
    }
    ScriptText script = ScriptText::parse(QString::fromUtf8(f.readAll()));
    for (const ScriptError& e : script.errors)
        console.print(
            QStringLiteral("Script %1 line %2: %3").arg(file).arg(e.line).arg(e.message).toStdString());
    if (!script.errors.isEmpty()) return std::nullopt;
    return script;
}

void ScriptRunner::start() {
    service_ptr_t<play_callback_manager> callbacks;
    if (qvn::_standard_api_try_get_internal(callbacks)) m_trackWatch = std::make_unique<TrackWatch>();
    platform::Alert::setResponder([this](const platform::Alert& alert) {
        const QStringList buttons = alert.buttons();
        const qsizetype n = m_alertButton;
        if (n > buttons.size()) {
            // Pressing a button that is not there would hand the caller an
            // answer no user can give: closed as by code, and the script stops.
            if (!m_stopped)
                fail(QStringLiteral("alert \"%1\" has %2 button(s); answer-alerts %3 on line %4 chose none")
                         .arg(alert.messageText())
                         .arg(buttons.size())
                         .arg(n)
                         .arg(m_alertButtonLine));
            return platform::Alert::kAborted;
        }
        if (!m_alertText.isEmpty()) {
            // As a user would type it: into the field that has the focus, else the first one.
            auto* field = qobject_cast<QLineEdit*>(alert.initialFocus());
            if (!field) field = qobject_cast<QLineEdit*>(alert.accessoryView());
            if (!field && alert.accessoryView()) field = alert.accessoryView()->findChild<QLineEdit*>();
            if (!field) {
                if (!m_stopped)
                    fail(QStringLiteral(
                             "alert \"%1\" has no text field for the text of answer-alerts on line %2")
                             .arg(alert.messageText())
                             .arg(m_alertButtonLine));
                return platform::Alert::kAborted;
            }
            field->setText(m_alertText);
        }
        m_console.print(QStringLiteral("Script: alert \"%1\" answered with button %2 (%3)")
                            .arg(alert.messageText())
                            .arg(n)
                            .arg(buttons[n - 1])
                            .toStdString());
        return platform::Alert::kFirstButton + int(n) - 1;
    });
    // Shortcuts and key focus follow the active window; a window manager may
    // refuse to activate it, and the script then runs all the same.
    m_window.activateWindow();
    waitFor({[this] { return m_window.isActiveWindow(); }, QDeadlineTimer(kActivationTimeoutMs), {}, {}});
}

bool ScriptRunner::trackOpened() const { return m_trackWatch && m_trackWatch->opened; }

void ScriptRunner::deliver(std::function<void()> input) { QTimer::singleShot(0, this, std::move(input)); }

void ScriptRunner::scheduleStep() {
    // Two turns on: what the last command's input left for the next turn (a
    // view's coalesced rebuild) is done before the next command looks.
    QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, &ScriptRunner::step); });
}

void ScriptRunner::step() {
    if (m_stopped) return;
    if (m_next >= m_script.commands.size()) {
        m_stopped = true;
        emit finished(0, false);
        return;
    }
    const ScriptCommand& c = m_script.commands[m_next++];
    m_line = c.line;
    Outcome outcome;
    try {
        outcome = run(c);
    } catch (const std::exception& e) {
        outcome = Outcome::failed(QStringLiteral("failed: %1").arg(QString::fromUtf8(e.what())));
    }
    switch (outcome.kind) {
        case Outcome::Next:
            scheduleStep();
            break;
        case Outcome::Waiting:
            break;
        case Outcome::Failed:
            fail(outcome.error);
            break;
        case Outcome::Quit:
            m_stopped = true;
            emit finished(0, true);
            break;
    }
}

ScriptRunner::Outcome ScriptRunner::waitFor(Wait wait) {
    m_wait = std::move(wait);
    m_poll.start();
    poll();
    return {Outcome::Waiting, {}};
}

void ScriptRunner::poll() {
    if (!m_wait || m_stopped) return;
    if (m_wait->until && m_wait->until()) {
        endWait();
    } else if (m_wait->deadline.hasExpired()) {
        if (m_wait->timeoutError.isEmpty()) {
            endWait();
        } else {
            m_poll.stop();
            const QString error = m_wait->timeoutError;
            m_wait.reset();
            fail(error);
        }
    }
}

void ScriptRunner::endWait() {
    m_poll.stop();
    const Wait done = std::move(*m_wait);
    m_wait.reset();
    const QString error = done.then ? done.then() : QString();
    if (!error.isEmpty())
        fail(error);
    else
        scheduleStep();
}

void ScriptRunner::fail(const QString& reason) {
    m_stopped = true;
    m_console.print(
        QStringLiteral("Script %1 line %2: %3").arg(m_file).arg(m_line).arg(reason).toStdString());
    emit finished(1, false);
}
