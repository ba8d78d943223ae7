#include "settings.h"

#include "grid.h"
#include "settings_value.h"

namespace trellane {

const SettingRow kSettingRows[8] = {
    {L"chkGraphicLine", &Settings::graphicLine, nullptr, 0, nullptr},
    {L"GridWidth", nullptr, &Settings::gridWidth, 32, &ClampGridWidth},
    {L"color", nullptr, &Settings::gridColor, 0xFFFFFF, nullptr},
    {L"toumei", nullptr, &Settings::toumei, 70, &ClampToumei},
    {L"chkAutoHide", &Settings::autoHide, nullptr, 0, nullptr},
    {L"chkUseGrid", &Settings::useGrid, nullptr, 1, nullptr},
    {L"chkMoveToumei", &Settings::moveToumei, nullptr, 1, nullptr},
    {L"chkOritatami", &Settings::oritatami, nullptr, 1, nullptr},
};

Settings DefaultSettings() {
    Settings settings{};
    for (const SettingRow& row : kSettingRows) {
        if (row.flag) settings.*row.flag = row.defaultValue != 0;
        if (row.number) settings.*row.number = row.defaultValue;
    }
    return settings;
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
