#include "media/avi_error.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace media {

namespace {

constexpr std::array<std::pair<AVIResult, const char*>, 19> kTexts = {{
    {AVIERR_UNSUPPORTED, "Unsupported"},
    {AVIERR_BADFORMAT, "Bad format"},
    {AVIERR_MEMORY, "Out of memory"},
    {AVIERR_INTERNAL, "Internal error"},
    {AVIERR_BADFLAGS, "Bad flags"},
    {AVIERR_BADPARAM, "Bad parameter"},
    {AVIERR_BADSIZE, "Bad size"},
    {AVIERR_BADHANDLE, "Bad handle"},
    {AVIERR_FILEREAD, "Error reading file"},
    {AVIERR_FILEWRITE, "Error writing file"},
    {AVIERR_FILEOPEN, "Error opening file"},
    {AVIERR_COMPRESSOR, "Compressor error"},
    {AVIERR_NOCOMPRESSOR, "No compressor"},
    {AVIERR_READONLY, "Readonly"},
    {AVIERR_NODATA, "No data"},
    {AVIERR_BUFFERTOOSMALL, "Buffer too small"},
    {AVIERR_CANTCOMPRESS, "Can't compress"},
    {AVIERR_USERABORT, "User abort"},
    {AVIERR_ERROR, "Error"},
}};

}  // namespace

std::string AVIErrorText(AVIResult code) {
  for (const auto& [c, text] : kTexts)
    if (c == code) return text;
  return "Unknown error";
}

void Check(AVIResult code, std::initializer_list<AVIResult> allowed) {
  if (code == AVIERR_OK || std::find(allowed.begin(), allowed.end(), code) != allowed.end()) return;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%8X", static_cast<unsigned>(code));
  throw EMMAVIError(code, "AVI error (" + std::string(hex) + "): " + AVIErrorText(code));
}

}  // namespace media
