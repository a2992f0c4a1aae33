#include "ComponentDescription.h"

#include "ComponentLoader.h"
#include "InterfaceNames.h"

#include "componentversion.h"
#include "quorvane_client.h"

ComponentDescription::ComponentDescription(const LoadedComponent& component)
    : m_fileName(component.fileName()) {
    bool haveVersion = false;
    for (service_factory_base* f = component.client->get_service_list(); f; f = f->get_next()) {
        m_interfaces.push_back(InterfaceNames::nameOf(f->get_class_guid()));
        if (haveVersion || !(f->get_class_guid() == componentversion::class_guid)) continue;
        service_ptr_t<service_base> made;
        f->instance_create(made);
        service_ptr_t<componentversion> cv;
        // Tentative: a broken record must not take the host down.
        if (!(cv &= made)) continue;
        cvk::stringLite name, version, about;
        cv->get_component_name(name);
        cv->get_component_version(version);
        cv->get_about_message(about);
        m_name = name.str();
        m_version = version.str();
        m_about = about.str();
        haveVersion = true;
    }
}

std::string ComponentDescription::listLine() const {
    std::string line = m_fileName + '\t' + (m_name.empty() ? "-" : m_name) + '\t' +
                       (m_version.empty() ? "-" : m_version) + '\t';
    for (size_t i = 0; i < m_interfaces.size(); ++i) {
        if (i) line += ", ";
        line += m_interfaces[i];
    }
    return line;
}
