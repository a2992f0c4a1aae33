#pragma once

// The preferences window: a tree of every preferences_page (the host's own and
// each component's, placed under get_parent_guid) and the selected page's view.
// A page is made when selected and released when another is selected or the
// window closes; a page that throws or gives nothing shows why instead.
//
// Ownership: the current page's wrapper (its controller and view) lives until
// then, and must be gone before the components are unloaded. GUI thread.

#include "guid.h"
#include "preferences_page.h"
#include "service.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class Console;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

class PreferencesWindow : public QWidget {
    Q_OBJECT

public:
    explicit PreferencesWindow(Console& console, QWidget* parent = nullptr);
    ~PreferencesWindow() override;

    // Selects the first page of that name in tree order; false when none has it.
    bool showPage(const QString& name);
    bool showPage(const GUID& guid);

    QString currentPageName() const;
    // The current page's view, or the message shown in its place.
    QWidget* pageWidget() const { return m_pageWidget; }
    QStringList pageNames() const;

    // Releases the current page.
    void releasePage();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Page {
        GUID guid;
        GUID parent;
        QString name;
        service_ptr_t<preferences_page> service;
    };

    void buildTree();
    void open(int page);
    void showMessage(const QString& text);

    Console& m_console;
    std::vector<Page> m_pages;
    QTreeWidget* m_tree;
    QLabel* m_title;
    QVBoxLayout* m_pane;
    int m_current = -1;
    service_ptr_t<service_base> m_wrapper;
    QPointer<QWidget> m_pageWidget;
};
