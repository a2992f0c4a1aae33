#include "ResponderChain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <optional>

namespace platform {

namespace {

// Each stock answer: nullopt when the widget does not take the action, else
// whether it can now, having done it when asked to run and able.
using Answer = std::optional<bool>;

template <class Fn>
Answer act(bool run, bool can, Fn fn) {
    if (run && can) fn();
    return can;
}

bool clipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

Answer lineEdit(QLineEdit* e, EditAction action, bool run) {
    const bool editable = !e->isReadOnly();
    // A password's text never leaves the field.
    const bool selected = e->hasSelectedText() && e->echoMode() == QLineEdit::Normal;
    switch (action) {
        case EditAction::Undo:
            return act(run, e->isUndoAvailable(), [e] { e->undo(); });
        case EditAction::Redo:
            return act(run, e->isRedoAvailable(), [e] { e->redo(); });
        case EditAction::Cut:
            return act(run, editable && selected, [e] { e->cut(); });
        case EditAction::Copy:
            return act(run, selected, [e] { e->copy(); });
        case EditAction::Paste:
            return act(run, editable && clipboardHasText(), [e] { e->paste(); });
        case EditAction::Delete:
            return act(run, editable && e->hasSelectedText(), [e] { e->del(); });
        case EditAction::SelectAll:
            return act(run, !e->text().isEmpty(), [e] { e->selectAll(); });
    }
    return std::nullopt;
}

// QTextEdit and QPlainTextEdit: the same calls without a common base.
template <class Edit>
Answer textEdit(Edit* e, EditAction action, bool run) {
    const bool editable = !e->isReadOnly();
    const bool selected = e->textCursor().hasSelection();
    const QTextDocument* document = e->document();
    switch (action) {
        case EditAction::Undo:
            return act(run, editable && document->isUndoAvailable(), [e] { e->undo(); });
        case EditAction::Redo:
            return act(run, editable && document->isRedoAvailable(), [e] { e->redo(); });
        case EditAction::Cut:
            return act(run, editable && selected, [e] { e->cut(); });
        case EditAction::Copy:
            return act(run, selected, [e] { e->copy(); });
        case EditAction::Paste:
            return act(run, editable && e->canPaste(), [e] { e->paste(); });
        case EditAction::Delete:
            return act(run, editable && selected, [e] {
                QTextCursor cursor = e->textCursor();
                cursor.removeSelectedText();
                e->setTextCursor(cursor);
            });
        case EditAction::SelectAll:
            return act(run, !document->isEmpty(), [e] { e->selectAll(); });
    }
    return std::nullopt;
}

Answer itemView(QAbstractItemView* v, EditAction action, bool run) {
    if (action != EditAction::SelectAll) return std::nullopt;
    const QAbstractItemView::SelectionMode mode = v->selectionMode();
    const bool many = mode == QAbstractItemView::ExtendedSelection ||
                      mode == QAbstractItemView::MultiSelection ||
                      mode == QAbstractItemView::ContiguousSelection;
    const bool rows = v->model() && v->model()->rowCount(v->rootIndex()) > 0;
    return act(run, many && rows, [v] { v->selectAll(); });
}

Answer stock(QWidget* w, EditAction action, bool run) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) return lineEdit(e, action, run);
    if (auto* e = qobject_cast<QTextEdit*>(w)) return textEdit(e, action, run);
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return textEdit(e, action, run);
    if (auto* v = qobject_cast<QAbstractItemView*>(w)) return itemView(v, action, run);
    return std::nullopt;
}

Answer ask(EditAction action, QWidget* from, bool run) {
    for (QWidget* w = from; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (auto* responder = dynamic_cast<EditResponder*>(w);
            responder && responder->respondsToEditAction(action)) {
            const bool can = responder->validateEditAction(action);
            if (run && can) responder->performEditAction(action);
            return can;
        }
        if (const Answer answer = stock(w, action, run)) return answer;
    }
    return std::nullopt;
}

}  // namespace

QWidget* ResponderChain::firstResponder() {
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    return QApplication::activeWindow();
}

bool ResponderChain::validate(EditAction action, QWidget* from) {
    return ask(action, from, false).value_or(false);
}

bool ResponderChain::perform(EditAction action, QWidget* from) {
    return ask(action, from, true).value_or(false);
}

}  // namespace platform
