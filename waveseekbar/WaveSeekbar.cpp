// The waveform seekbar bundle: the layout element, the page and the update check.

#include "dravik_update_initquit.h"
#include "ObjectWrapper.h"
#include "preferences_page.h"
#include "QovWaveSeekbarController.h"
#include "QovWaveSeekbarPrefs.h"
#include "service_factory.h"
#include "ui_element.h"

#include <cstring>

namespace {

class ui_element_wave_seekbar : public ui_element_mac {
public:
    service_ptr_t<service_base> instantiate(service_ptr_t<service_base> arg) override {
        auto* controller = new QovWaveSeekbarController;
        const QVariant options = qvn::unwrapNSObject(arg);
        if (options.typeId() == QMetaType::QVariantMap) {
            const QVariant time = options.toMap().value(QStringLiteral("time"));
            controller->setSideTimes(time.typeId() == QMetaType::QString && time.toString() == u"sides");
        }
        return qvn::wrapNSObject(controller);
    }
    bool match_name(const char* name) override {
        return name &&
               (std::strcmp(name, "waveform-seekbar") == 0 || std::strcmp(name, "Waveform Seekbar") == 0);
    }
    qvn::stringRef get_name() override { return qvn::string::make("Waveform Seekbar"); }
    GUID get_guid() override {
        return {0x5B1E8C3A, 0x7D42, 0x4F19, {0x9A, 0x6E, 0x21, 0xC4, 0x8B, 0x03, 0xD7, 0x5F}};
    }
};

class preferences_page_wave : public preferences_page {
public:
    service_ptr_t<service_base> instantiate() override { return qvn::wrapNSObject(new QovWaveSeekbarPrefs); }
    const char* get_name() override { return "Waveform Seekbar"; }
    GUID get_guid() override {
        return {0x0B8E47D2, 0xC561, 0x4A3F, {0x92, 0x7D, 0xE4, 0x05, 0x6A, 0xB8, 0x13, 0xC9}};
    }
    GUID get_parent_guid() override { return guid_display; }
};

service_factory_singleton_t<ui_element_wave_seekbar> g_element_factory;
service_factory_singleton_t<preferences_page_wave> g_page_factory;
service_factory_singleton_t<dravik_update_initquit> g_update_factory;

}  // namespace
