#pragma once

// A controller that owns one widget, built on first demand: loadView makes it,
// viewDidLoad wires it up. Main thread. Destroying the controller destroys the
// widget, wherever the host has placed it.

#include "sdk_export.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace qvn {

class QOV_SDK_API ViewController : public QObject {
    Q_OBJECT

public:
    explicit ViewController(QObject* parent = nullptr);
    ~ViewController() override;

    QWidget* view();
    bool isViewLoaded() const { return !m_view.isNull(); }

protected:
    // Must call setView.
    virtual void loadView() = 0;
    virtual void viewDidLoad() {}
    void setView(QWidget* view);

private:
    QPointer<QWidget> m_view;
};

}  // namespace qvn
