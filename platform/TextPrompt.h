#pragma once

// An alert that asks for one line of text: the message, a field holding the
// current text (selected, with the keyboard focus), OK and Cancel. Main thread.

#include "platform_export.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace platform {

class QOV_PLATFORM_API TextPrompt {
public:
    // Shown as Alert::show does; done gets the text when OK is chosen with a
    // non-empty field, and is not called otherwise.
    static void ask(QWidget* anchor, const QString& message, const QString& text,
                    std::function<void(const QString&)> done);
};

}  // namespace platform
