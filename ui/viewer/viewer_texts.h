#pragma once
// The texts of the enlarged view: the age of a picture, the shortened file caption, the caption
// and size labels, the age text of the current-webcam panel, and which link URLs may be opened.

#include <QString>

#include "platform/clock_datetime.h"

namespace ui {

// "inconnu" over 600 days, whole days over 2 days, whole hours over 2 hours, else whole
// minutes; the unit texts begin with a blank, so two blanks stand between number and unit.
QString FormatAge(platform::TDateTime days);

// A caption longer than 35 characters: its first 3 characters, "...", the separator and the
// file name after the last separator.
QString ShortenCaption(const QString& text);

// Label9 for a shown file: the file's time and age from the stamp in its name, with the disk
// browser's entry number and entry count; the shortened text itself when the name holds no
// stamp; "Montrer la dernière image" for the last frame of a stream.
QString PictureCaptionText(const QString& fileName, const QString& shortened, platform::TDateTime now, int entry,
                           int entries);
// Label19: empty for 0, else " " + bytes + "octects".
QString PictureSizeText(long long bytes);
// Label43: "Taille" + " " + width + " x " + height.
QString SizeLabelText(int width, int height);

// The age text after the description in the current-webcam panel (empty when the webcam never
// had a new picture).
QString WebcamAgeText(platform::TDateTime now, platform::TDateTime lastNewPicture, platform::TDateTime serverDate,
                      platform::TDateTime lastModified);

// A link URL is opened only when it is http or https (case-blind scheme), never any other kind.
bool IsWebLink(const QString& url);

}  // namespace ui
