#pragma once

// A question put to the user: message, informative text, up to a few buttons
// and an optional accessory widget (a text field, a list) between the texts and
// the buttons. Answers are the button's position from 1000: the first button
// (the default, taken by Return) answers 1000, the second 1001, the third 1002.
// A button titled "Cancel" is taken by Escape; with a single button Escape
// takes that one. With no button added there is one "OK".
//
// Main thread. An Alert only holds the question: showing it builds the dialog, which
// then lives on its own, so the Alert may go out of scope while a window-modal
// dialog is still up.

#include "platform_export.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace platform {

class QOV_PLATFORM_API Alert {
public:
    static constexpr int kFirstButton = 1000;
    static constexpr int kSecondButton = 1001;
    static constexpr int kThirdButton = 1002;
    // runModal's answer when the dialog was closed by code, not by a button.
    static constexpr int kAborted = -1001;

    // Answers alerts instead of a user: called with the alert when it would be
    // shown, nothing is shown, and its return value is the answer (still handed
    // over later for window-modal alerts). For tests and automation.
    using Responder = std::function<int(const Alert&)>;

    Alert() = default;
    ~Alert();
    Alert(const Alert&) = delete;
    Alert& operator=(const Alert&) = delete;

    void setMessageText(const QString& text) { m_message = text; }
    void setInformativeText(const QString& text) { m_informative = text; }
    void setIcon(QMessageBox::Icon icon) { m_icon = icon; }
    void addButton(const QString& title) { m_buttons.append(title); }
    // Takes ownership; the widget lives until the answer has been handed over.
    void setAccessoryView(QWidget* view);
    // A widget of the accessory that has the keyboard focus when the alert
    // shows, in place of the first button (which Return still takes). A line
    // edit shows its text selected, so typing replaces it.
    void setInitialFocus(QWidget* widget) { m_initialFocus = widget; }

    QString messageText() const { return m_message; }
    QString informativeText() const { return m_informative; }
    QStringList buttons() const;
    QWidget* accessoryView() const { return m_accessory; }
    QWidget* initialFocus() const { return m_initialFocus; }

    // Window-modal on anchor's window when there is a visible one, answering
    // through done once a button is chosen; otherwise application-modal like
    // runModal, calling done before returning. done is not called when the window
    // goes away with the question unanswered.
    void show(QWidget* anchor, std::function<void(int)> done);

    // Application-modal; returns the answer. The accessory stays with the alert,
    // to be read afterwards.
    int runModal();

    static void setResponder(Responder responder);

private:
    QMessageBox* build(QWidget* parent);
    void placeAccessory(QMessageBox* box);
    void focusInitial(QMessageBox* box);
    static int answerOf(const QMessageBox& box);

    QString m_message;
    QString m_informative;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QStringList m_buttons;
    QPointer<QWidget> m_accessory;
    QPointer<QWidget> m_initialFocus;
    bool m_ownsAccessory = false;
};

}  // namespace platform
