#include "ui/tools/wct_convert.h"

#include <stdexcept>
#include <string_view>
#include <vector>

#include "engine/list_format.h"
#include "engine/list_text.h"
#include "engine/picture_folder.h"

namespace ui {

namespace {

constexpr std::size_t kFieldCount = 10;
constexpr std::size_t kCategoryCount = 57;

// The fields before each tab; the text after the last tab is no field.
std::vector<std::string_view> TabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    return fields;
}

// The categories a table's first field names, as the list's "CATS=" flags.
std::string Categories(std::string_view name) {
    // Names as the table holds them, in Windows-1252.
    static const struct {
        std::string_view name;
        std::size_t position;
    } kNames[] = {{"Monde", 1},  {"M\xE9t\xE9o", 13}, {"Animaux", 19}, {"Transports", 26},
                  {"Gens", 50}, {"Finance", 57},     {"Espace", 57}};
    std::string flags(kCategoryCount, '0');
    for (const auto& entry : kNames)
        if (name == entry.name) flags[entry.position - 1] = '1';
    return flags;
}

}  // namespace

void ConvertWctFile(const std::string& folder) {
    const std::string input = engine::ReadListFile(folder + "wct.dat");
    std::string output = std::string(engine::kListEncode) + "\r\n";
    for (std::string_view line : engine::SplitListLines(input)) {
        const std::vector<std::string_view> f = TabFields(line);
        if (f.size() < kFieldCount)  // the first field read that is missing
            throw std::out_of_range(std::string("List index out of bounds (") + (f.size() <= 3 ? "3" : "9") + ")");
        const std::string lines[] = {std::string(engine::kListStart),
                                     "PREF=" + std::string(f[3]),
                                     "HREF=" + std::string(f[9]),
                                     "DESC=" + std::string(f[1]),
                                     "TYPE=0",
                                     "CATS=" + Categories(f[0]),
                                     "WREF=",
                                     "CNTY=",
                                     "MREF=",
                                     "PNAM=",
                                     std::string(engine::kListEnd)};
        for (const std::string& out : lines) output += out + "\r\n";
    }
    const std::string target = folder + "wct.txt";
    if (!engine::WritePictureFile(target, output)) throw std::runtime_error("Cannot write file \"" + target + "\"");
}

}  // namespace ui
