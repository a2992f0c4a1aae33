#include "Alert.h"

#include "MainQueue.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace platform {

namespace {

const char* const kAnswerProperty = "qovAlertAnswer";

Alert::Responder& responder() {
    static Alert::Responder r;
    return r;
}

}  // namespace

Alert::~Alert() {
    if (m_ownsAccessory) delete m_accessory.data();
}

void Alert::setAccessoryView(QWidget* view) {
    if (m_ownsAccessory && m_accessory != view) delete m_accessory.data();
    m_accessory = view;
    m_ownsAccessory = view != nullptr;
}

QStringList Alert::buttons() const {
    if (m_buttons.isEmpty()) return {QCoreApplication::translate("platform::Alert", "OK")};
    return m_buttons;
}

void Alert::setResponder(Responder r) {
    responder() = std::move(r);
}

QMessageBox* Alert::build(QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setIcon(m_icon);
    // Texts carry playlist names, track titles and downloaded release notes:
    // shown as they are, never interpreted as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(m_message);
    if (auto* message = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = message->font();
        bold.setBold(true);
        message->setFont(bold);
    }
    box->setInformativeText(m_informative);
    if (auto* info = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        info->setTextFormat(Qt::PlainText);

    const QStringList titles = buttons();
    for (int i = 0; i < titles.size(); ++i) {
        QPushButton* b = box->addButton(titles[i], QMessageBox::ActionRole);
        b->setProperty(kAnswerProperty, kFirstButton + i);
        if (i == 0) box->setDefaultButton(b);
        if (titles[i] == QLatin1String("Cancel")) box->setEscapeButton(b);
    }
    // Last: the box rebuilds its layout whenever texts or the icon change.
    placeAccessory(box);
    focusInitial(box);
    return box;
}

void Alert::focusInitial(QMessageBox* box) {
    // Only a widget inside the box: focus elsewhere would leave the box keyless.
    if (!m_initialFocus || !box->isAncestorOf(m_initialFocus)) return;
    // The box gave it to the default button; the window hands it on on showing.
    m_initialFocus->setFocus(Qt::OtherFocusReason);
    if (auto* field = qobject_cast<QLineEdit*>(m_initialFocus.data())) field->selectAll();
}

void Alert::placeAccessory(QMessageBox* box) {
    if (!m_accessory) return;
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    auto* buttonBox = box->findChild<QDialogButtonBox*>();
    const int buttonsAt = grid && buttonBox ? grid->indexOf(buttonBox) : -1;
    if (buttonsAt < 0) {
        // No grid to join: still keep it owned and alive with the box.
        m_accessory->setParent(box);
        m_ownsAccessory = false;
        return;
    }
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(buttonsAt, &row, &column, &rowSpan, &columnSpan);
    // Under the texts, in their column.
    int textColumn = column;
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        const int at = grid->indexOf(label);
        int r = 0, c = 0, rs = 0, cs = 0;
        if (at >= 0) grid->getItemPosition(at, &r, &c, &rs, &cs);
        if (at >= 0) textColumn = c;
    }
    grid->removeWidget(buttonBox);
    grid->addWidget(m_accessory, row, textColumn, 1, column + columnSpan - textColumn);
    grid->addWidget(buttonBox, row + 1, column, rowSpan, columnSpan);
    m_accessory->show();
    m_ownsAccessory = false;
}

int Alert::answerOf(const QMessageBox& box) {
    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return kAborted;
    bool ok = false;
    const int answer = clicked->property(kAnswerProperty).toInt(&ok);
    return ok ? answer : kAborted;
}

int Alert::runModal() {
    if (responder()) return responder()(*this);

    std::unique_ptr<QMessageBox> box(build(nullptr));
    box->exec();
    const int answer = answerOf(*box);
    if (m_accessory) {
        // Back to the alert, so that the caller can read it after the box is gone.
        m_accessory->hide();
        m_accessory->setParent(nullptr);
        m_ownsAccessory = true;
    }
    return answer;
}

void Alert::show(QWidget* anchor, std::function<void(int)> done) {
    QWidget* window = anchor ? anchor->window() : nullptr;
    if (!window || !window->isVisible()) {
        const int answer = runModal();
        if (done && answer != kAborted) done(answer);
        return;
    }

    if (responder()) {
        const int answer = responder()(*this);
        // As a real sheet would: the answer arrives later, with the accessory alive
        // until it has, and not at all once the window is gone.
        std::shared_ptr<QWidget> accessory;
        if (m_ownsAccessory) accessory.reset(m_accessory.data());
        m_ownsAccessory = false;
        async(QPointer<QWidget>(window), [done = std::move(done), answer, accessory] {
            if (done) done(answer);
        });
        return;
    }

    QMessageBox* box = build(window);
    QObject::connect(
        box, &QDialog::finished, box,
        [box, done = std::move(done)] {
            const int answer = answerOf(*box);
            box->deleteLater();
            if (done && answer != kAborted) done(answer);
        },
        Qt::SingleShotConnection);
    box->open();
}

}  // namespace platform
