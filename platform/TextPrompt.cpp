#include "TextPrompt.h"

#include "Alert.h"

#include <QLineEdit>
#include <QPointer>

namespace platform {

void TextPrompt::ask(QWidget* anchor, const QString& message, const QString& text,
                     std::function<void(const QString&)> done) {
    auto* field = new QLineEdit(text);
    field->setFixedSize(260, 22);
    QPointer<QLineEdit> answer(field);
    Alert alert;
    alert.setMessageText(message);
    alert.addButton(QStringLiteral("OK"));
    alert.addButton(QStringLiteral("Cancel"));
    alert.setAccessoryView(field);
    alert.setInitialFocus(field);
    alert.show(anchor, [answer, done = std::move(done)](int button) {
        if (button == Alert::kFirstButton && answer && !answer->text().isEmpty()) done(answer->text());
    });
}

}  // namespace platform
