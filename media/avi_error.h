#pragma once
// The errors of the AVI components. The file and stream handles answer with result codes, 0 for
// success; Check turns any other code into an EMMAVIError whose message carries the code and its
// text, as "AVI error (80044075): Can't compress".

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace media {

using AVIResult = std::uint32_t;

constexpr AVIResult AVIERR_OK = 0;
constexpr AVIResult AVIERR_UNSUPPORTED = 0x80044065;
constexpr AVIResult AVIERR_BADFORMAT = 0x80044066;
constexpr AVIResult AVIERR_MEMORY = 0x80044067;
constexpr AVIResult AVIERR_INTERNAL = 0x80044068;
constexpr AVIResult AVIERR_BADFLAGS = 0x80044069;
constexpr AVIResult AVIERR_BADPARAM = 0x8004406A;
constexpr AVIResult AVIERR_BADSIZE = 0x8004406B;
constexpr AVIResult AVIERR_BADHANDLE = 0x8004406C;
constexpr AVIResult AVIERR_FILEREAD = 0x8004406D;
constexpr AVIResult AVIERR_FILEWRITE = 0x8004406E;
constexpr AVIResult AVIERR_FILEOPEN = 0x8004406F;
constexpr AVIResult AVIERR_COMPRESSOR = 0x80044070;
constexpr AVIResult AVIERR_NOCOMPRESSOR = 0x80044071;
constexpr AVIResult AVIERR_READONLY = 0x80044072;
constexpr AVIResult AVIERR_NODATA = 0x80044073;
constexpr AVIResult AVIERR_BUFFERTOOSMALL = 0x80044074;
constexpr AVIResult AVIERR_CANTCOMPRESS = 0x80044075;
constexpr AVIResult AVIERR_USERABORT = 0x800440C6;
constexpr AVIResult AVIERR_ERROR = 0x800440C7;

class EMMAVIError : public std::runtime_error {
 public:
  // An error of a result code; Code() is 0 for the components' own messages.
  EMMAVIError(AVIResult code, const std::string& message) : std::runtime_error(message), code_(code) {}
  explicit EMMAVIError(const std::string& message) : EMMAVIError(0, message) {}

  AVIResult Code() const { return code_; }

 private:
  AVIResult code_;
};

// The text of a result code: its name in the table of AVI errors, else "Unknown error".
std::string AVIErrorText(AVIResult code);

// Passes 0 and the Allowed codes; raises EMMAVIError for any other code.
void Check(AVIResult code, std::initializer_list<AVIResult> allowed = {});

// The components' own messages.
inline constexpr char kStreamNotOpened[] = "Stream not opened";
inline constexpr char kFileNotOpened[] = "File not opened";

}  // namespace media
