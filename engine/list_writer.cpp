#include "engine/list_writer.h"

#include "engine/list_format.h"
#include "engine/list_text.h"
#include "platform/fd_io.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace engine {
namespace {

class BlockText {
public:
    void Line(std::string_view line) {
        text_ += EncodeListLine(line);
        text_ += "\r\n";
    }
    // A line break inside a value would end it early and could start a key of its own, so
    // values are written without CR and LF.
    void Value(std::string_view key, std::string_view value) {
        std::string line(key);
        for (char c : value)
            if (c != '\r' && c != '\n') line += c;
        Line(line);
    }
    std::string text() && { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace

std::string FormatListBlock(const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2,
                            const std::vector<std::string>& headerLines) {
    BlockText out;
    out.Line(kListStart);
    out.Value(kKeyPictureURL, rec.PictureURL.view());
    out.Value(kKeyLinkURL, rec.LinkURL.view());
    out.Value(kKeyDescription, rec.Description.view());
    if (AsciiLower(rec.Name.view().substr(0, 3)) != "cam") out.Value(kKeyName, rec.Name.view());
    out.Value(kKeyType, std::to_string(rec.WebcamType));
    out.Value(kKeyRefresh, std::to_string(rec.Refresh));
    if (!rec.UserName.empty()) {
        out.Value(kKeyUserName, rec.UserName.view());
        out.Value(kKeyPassword, rec.Password.view());
    }
    std::string categories;
    for (int k = 1; k <= kCategoryNamesUsed; ++k) categories += rec.Categories[k] ? '1' : '0';
    out.Value(kKeyCategories, categories);
    out.Value(kKeyWeatherURL, rec2.WeatherURL.view());
    out.Value(kKeyCountry, rec2.Country.view());
    out.Value(kKeyMapURL, rec2.MapURL.view());
    out.Value(kKeyPlaceName, rec2.PlaceName.view());
    for (const std::string& line : headerLines) out.Value(kKeyHeaderLine, line);
    out.Line(kListEnd);
    return std::move(out).text();
}

void WriteListFile(const std::string& fileName, bool append, std::string_view blocks) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    const int fd = ::open(fileName.c_str(), flags, 0644);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "Cannot create file \"" + fileName + "\"");
    const std::string text = std::string(kListEncode) + "\r\n" + std::string(blocks);
    const bool written = platform::WriteAll(fd, text.data(), text.size());
    const int error = errno;
    if (::close(fd) != 0 || !written)
        throw std::system_error(written ? errno : error, std::generic_category(), "Cannot write file \"" + fileName + "\"");
}

}  // namespace engine
