#include "LayoutView.h"

#include "Console.h"
#include "ElementPlaceholder.h"
#include "ExceptionText.h"
#include "LineWords.h"

#include "service_factory.h"
#include "ui_element.h"

#include <QVBoxLayout>

#include <exception>
#include <map>

namespace {

// The first element service, across every component, that takes the name.
service_ptr_t<ui_element_mac> elementNamed(const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    service_class_helper_t<ui_element_mac> helper;
    for (size_t i = 0; i < helper.get_count(); ++i) {
        service_ptr_t<ui_element_mac> element = helper.create(i);
        try {
            if (element->match_name(utf8.constData())) return element;
        } catch (...) {
            // A component that cannot answer does not own the name.
        }
    }
    return {};
}

}  // namespace

LayoutView::LayoutView(Console& console, QWidget* parent)
    : QWidget(parent), m_console(console), m_column(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("layoutRoot"));
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(0);
}

LayoutView::~LayoutView() { release(); }

void LayoutView::report(const QString& line) { m_console.print(line.toStdString()); }

LayoutView::Element LayoutView::place(const LayoutElement& line) {
    Element e;
    e.name = line.name;
    e.line = line.line;
    const QString shown = shownText(line.name);
    const service_ptr_t<ui_element_mac> service = elementNamed(line.name);
    if (!service.is_valid()) {
        e.problem = QStringLiteral("Unknown element: %1").arg(shown);
        return e;
    }
    try {
        e.wrapper = service->instantiate(qvn::wrapNSObject(line.optionMap()));
        e.controller = qobject_cast<qvn::ViewController*>(qvn::unwrapObject(e.wrapper));
        if (!e.controller) {
            e.problem = e.wrapper.is_valid() ? QStringLiteral("Element %1 gave no view controller").arg(shown)
                                             : QStringLiteral("Element %1 could not be created").arg(shown);
        } else if (!(e.widget = e.controller->view())) {
            e.problem = QStringLiteral("Element %1 has no view").arg(shown);
        }
    } catch (...) {
        e.problem = QStringLiteral("Element %1 failed: %2").arg(shown, whatOf(std::current_exception()));
    }
    if (e.isPlaceholder()) {
        e.widget = nullptr;
        e.controller = nullptr;
        e.wrapper.release();
    }
    return e;
}

void LayoutView::build(const LayoutText& layout) {
    release();
    for (const LayoutError& error : layout.errors) report(QStringLiteral("Layout %1").arg(error.text()));
    for (const LayoutError& warning : layout.warnings)
        report(QStringLiteral("Layout %1").arg(warning.text()));

    // Elements and unreadable lines, in line order.
    std::map<int, Element> byLine;
    std::map<QString, int> instances;
    for (const LayoutElement& line : layout.elements) {
        Element e = place(line);
        e.instance = instances[line.name]++;
        if (e.isPlaceholder()) report(QStringLiteral("Layout line %1: %2").arg(line.line).arg(e.problem));
        byLine.emplace(line.line, std::move(e));
    }
    for (const LayoutError& error : layout.errors) {
        Element e;
        e.line = error.line;
        e.problem = QStringLiteral("Layout %1").arg(error.text());
        byLine.emplace(error.line, std::move(e));
    }
    if (layout.isEmpty()) {
        // An empty window would look like a host that failed to start.
        Element e;
        e.problem = QStringLiteral("Layout is empty: it names no element");
        report(e.problem);
        byLine.emplace(0, std::move(e));
    }

    bool anyExpands = false;
    for (auto& [line, e] : byLine) {
        if (e.isPlaceholder()) e.widget = new ElementPlaceholder(e.problem, this);
        m_column->addWidget(e.widget);
        e.widget->show();
        if (!e.isPlaceholder()) anyExpands |= takesSpareHeight(m_column->itemAt(m_column->count() - 1));
        m_elements.push_back(std::move(e));
    }
    bool placeholders = false;
    if (!anyExpands) {
        for (const Element& e : m_elements) {
            if (!e.isPlaceholder()) continue;
            e.widget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
            placeholders = true;
        }
    }
    if (!anyExpands && !placeholders) m_column->addStretch(1);
}

void LayoutView::release() {
    // Controllers first: each takes its own view with it.
    for (Element& e : m_elements) e.wrapper.release();
    for (Element& e : m_elements) delete e.widget.data();
    m_elements.clear();
    while (QLayoutItem* item = m_column->takeAt(0)) delete item;
}

bool LayoutView::takesSpareHeight(QLayoutItem* item) {
    return (item->expandingDirections() & Qt::Vertical) && item->maximumSize().height() >= QLAYOUTSIZE_MAX;
}

const LayoutView::Element* LayoutView::find(const ElementAddress& address) const {
    for (const Element& e : m_elements)
        if (!e.name.isEmpty() && e.name == address.name && e.instance == address.instance) return &e;
    return nullptr;
}
