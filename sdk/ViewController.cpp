#include "ViewController.h"

#include "fatal.h"

namespace qvn {

ViewController::ViewController(QObject* parent) : QObject(parent) {}

ViewController::~ViewController() {
    delete m_view.data();
}

QWidget* ViewController::view() {
    if (!m_view) {
        loadView();
        if (!m_view) crashWithMessage("ViewController: loadView set no view");
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(QWidget* view) {
    m_view = view;
}

}  // namespace qvn
