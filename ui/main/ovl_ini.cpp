#include "ui/main/ovl_ini.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

namespace ui {
namespace {

constexpr std::size_t kMaxValue = 255;

bool HasControlCharacter(std::string_view value) {
    return std::any_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

void ApplyLine(std::string_view line, OvlIni& ini) {
    struct Key {
        std::string_view name;
        std::string OvlIni::*field;
        bool refuseControls;
    };
    static const Key kKeys[] = {
        {"affid=", &OvlIni::AffId, false},
        {"affhomepage=", &OvlIni::AffHomePage, false},
        {"affwcl=", &OvlIni::AffWebcamList, false},
        {"afftitle=", &OvlIni::AffTitle, false},
        {"affbrowser=", &OvlIni::AffBrowser, true},
    };
    for (const Key& key : kKeys) {
        if (!line.starts_with(key.name)) continue;
        std::string_view value = line.substr(key.name.size(), kMaxValue);
        if (key.refuseControls && HasControlCharacter(value)) return;
        ini.*key.field = std::string(value);
        return;
    }
}

}  // namespace

void ApplyOvlIniText(const std::string& text, OvlIni& ini) {
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        ApplyLine(line, ini);
    }
}

void ReadOvlIni(const std::string& path, OvlIni& ini) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ApplyOvlIniText(text, ini);
}

}  // namespace ui
