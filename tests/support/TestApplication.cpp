#include "TestApplication.h"

#include "UserDefaults.h"

#include <QApplication>
#include <QTemporaryDir>

QApplication& testApplication() {
    // Tests never need a display, also when run by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qov_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* made = new QApplication(argc, argv);
        // Settings a test writes stay out of the user's home and go with the run.
        static QTemporaryDir defaults;
        platform::UserDefaults::setFolder(defaults.path());
        return made;
    }();
    return *app;
}
