#include "FixtureLayout.h"

#include "ServiceRegistry.h"

#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

FixtureLayout::FixtureLayout() : m_root(m_dir.path().toStdString()) {
    if (!m_dir.isValid()) throw std::runtime_error("no temporary folder");
    fs::create_directories(builtin());
}

fs::path FixtureLayout::place(const std::string& variant, const fs::path& folder,
                              const std::string& name) {
    const fs::path bundle = folder / (name + ".component");
    fs::create_directories(bundle);
    const fs::path so = bundle / (name + ".so");
    fs::copy_file(fs::path(QOV_HOST_FIXTURES) / variant / "qov_fixture.so", so,
                  fs::copy_options::overwrite_existing);
    return so;
}

fs::path FixtureLayout::addBuiltin(const std::string& variant, const std::string& name) {
    return place(variant, builtin(), name);
}

fs::path FixtureLayout::addInstalled(const std::string& variant, const std::string& name) {
    return place(variant, profile() / "user-components" / name, name);
}

fs::path FixtureLayout::addEmptyBundle(const std::string& name) {
    const fs::path bundle = builtin() / (name + ".component");
    fs::create_directories(bundle);
    return bundle / (name + ".so");
}

fs::path FixtureLayout::addGarbageBundle(const std::string& name) {
    const fs::path so = addEmptyBundle(name);
    std::ofstream(so) << "not a shared object\n";
    return so;
}

std::vector<service_ptr_t<fixture_probe>> fixtureProbes(ServiceRegistry& registry) {
    std::vector<service_ptr_t<fixture_probe>> out;
    service_class_ref c = registry.findClass(fixture_probe::class_guid);
    for (size_t i = 0; i < registry.count(c); ++i) {
        service_ptr_t<service_base> base;
        if (!registry.create(base, c, i)) throw std::runtime_error("probe vanished");
        service_ptr_t<fixture_probe> p;
        p ^= base;
        out.push_back(p);
    }
    return out;
}
