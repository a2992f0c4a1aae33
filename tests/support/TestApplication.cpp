#include "TestApplication.h"

#include <QApplication>

QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "qov_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
