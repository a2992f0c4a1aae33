#include "TrackInfo.h"

#include <cctype>

namespace media {

namespace {

const std::vector<std::string> kNoValues;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Leading digits after optional blanks; 0 when there are none.
unsigned leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    unsigned value = 0;
    bool any = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > 100000000u) return 0;  // not a count anyone means
        value = value * 10 + unsigned(text[i] - '0');
        any = true;
    }
    return any ? value : 0;
}

void splitTotal(TrackInfo::Tags& tags, const char* numberKey, const char* totalKey) {
    auto it = tags.find(numberKey);
    if (it == tags.end() || it->second.empty()) return;
    std::string& first = it->second.front();
    const size_t slash = first.find('/');
    if (slash == std::string::npos) return;
    std::string total = first.substr(slash + 1);
    first.resize(slash);
    if (!tags.count(totalKey) && leadingNumber(total) > 0) tags[totalKey] = {total};
}

}  // namespace

std::string TrackInfo::tag(std::string_view name) const {
    const auto& all = values(name);
    return all.empty() ? std::string() : all.front();
}

const std::vector<std::string>& TrackInfo::values(std::string_view name) const {
    auto it = tags.find(name);
    return it == tags.end() ? kNoValues : it->second;
}

bool TrackInfo::has(std::string_view name) const { return tags.find(name) != tags.end(); }

unsigned TrackInfo::number(std::string_view name) const { return leadingNumber(tag(name)); }

unsigned TrackInfo::year() const {
    // The first run of exactly four digits: "2019", "2019-05-03", "03.05.2019".
    const std::string d = date();
    size_t i = 0;
    while (i < d.size()) {
        size_t end = i;
        while (end < d.size() && std::isdigit(static_cast<unsigned char>(d[end]))) ++end;
        if (end - i == 4) return leadingNumber(std::string_view(d).substr(i, 4));
        i = end == i ? i + 1 : end;
    }
    return 0;
}

TrackInfo::Tags TrackInfo::normalized(Tags raw) {
    // Other spellings of the same field; they count only where the usual name is absent.
    static const std::pair<const char*, const char*> kAliases[] = {
        {"ALBUM ARTIST", "ALBUMARTIST"},
        {"TRACKTOTAL", "TOTALTRACKS"},
        {"DISCTOTAL", "TOTALDISCS"},
        {"YEAR", "DATE"},
    };
    auto canonical = [](const std::string& key) -> const char* {
        for (const auto& [alias, name] : kAliases) {
            if (key == alias) return name;
        }
        return nullptr;
    };

    Tags tags;
    std::vector<std::pair<std::string, std::vector<std::string>>> aliased;
    for (auto& [name, values] : raw) {
        std::vector<std::string> kept;
        for (auto& v : values) {
            if (!v.empty()) kept.push_back(std::move(v));
        }
        if (kept.empty()) continue;
        std::string key = upper(name);
        if (const char* target = canonical(key)) {
            aliased.emplace_back(target, std::move(kept));
            continue;
        }
        auto& slot = tags[key];
        slot.insert(slot.end(), kept.begin(), kept.end());
    }
    for (auto& [key, values] : aliased) {
        auto& slot = tags[key];
        if (slot.empty()) slot = std::move(values);
    }
    splitTotal(tags, "TRACKNUMBER", "TOTALTRACKS");
    splitTotal(tags, "DISCNUMBER", "TOTALDISCS");
    return tags;
}

}  // namespace media
