#include "WindowTestHost.h"

#include "Console.h"
#include "FixtureLayout.h"
#include "Host.h"
#include "ServiceRegistry.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LoadedHost : public ::testing::Environment {
public:
    void SetUp() override {
        m_layout = std::make_unique<FixtureLayout>();
        m_layout->addInstalled("ui", "qov_fixture_ui");
        m_host = std::make_unique<Host>(m_layout->profile(), QOV_COMPONENTS_DIR, ServiceRegistry::global(),
                                        Console::global());
        ASSERT_TRUE(m_host->start(false));
        ASSERT_GE(m_host->components().size(), 2u);
    }
    void TearDown() override {
        m_host->unload();
        m_host.reset();
        m_layout.reset();
    }

private:
    std::unique_ptr<FixtureLayout> m_layout;
    std::unique_ptr<Host> m_host;
};

}  // namespace

namespace WindowTestHost {

QStringList linesSince(uint64_t mark) {
    QStringList out;
    for (const std::string& l : Console::global().linesSince(mark)) out.append(QString::fromStdString(l));
    return out;
}

bool printedSince(uint64_t mark, const QString& line) { return linesSince(mark).contains(line); }

}  // namespace WindowTestHost

int main(int argc, char** argv) {
    // Test discovery runs the binary outside CTest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LoadedHost);
    return RUN_ALL_TESTS();
}
