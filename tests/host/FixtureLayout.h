#pragma once

// A throw-away built-in components folder and profile, filled with copies of
// the fixture bundles under whatever bundle names a test needs.

#include "fixture_probe.h"

#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

class ServiceRegistry;

// Every fixture bundle's probe that the registry offers.
std::vector<service_ptr_t<fixture_probe>> fixtureProbes(ServiceRegistry& registry);

class FixtureLayout {
public:
    // Fixture variants, as built in the test tree.
    static constexpr const char* kGood = "good";
    static constexpr const char* kUpdate = "update";  // good, version 2.0
    static constexpr const char* kOldClient = "oldclient";
    static constexpr const char* kNoEntry = "noentry";

    FixtureLayout();

    std::filesystem::path builtin() const { return m_root / "components"; }
    std::filesystem::path profile() const { return m_root / "profile"; }
    std::filesystem::path root() const { return m_root; }

    // Each returns the path of the NAME.so it placed.
    std::filesystem::path addBuiltin(const std::string& variant, const std::string& name);
    std::filesystem::path addInstalled(const std::string& variant, const std::string& name);
    // A NAME.component folder with no library in it.
    std::filesystem::path addEmptyBundle(const std::string& name);
    // A NAME.so that is not a shared object.
    std::filesystem::path addGarbageBundle(const std::string& name);

private:
    static std::filesystem::path place(const std::string& variant,
                                       const std::filesystem::path& folder,
                                       const std::string& name);

    QTemporaryDir m_dir;
    std::filesystem::path m_root;
};
