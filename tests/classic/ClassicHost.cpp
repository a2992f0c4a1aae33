#include "ClassicHost.h"

#include "ClassicSettings.h"
#include "ColumnSpec.h"
#include "SystemColors.h"

service_ptr_t<metadb_handle> tagged(const std::string& path,
                                    std::initializer_list<std::pair<const char*, const char*>> tags,
                                    double length) {
    titleformat::TrackInfo info;
    info.path = path;
    info.length = length;
    for (const auto& [name, value] : tags) info.addTag(name, value);
    return service_new<MemoryTrack>(std::move(info));
}

class ScriptedMenu::Node final : public contextmenu_node {
public:
    Node(t_type type, std::string name = {}, uint32_t flags = 0, ScriptedMenu* owner = nullptr)
        : m_type(type), m_name(std::move(name)), m_flags(flags), m_owner(owner) {}
    t_type get_type() const override { return m_type; }
    bool get_display_data(cvk::string_base& out, uint32_t& flags) const override {
        out.set_string(m_name.c_str());
        flags = m_flags;
        return m_type != type_separator;
    }
    size_t get_num_children() const override { return m_children.size(); }
    contextmenu_node* get_child(size_t i) const override {
        return i < m_children.size() ? m_children[i].get() : nullptr;
    }
    GUID get_guid() const override { return pfc_guid_null; }
    void execute() override {
        if (m_owner) m_owner->executed.append(QString::fromStdString(m_name));
    }
    Node& add(t_type type, std::string name = {}, uint32_t flags = 0, ScriptedMenu* owner = nullptr) {
        m_children.push_back(std::make_unique<Node>(type, std::move(name), flags, owner));
        return *m_children.back();
    }

private:
    t_type m_type;
    std::string m_name;
    uint32_t m_flags;
    ScriptedMenu* m_owner;
    std::vector<std::unique_ptr<Node>> m_children;
};

ScriptedMenu::ScriptedMenu() : m_root(std::make_unique<Node>(contextmenu_node::type_group)) {
    using N = contextmenu_node;
    m_root->add(N::type_command, "Play", 0, this);
    m_root->add(N::type_command, "Add to Playback Queue", 0, this);
    m_root->add(N::type_separator);
    m_root->add(N::type_command, "&Copy Path", 0, this);
    m_root->add(N::type_separator);
    m_root->add(N::type_separator);
    Node& rating = m_root->add(N::type_popup, "Rating");
    rating.add(N::type_command, "1 Star", N::flag_checked, this);
    rating.add(N::type_separator);
    rating.add(N::type_command, "Clear", N::flag_disabled | N::flag_grayed, this);
    m_root->add(N::type_separator);
}

ScriptedMenu::~ScriptedMenu() = default;

contextmenu_node* ScriptedMenu::get_root() { return m_root.get(); }

ClassicHost::ClassicHost() {
    bound.host.add(contextmenu_manager::class_guid, menu);
    incoming->resolve = [](const std::string& location) {
        return location.ends_with(".flac") ? tagged(location) : service_ptr_t<metadb_handle>();
    };
    resetClassicSettings();
}

void resetClassicSettings() {
    cfg_fontName.set("");
    cfg_fontSize.set(kDefaultFontSize);
    cfg_rowHeight.set(kDefaultRowHeight);
    cfg_theme.set(kThemeSystem);
    cfg_accent.set("");
    cfg_tabClose.set(0);
    cfg_windowTitle.set(kDefaultWindowTitle);
    cfg_statusLeft.set(kDefaultStatusLeft);
    cfg_statusRight.set(kDefaultStatusRight);
    cfg_columns.set(kDefaultColumnSpec);
    cfg_groupBy.set("none");
    platform::SystemColors::forceAppearance(std::nullopt);
}
