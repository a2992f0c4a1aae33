#pragma once

// What a bound component says about itself: its version record and the
// interfaces of its services. Main thread (version records are main-thread).

#include <string>
#include <vector>

struct LoadedComponent;

class ComponentDescription {
public:
    explicit ComponentDescription(const LoadedComponent& component);

    const std::string& fileName() const { return m_fileName; }
    // Empty when the component has no version record.
    const std::string& name() const { return m_name; }
    const std::string& version() const { return m_version; }
    const std::string& about() const { return m_about; }
    // One per service, in the order the component lists them.
    const std::vector<std::string>& interfaces() const { return m_interfaces; }

    // FILE, NAME, VERSION, INTERFACES separated by tabs; the interfaces by ", ".
    std::string listLine() const;

private:
    std::string m_fileName;
    std::string m_name;
    std::string m_version;
    std::string m_about;
    std::vector<std::string> m_interfaces;
};
