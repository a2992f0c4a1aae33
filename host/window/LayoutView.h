#pragma once

// The window's element column: makes each layout line's element through the
// ui_element_mac service that matches its name (searched across every
// component), stacks the views top to bottom and owns their controllers.
//
// The spare height goes to views that expand vertically; when none does, the
// placeholders share it (a layout whose main element is missing still fills
// the window), else it stays empty at the bottom.
//
// Ownership: each element's wrapper (and so its controller and view) lives
// until release() or destruction; both must come before the components are
// unloaded. GUI thread.

#include "LayoutText.h"
#include "ScriptText.h"

#include "ObjectWrapper.h"
#include "service.h"
#include "ViewController.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class Console;
class QLayoutItem;
class QVBoxLayout;

class LayoutView : public QWidget {
    Q_OBJECT

public:
    struct Element {
        QString name;      // as the layout writes it; empty for a line that could not be read
        int instance = 0;  // among the elements of that name, from 0
        int line = 0;
        service_ptr_t<service_base> wrapper;
        QPointer<qvn::ViewController> controller;
        // The element's view, or the placeholder standing in for it.
        QPointer<QWidget> widget;
        // Empty when the element is placed.
        QString problem;

        bool isPlaceholder() const { return !problem.isEmpty(); }
    };

    explicit LayoutView(Console& console, QWidget* parent = nullptr);
    ~LayoutView() override;

    // Replaces whatever was placed.
    void build(const LayoutText& layout);
    // Destroys every controller (with its view) and every placeholder.
    void release();

    const std::vector<Element>& elements() const { return m_elements; }
    // Null when the layout has no such element.
    const Element* find(const ElementAddress& address) const;

    // True for an item that grows vertically without a ceiling: a widget
    // with a fixed height keeps its Preferred policy, which alone says "grows".
    static bool takesSpareHeight(QLayoutItem* item);

private:
    Element place(const LayoutElement& line);
    void report(const QString& line);

    Console& m_console;
    QVBoxLayout* m_column;
    std::vector<Element> m_elements;
};
