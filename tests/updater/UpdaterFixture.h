#pragma once

// What every updater test stands on: a bound fake host whose profile is a
// fresh folder, user settings and the temporary folder in throw-away places,
// the update server on loopback, and alerts and opened pages caught.

#include "FakeHost.h"
#include "HttpsServer.h"
#include "TestApplication.h"

#include "Alert.h"

#include <QApplication>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

struct ShownAlert {
    QString message;
    QString informative;
    QStringList buttons;
};

class PageCatcher : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

class UpdaterTest : public ::testing::Test {
protected:
    UpdaterTest();
    ~UpdaterTest() override;

    // Answers to the coming alerts by button, from 1; once they run out each
    // alert gets its second button ("Later"), or its only one.
    void answer(std::initializer_list<int> buttons) { m_answers.insert(m_answers.end(), buttons); }
    // Runs the event loop until `done` or the bound.
    static bool waitFor(const std::function<bool()>& done, int ms = 60000);
    // Until n alerts have been shown.
    bool waitForAlerts(size_t n, int ms = 60000);

    std::filesystem::path profile() const;
    std::filesystem::path installed(const std::string& name) const;
    std::filesystem::path backup(const std::string& name) const;
    // Everything left in the temporary folder the updater uses.
    QStringList temporaryLeftovers() const;

    // The archive a component's update comes in, with `library` as its NAME.so.
    static QByteArray package(const QByteArray& name, const QByteArray& library);
    // A manifest entry for a package served at `path`.
    QJsonObject entryFor(const QString& version, const QString& path, const QByteArray& package) const;
    void serveManifest(const QJsonObject& manifest);

    QApplication& m_app = testApplication();
    BoundFakeHost m_bound;
    QTemporaryDir m_dir;
    HttpsServer m_server;
    PageCatcher m_pages;
    std::vector<ShownAlert> m_alerts;

private:
    std::deque<int> m_answers;
};
