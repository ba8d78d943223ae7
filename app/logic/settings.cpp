#include "settings.h"

#include "grid.h"
#include "settings_value.h"

namespace trellane {

namespace {

constexpr SettingRow RowFor(const wchar_t* key, bool Settings::*flag, std::int32_t defaultValue,
                            std::int32_t (*clamp)(std::int32_t)) {
    return {key, flag, nullptr, defaultValue, clamp};
}

constexpr SettingRow RowFor(const wchar_t* key, std::int32_t Settings::*number, std::int32_t defaultValue,
                            std::int32_t (*clamp)(std::int32_t)) {
    return {key, nullptr, number, defaultValue, clamp};
}

} // namespace

const SettingRow kSettingRows[kSettingCount] = {
#define TRELLANE_SETTING_ROW(type, member, key, defaultValue, clamp)                                         \
    RowFor(key, &Settings::member, defaultValue, clamp),
    TRELLANE_SETTINGS(TRELLANE_SETTING_ROW)
#undef TRELLANE_SETTING_ROW
};

Settings DefaultSettings() {
    Settings settings{};
    for (const SettingRow& row : kSettingRows) {
        if (row.flag) settings.*row.flag = row.defaultValue != 0;
        if (row.number) settings.*row.number = row.defaultValue;
    }
    return settings;
}

bool operator==(const Settings& a, const Settings& b) {
    for (const SettingRow& row : kSettingRows) {
        if (row.flag && a.*row.flag != b.*row.flag) return false;
        if (row.number && a.*row.number != b.*row.number) return false;
    }
    return true;
}

bool operator!=(const Settings& a, const Settings& b) {
    return !(a == b);
}

Settings ReadSettings(const SettingReader& read) {
    Settings settings = DefaultSettings();
    for (const SettingRow& row : kSettingRows) {
        const std::optional<std::wstring> text = read(row.key);
        if (!text) continue;
        if (row.flag) settings.*row.flag = ReadProfileBool(*text, row.defaultValue != 0);
        if (!row.number) continue;
        const std::int32_t value = ReadProfileInteger(*text, row.defaultValue);
        settings.*row.number = row.clamp ? row.clamp(value) : value;
    }
    return settings;
}

bool WriteSettings(const Settings& settings, const SettingWriter& write) {
    for (const SettingRow& row : kSettingRows) {
        const std::wstring text = row.flag ? std::wstring(settings.*row.flag ? L"1" : L"0")
                                           : FormatProfileInteger(settings.*row.number);
        if (!write(row.key, text)) return false;
    }
    return true;
}

} // namespace trellane
