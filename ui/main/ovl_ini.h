#pragma once
// ovl.ini, the optional branding file in the program folder: lines beginning with one of the
// keys (at their first character, case-sensitively) replace a value; other lines are ignored
// and a key given twice keeps the later value. Values are Windows-1252 bytes of at most 255
// characters. A CR before the line end (a file written on Windows) is not part of the value.

#include <string>

namespace ui {

struct OvlIni {
    std::string AffId;          // "affid=": kept, not used further
    std::string AffHomePage;    // "affhomepage=": the product home page of the web commands
    std::string AffWebcamList;  // "affwcl=": URL of the webcam-list index
    std::string AffTitle;       // "afftitle=": added to the main window's caption
    std::string AffBrowser;     // "affbrowser=": User-Agent of webcam requests
};

// Reads the file into ini; a missing file changes nothing. An "affbrowser=" value holding a
// control character is refused (it would end the request header line), so the line is ignored.
void ReadOvlIni(const std::string& path, OvlIni& ini);

// Applies the lines of the file's text to ini.
void ApplyOvlIniText(const std::string& text, OvlIni& ini);

}  // namespace ui
