#pragma once

#include <cstdint>

// 128-bit identifier in the platform layout: one 32-bit, two 16-bit, eight bytes.
struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

// Field by field, the trailing bytes one by one, as interface queries compare.
constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}

constexpr GUID pfc_guid_null{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
