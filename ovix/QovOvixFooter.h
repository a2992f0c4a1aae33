#pragma once

// The bar under the Ovix playlist: add files, remove the selection, quick
// search, and the active playlist's totals (count, length, size) polled once
// a second. The search selects and reveals the first track whose artist,
// title or album holds the typed text, ignoring case and accents. Main thread.

#include <QLineEdit>
#include "OvixLabel.h"
#include "titleformat.h"
#include "ViewController.h"

#include <QPointer>
#include <QTimer>

class QovOvixFooter : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;

    explicit QovOvixFooter(QObject* parent = nullptr);
    ~QovOvixFooter() override;

    void refresh();
    void onAdd();
    void onRemove();
    void onSearch();

    QLineEdit* searchField() const { return _search; }
    OvixLabel* statsLabel() const { return _stats; }

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    QPointer<QLineEdit> _search;
    QPointer<OvixLabel> _stats;
    QTimer _timer;
    service_ptr_t<titleformat_object> _tfSearch;
};
