#include "engine/categories.h"

#include "engine/messages.h"
#include "platform/cp1252.h"

#include <array>

namespace engine {

std::unique_ptr<tcategorymanager> CategoryManager;

namespace {

// Message numbers of category slots 1..57; slot 29 has a fixed name instead.
constexpr std::array<int, kCategoryNamesUsed> kCategoryMessages = {
    65156, 65157, 65158, 65159, 65160, 65161, 65162, 65163, 65164, 65165,
    65166, 65167, 65136, 65137, 65138, 65139, 65140, 65141, 65142, 65143,
    65144, 65145, 65146, 65147, 65148, 65149, 65150, 65151, 0,     65120,
    65121, 65122, 65123, 65124, 65125, 65126, 65127, 65128, 65129, 65130,
    65131, 65132, 65133, 65134, 65135, 65104, 65105, 65106, 65107, 65108,
    65109, 65110, 65111, 65112, 65113, 65114, 65115,
};
constexpr int kFixedSlot = 29;
constexpr const char* kFixedSlotName = "Annuaire Webcams";

constexpr std::array<int, 8> kStatusMessages = {65179, 65180, 65181, 65182, 65183, 65152, 65240, 65153};

// Upper case as the Windows-1252 letters have it, so accented names compare too.
std::string UpperCp1252(const std::string& utf8) {
    std::string bytes = platform::Utf8ToCp1252(utf8);
    for (char& c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) b -= 0x20;
        else if (b == 0x9A || b == 0x9C || b == 0x9E) b -= 0x10;  // š œ ž
        else if (b == 0xFF) b = 0x9F;                              // ÿ
        c = static_cast<char>(b);
    }
    return bytes;
}

}  // namespace

tcategorymanager::tcategorymanager() {
    for (int slot = 1; slot <= kCategoryNamesUsed; ++slot)
        FNames[slot] = slot == kFixedSlot ? kFixedSlotName : LoadMessage(kCategoryMessages[slot - 1]);
}

int tcategorymanager::IndexOfCategory(const std::string& name) const {
    const std::string wanted = UpperCp1252(name);
    for (int slot = 1; slot < static_cast<int>(FNames.size()); ++slot)
        if (UpperCp1252(FNames[slot]) == wanted) return slot;
    return 0;
}

std::string WebcamStatusText(int status) {
    if (status < 0 || status >= static_cast<int>(kStatusMessages.size())) return {};
    return LoadMessage(kStatusMessages[status]);
}

}  // namespace engine
