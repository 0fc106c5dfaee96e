#include "engine/definition_files.h"

#include "platform/record_file.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace engine {
namespace {

using platform::RecordFile;

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

void Remove(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

// Opens a definition file for writing. Only a missing file is created: a file that exists but
// cannot be opened is left alone, never truncated.
bool OpenOrCreate(RecordFile& file, const std::string& path) {
    return file.Open(path, RecordFile::Mode::ReadWrite) ||
           (!Exists(path) && file.Open(path, RecordFile::Mode::CreateEmpty));
}

// Appends zero records until the file holds count records.
template <typename Rec>
bool PadWithZeroRecords(RecordFile& file, long count) {
    const Rec zero = ZeroRecord<Rec>();
    bool ok = true;
    for (long n = file.Count(); ok && n < count; ++n) ok = file.Write(n, &zero);
    return ok;
}

template <typename Rec>
bool WriteRecordAt(const std::string& path, int recordNumber, const Rec& rec) {
    if (recordNumber < 0) return false;
    RecordFile file(sizeof(Rec));
    bool ok = OpenOrCreate(file, path) && PadWithZeroRecords<Rec>(file, recordNumber) && file.Write(recordNumber, &rec);
    return file.Close() && ok;
}

// The parts of one rewrite: the file, its temporary new generation and its backup.
struct Generation {
    std::string current, next, backup;
};

Generation GenerationOf(const std::string& dataDir, const char* name, const char* backup) {
    return {dataDir + name, dataDir + name + "_", dataDir + backup};
}

// Copies the records that are kept into the next generation, flushed to disk.
template <typename Rec>
bool WriteNextGeneration(const Generation& gen, const std::vector<bool>& keep) {
    RecordFile in(sizeof(Rec)), out(sizeof(Rec));
    if (!in.Open(gen.current, RecordFile::Mode::ReadOnly)) return false;
    if (!out.Open(gen.next, RecordFile::Mode::CreateEmpty)) return false;
    Rec rec;
    long written = 0;
    bool ok = true;
    for (long n = 0; ok && n < in.Count(); ++n) {
        const bool kept = n >= static_cast<long>(keep.size()) || keep[static_cast<std::size_t>(n)];
        if (!kept) continue;
        ok = in.Read(n, &rec) && out.Write(written++, &rec);
    }
    ok = ok && out.Flush();
    return out.Close() && ok;
}

// Keeps the current file as the backup, then puts the next generation over it in one step,
// so the folder always has the file.
bool Replace(const Generation& gen) {
    Remove(gen.backup);
    if (::link(gen.current.c_str(), gen.backup.c_str()) != 0) {
        std::error_code ec;
        fs::copy_file(gen.current, gen.backup, ec);
    }
    return std::rename(gen.next.c_str(), gen.current.c_str()) == 0;
}

// Finishes or drops a rewrite that was cut off. webcams.def_ is always put in place before
// webcams1.def_, so a webcams1.def_ without webcams.def_ belongs to a finished first step.
void RecoverInterruptedRewrite(const std::string& dataDir) {
    const Generation def = GenerationOf(dataDir, kWebcamsDef, "webcams.bak");
    const Generation def1 = GenerationOf(dataDir, kWebcams1Def, "webcams1.bak");
    if (!Exists(def.current) && Exists(def.next)) {
        std::rename(def.next.c_str(), def.current.c_str());
        if (Exists(def1.next)) std::rename(def1.next.c_str(), def1.current.c_str());
        return;
    }
    if (Exists(def.next)) {
        Remove(def.next);
        Remove(def1.next);
    } else if (Exists(def1.next)) {
        std::rename(def1.next.c_str(), def1.current.c_str());
    }
}

// Gives webcams1.def as many records as webcams.def has, creating it when missing: the
// webcams past its end get zero records 2, never another webcam's.
bool PadDef1(const std::string& dataDir, long count) {
    RecordFile file(sizeof(TWebcamDef1Rec));
    bool ok = OpenOrCreate(file, dataDir + kWebcams1Def) && PadWithZeroRecords<TWebcamDef1Rec>(file, count);
    return file.Close() && ok;
}

}  // namespace

bool WriteDefRecord(const std::string& dataDir, int recordNumber, const TWebcamDefRec& rec) {
    return WriteRecordAt(dataDir + kWebcamsDef, recordNumber, rec);
}

bool WriteDef1Record(const std::string& dataDir, int recordNumber, const TWebcamDef1Rec& rec) {
    return WriteRecordAt(dataDir + kWebcams1Def, recordNumber, rec);
}

bool DeleteDefRecords(const std::string& dataDir, const SkipRecord& skip) {
    const Generation def = GenerationOf(dataDir, kWebcamsDef, "webcams.bak");
    const Generation def1 = GenerationOf(dataDir, kWebcams1Def, "webcams1.bak");

    RecordFile in(sizeof(TWebcamDefRec));
    if (!in.Open(def.current, RecordFile::Mode::ReadOnly)) return false;
    std::vector<bool> keep(static_cast<std::size_t>(in.Count()));
    TWebcamDefRec rec;
    for (long n = 0; n < in.Count(); ++n) {
        if (!in.Read(n, &rec)) return false;
        keep[static_cast<std::size_t>(n)] = !skip(static_cast<int>(n), rec);
    }
    in.Close();

    // Both new generations are complete on disk before either file is replaced.
    const bool hasDef1 = Exists(def1.current);
    if (!WriteNextGeneration<TWebcamDefRec>(def, keep) ||
        (hasDef1 && !WriteNextGeneration<TWebcamDef1Rec>(def1, keep))) {
        Remove(def.next);
        Remove(def1.next);
        return false;
    }
    if (!Replace(def)) {
        Remove(def.next);
        Remove(def1.next);
        return false;
    }
    return !hasDef1 || Replace(def1);
}

bool DeleteDefRecordNumber(const std::string& dataDir, int recordNumber) {
    return DeleteDefRecords(dataDir, [recordNumber](int n, const TWebcamDefRec&) { return n == recordNumber; });
}

bool DeleteDefRecordsByName(const std::string& dataDir, const std::string& name) {
    return DeleteDefRecords(dataDir, [&name](int, const TWebcamDefRec& rec) { return rec.Name.view() == name; });
}

bool DeleteDisabledDefRecords(const std::string& dataDir) {
    return DeleteDefRecords(dataDir, [](int, const TWebcamDefRec& rec) { return rec.Enabled == 0; });
}

std::vector<WebcamDefinition> ReadDefinitionFiles(const std::string& dataDir) {
    RecoverInterruptedRewrite(dataDir);
    std::vector<WebcamDefinition> result;
    RecordFile def(sizeof(TWebcamDefRec)), def1(sizeof(TWebcamDef1Rec));
    if (!def.Open(dataDir + kWebcamsDef, RecordFile::Mode::ReadOnly)) return result;
    const long count = def.Count();
    PadDef1(dataDir, count);
    def1.Open(dataDir + kWebcams1Def, RecordFile::Mode::ReadOnly);

    bool hasUnused = false;
    for (long n = 0; n < count; ++n) {
        WebcamDefinition item{ZeroRecord<TWebcamDefRec>(), ZeroRecord<TWebcamDef1Rec>()};
        if (!def.Read(n, &item.rec1)) break;
        if (!def1.Read(n, &item.rec2)) item.rec2 = ZeroRecord<TWebcamDef1Rec>();
        if (item.rec1.PictureURL.empty()) {
            hasUnused = true;
            continue;
        }
        result.push_back(item);
    }
    def.Close();
    def1.Close();
    // Compact away unused records so every webcam's list position is its record number.
    if (hasUnused)
        DeleteDefRecords(dataDir, [](int, const TWebcamDefRec& rec) { return rec.PictureURL.empty(); });
    return result;
}

std::string FormatNumber3(std::uint16_t n) {
    if (n >= 1000) return std::string(1, static_cast<char>(64 + n / 1000)) + FormatNumber3(n % 1000);
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03u", static_cast<unsigned>(n));
    return digits;
}

int NextFreeCamNumber(const std::string& dataDir, int webcamCount) {
    int n = webcamCount;
    do {
        ++n;
    } while (Exists(dataDir + DefaultWebcamName(n)));
    return n;
}

std::string DefaultWebcamName(int n) {
    constexpr int kLastLettered = 26999;  // "Z999"
    return "Cam" + (n >= 0 && n <= kLastLettered ? FormatNumber3(static_cast<std::uint16_t>(n)) : std::to_string(n));
}

void InitNewWebcamRecord(TWebcamDefRec& rec, const std::string& dataDir, int webcamCount) {
    rec = ZeroRecord<TWebcamDefRec>();
    rec.PictureURL.assign("http://");
    rec.LinkURL.assign("(Optional link URL here)");
    rec.Name.assign(DefaultWebcamName(NextFreeCamNumber(dataDir, webcamCount)));
    rec.Refresh = 60;
    rec.Enabled = 1;
}

}  // namespace engine
