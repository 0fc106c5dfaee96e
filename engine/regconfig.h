#pragma once
// The settings store of the main program: five records under Software\Quenmark\Orvello2, each
// read and written whole. A read never fails for a missing, oversized or mistyped value: the
// record then keeps its defaults, and a shorter stored value replaces only its leading bytes.

#include "engine/settings_records.h"

#include <memory>
#include <string>

namespace platform {
class SettingsKey;
}

namespace engine {

inline constexpr const char* kSettingsKey = "Software\\Quenmark\\Orvello2";

// The records used when nothing is stored.
TConfigRec DefaultConfig();
TExtra1Rec DefaultExtra1();
TDiskManRec DefaultDiskMan();
// The screen saver's EXTRA1 when nothing is stored (its dialog may store it whole).
TExtra1Rec SaverDefaultExtra1();

class tregconfig {
public:
    tregconfig();
    ~tregconfig();

    void ReadConfig(TConfigRec& rec);
    void WriteConfig(const TConfigRec& rec);
    void ReadExtra(TExtraRec& rec);    // an empty DataDir becomes the program's folder
    void WriteExtra(const TExtraRec& rec);
    void ReadExtra12(TExtra1Rec& extra1, TExtra2Rec& extra2);
    // Writes EXTRA1 keeping the screen saver's own bytes as they are stored now, then EXTRA2.
    void WriteExtra12(const TExtra1Rec& extra1, const TExtra2Rec& extra2);
    void ReadDiskMan(TDiskManRec& rec);
    void WriteDiskMan(const TDiskManRec& rec);

    // The screen saver's readers. EXTRA1 over the saver's own defaults; EXTRA with an empty
    // data folder taken from the string value "OVLPROGDIR" (with a trailing '/').
    void ReadSaverExtra1(TExtra1Rec& rec);
    void ReadSaverExtra(TExtraRec& rec);
    // Writes the screen saver's own bytes of rec into EXTRA1 and keeps every other byte as it
    // is stored now (the saver's defaults when nothing is stored).
    void WriteSaverExtra1(const TExtra1Rec& rec);

    // Opens (creating) the key; raises "Registry open key failed" when it cannot.
    void Open();
    void Close();

private:
    // Runs one operation between Open and Close; Close also runs when the operation throws.
    template <typename Fn>
    void WithKey(Fn&& fn);

    std::unique_ptr<platform::SettingsKey> FRegistry;
    bool FOpen = false;
};

}  // namespace engine
