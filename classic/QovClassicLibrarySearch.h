#pragma once

// The library search window: one per process, opened from the Library menu.
// It reads the whole library each time it is shown, then finds tracks as the
// user types (every word, in any order, ignoring case and accents), and sends
// the chosen ones (the selected rows, or all results) to the active playlist
// or to a new one named after the query; rows can also be dragged out onto a
// playlist or to other applications. Closing only hides it. Main thread.

#include "metadb_handle.h"
#include "SystemLabel.h"

#include <QDialog>
#include <QLineEdit>
#include <QTableView>

#include <QObject>
#include <QPointer>

#include <memory>

class QovClassicLibraryModel;

class QovClassicLibrarySearch : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kFrameKey = "QovClassicLibrarySearch/frame";

    // Makes the one window on first use, reloads the library, brings the
    // window to the front and puts the keyboard in the search field.
    static void show();
    // The window, when it has been made.
    static QovClassicLibrarySearch* instance();
    // At quit: the window's code goes with the component.
    static void shutdown();

    ~QovClassicLibrarySearch() override;

    void reload();
    // Runs the query in the search field.
    void filter();
    // The selected rows' tracks in row order; all results when none is selected.
    metadb_handle_list chosen() const;
    void addToCurrent();
    void sendToNew();

    QDialog* window() const { return _window; }
    QLineEdit* searchField() const { return _search; }
    QTableView* table() const { return _table; }
    SystemLabel* status() const { return _count; }
    QovClassicLibraryModel* model() const { return _model; }

private:
    QovClassicLibrarySearch();
    void saveFrame();

    QPointer<QDialog> _window;
    QPointer<QLineEdit> _search;
    QPointer<QTableView> _table;
    QPointer<SystemLabel> _count;
    QovClassicLibraryModel* _model;
};
