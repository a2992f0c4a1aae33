#include "PreferencesWindow.h"

#include "Console.h"
#include "ExceptionText.h"
#include "LayoutView.h"

#include "ObjectWrapper.h"
#include "service_factory.h"
#include "ViewController.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>
#include <exception>
#include <map>

namespace {

constexpr int kPageRole = Qt::UserRole;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

}  // namespace

PreferencesWindow::PreferencesWindow(Console& console, QWidget* parent)
    : QWidget(parent, Qt::Window), m_console(console) {
    setObjectName(QStringLiteral("preferencesWindow"));
    setWindowTitle(tr("Preferences"));
    resize(820, 540);

    m_tree = new QTreeWidget;
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setMinimumWidth(200);

    auto* right = new QWidget;
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 12, 0, 0);
    m_title = new QLabel(right);
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_title->setFont(bold);
    m_title->setContentsMargins(20, 0, 20, 0);
    column->addWidget(m_title);
    m_pane = new QVBoxLayout;
    m_pane->setContentsMargins(0, 0, 0, 0);
    column->addLayout(m_pane, 1);

    auto* split = new QSplitter(this);
    split->addWidget(m_tree);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 600});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    buildTree();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) open(item->data(0, kPageRole).toInt());
    });
}

PreferencesWindow::~PreferencesWindow() { releasePage(); }

void PreferencesWindow::buildTree() {
    service_class_helper_t<preferences_page> helper;
    for (size_t i = 0; i < helper.get_count(); ++i) {
        Page page;
        page.service = helper.create(i);
        try {
            page.guid = page.service->get_guid();
            page.parent = page.service->get_parent_guid();
            const char* name = page.service->get_name();
            page.name = QString::fromUtf8(name ? name : "");
        } catch (...) {
            m_console.print("A preferences page was left out: it threw: " +
                            whatOf(std::current_exception()).toStdString());
            continue;
        }
        m_pages.push_back(std::move(page));
    }

    // Parents before children, whatever order the components came in; a page
    // whose parent never appears goes to the top.
    std::map<GUID, QTreeWidgetItem*, GuidLess> items;
    std::vector<bool> placed(m_pages.size(), false);
    auto place = [&](size_t i, QTreeWidgetItem* parent) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setText(0, m_pages[i].name);
        item->setData(0, kPageRole, int(i));
        items.emplace(m_pages[i].guid, item);
        placed[i] = true;
    };
    for (bool progress = true; progress;) {
        progress = false;
        for (size_t i = 0; i < m_pages.size(); ++i) {
            if (placed[i]) continue;
            if (m_pages[i].parent == preferences_page::guid_root) {
                place(i, nullptr);
                progress = true;
            } else if (const auto p = items.find(m_pages[i].parent); p != items.end()) {
                place(i, p->second);
                progress = true;
            }
        }
    }
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (placed[i]) continue;
        m_console.print("Preferences page \"" + m_pages[i].name.toStdString() +
                        "\" has an unknown parent; shown at the top");
        place(i, nullptr);
    }
    m_tree->sortItems(0, Qt::AscendingOrder);
    m_tree->expandAll();
}

QStringList PreferencesWindow::pageNames() const {
    QStringList names;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) names.append((*it)->text(0));
    return names;
}

bool PreferencesWindow::showPage(const QString& name) {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->text(0) != name) continue;
        m_tree->setCurrentItem(*it);
        return true;
    }
    return false;
}

bool PreferencesWindow::showPage(const GUID& guid) {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (!(m_pages[size_t((*it)->data(0, kPageRole).toInt())].guid == guid)) continue;
        m_tree->setCurrentItem(*it);
        return true;
    }
    return false;
}

QString PreferencesWindow::currentPageName() const {
    return m_current >= 0 ? m_pages[size_t(m_current)].name : QString();
}

void PreferencesWindow::releasePage() {
    // The controller takes its view with it.
    m_wrapper.release();
    delete m_pageWidget.data();
    while (QLayoutItem* item = m_pane->takeAt(0)) delete item;
    m_current = -1;
    m_title->clear();
}

void PreferencesWindow::showMessage(const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(QStringLiteral("pageMessage"));
    label->setWordWrap(true);
    label->setContentsMargins(20, 20, 20, 20);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_pageWidget = label;
    m_pane->addWidget(label, 1);
}

void PreferencesWindow::open(int index) {
    releasePage();
    if (index < 0 || size_t(index) >= m_pages.size()) return;
    m_current = index;
    const Page& page = m_pages[size_t(index)];
    m_title->setText(page.name);

    QString problem;
    QPointer<qvn::ViewController> controller;
    QWidget* view = nullptr;
    try {
        m_wrapper = page.service->instantiate();
        controller = qobject_cast<qvn::ViewController*>(qvn::unwrapObject(m_wrapper));
        if (!controller)
            problem = tr("The page gave nothing to show.");
        else if (!(view = controller->view()))
            problem = tr("The page has no view.");
    } catch (...) {
        problem = tr("The page failed to open: %1").arg(whatOf(std::current_exception()));
    }
    if (!problem.isEmpty()) {
        m_wrapper.release();
        m_console.print("Preferences page \"" + page.name.toStdString() + "\": " + problem.toStdString());
        showMessage(problem);
        return;
    }
    m_pageWidget = view;
    m_pane->addWidget(view);
    view->show();
    if (!LayoutView::takesSpareHeight(m_pane->itemAt(0))) m_pane->addStretch(1);
}

void PreferencesWindow::closeEvent(QCloseEvent* event) {
    // A page lives while it is shown, not while the window is merely hidden.
    releasePage();
    m_tree->setCurrentItem(nullptr);
    QWidget::closeEvent(event);
}
