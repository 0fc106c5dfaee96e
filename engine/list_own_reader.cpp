// Reader of the program's own list format: "START" ... "ENDWC" blocks of key-value lines.

#include "engine/list_format.h"
#include "engine/list_readers.h"
#include "engine/list_text.h"

#include <charconv>
#include <optional>
#include <set>
#include <utility>

namespace engine {
namespace {

// A decimal number in 32 bits, with optional leading blanks and sign; nothing may follow.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// Extra request lines go into the HTTP request as they are, so one with a control character
// (which could start a new header or request line) is not taken.
bool IsCleanHeaderLine(std::string_view line) {
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

class OwnListReader {
public:
    explicit OwnListReader(twebcamstaticlist& list) : list_(list) {
        rec_ = ZeroRecord<TWebcamDefRec>();
        rec2_ = ZeroRecord<TWebcamDef1Rec>();
    }

    void Line(std::string_view line) {
        const std::string decoded = decoding_ ? DecodeListLine(line) : std::string(line);
        if (decoded == kListEncode) decoding_ = true;
        const std::string_view text = decoded;
        const std::string_view key = text.substr(0, kListKeySize);
        const std::string_view value = text.size() > kListKeySize ? text.substr(kListKeySize) : std::string_view();
        if (key == kListStart) {
            StartListEntry(rec_, rec2_);
        } else if (key == kListEnd) {
            End();
        } else if (String255* field = StringField(key)) {
            field->assign(value);
            if (key == kKeyUserName) rec_.SendLogin = 1;
        } else if (key == kKeyPictureURL) {
            PictureURL(value);
        } else if (key == kKeyHeaderLine) {
            if (IsCleanHeaderLine(value)) headerLines_.emplace_back(value);
        } else if (key == kKeyRefresh) {
            Refresh(value);
        } else if (key == kKeyType) {
            const auto type = ParseInteger(value);
            if (!type) ++errors_;
            rec_.WebcamType = static_cast<std::uint8_t>(type.value_or(0));
        } else if (key == kKeyCategories) {
            Categories(value);
        }
    }

    int errors() const { return errors_; }

private:
    String255* StringField(std::string_view key) {
        if (key == kKeyLinkURL) return &rec_.LinkURL;
        if (key == kKeyName) return &rec_.Name;
        if (key == kKeyDescription) return &rec_.Description;
        if (key == kKeyUserName) return &rec_.UserName;
        if (key == kKeyPassword) return &rec_.Password;
        if (key == kKeyWeatherURL) return &rec2_.WeatherURL;
        if (key == kKeyMapURL) return &rec2_.MapURL;
        if (key == kKeyPlaceName) return &rec2_.PlaceName;
        if (key == kKeyCountry) return &rec2_.Country;
        return nullptr;
    }

    // A block without a URL adds nothing; its extra request lines carry over to the next one.
    void End() {
        if (rec_.PictureURL.empty()) return;
        std::optional<std::vector<std::string>> lines;
        if (!headerLines_.empty()) lines = std::exchange(headerLines_, {});
        AppendListEntry(list_, rec_, rec2_, std::move(lines));
    }

    // The second block with a URL already seen in this file (in any case) is dropped.
    void PictureURL(std::string_view value) {
        rec_.PictureURL.assign(value);
        if (!urls_.insert(AsciiUpper(rec_.PictureURL.view())).second) {
            ++errors_;
            rec_.PictureURL.assign("");
        }
    }

    // -1 means "the automatic refresh"; any other negative period makes no sense and is read
    // as -1 too.
    void Refresh(std::string_view value) {
        const auto refresh = ParseInteger(value);
        if (!refresh) {
            ++errors_;
            return;
        }
        rec_.Refresh = *refresh < -1 ? -1 : *refresh;
    }

    // One character per category 1..57; a wrong or missing one counts and leaves the flag.
    void Categories(std::string_view value) {
        for (int k = 1; k <= kCategoryNamesUsed; ++k) {
            const std::size_t at = static_cast<std::size_t>(k - 1);
            const char c = at < value.size() ? value[at] : '\0';
            if (c == '0' || c == '1')
                rec_.Categories[k] = static_cast<std::uint8_t>(c - '0');
            else
                ++errors_;
        }
    }

    twebcamstaticlist& list_;
    TWebcamDefRec rec_;
    TWebcamDef1Rec rec2_;
    bool decoding_ = false;
    int errors_ = 0;
    std::vector<std::string> headerLines_;
    std::set<std::string> urls_;
};

}  // namespace

int ParseOwnList(std::string_view text, twebcamstaticlist& list) {
    OwnListReader reader(list);
    for (std::string_view line : SplitListLines(text)) reader.Line(line);
    return reader.errors();
}

}  // namespace engine
