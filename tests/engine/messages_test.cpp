#include "engine/categories.h"
#include "engine/messages.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;

TEST(MessageTable, HoldsEveryTextExactly) {
    EXPECT_EQ(MessageCount(), 198);
    struct Case {
        int number;
        const char* text;
    } cases[] = {
        {65088, "Finance"},
        {65178, "webcam hors balayage"},
        {65209, "Orvello : "},
        {65218, "Probl\u00e8me "},
        {65219, " -- Retirer manuellement svp"},
        {65251, " jour(s)"},
        {65245, "Impossible de changer le nom de cette webcam en \""},
        {65281, "\" - Cet \u00e9l\u00e9ment est d\u00e9j\u00e0 existant."},
        {65311, "n'est pas un nombre"},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadMessage(c.number), c.text) << c.number;
    EXPECT_EQ(LoadMessage(65094), "http://www.orvello.example/");
}

TEST(MessageTable, NumbersOutsideTheTableAreEmpty) {
    for (int number : {0, 65087, 65099, 65248, 65312}) EXPECT_EQ(LoadMessage(number), "") << number;
}

TEST(Categories, NamesAndLookup) {
    tcategorymanager categories;
    EXPECT_EQ(categories.FNames[1], "Ext\u00e9rieur");
    EXPECT_EQ(categories.FNames[6], "Construstion");
    EXPECT_EQ(categories.FNames[46], "Voisinnage");
    EXPECT_EQ(categories.FNames[52], "Mus\u00e9\u00e9");
    EXPECT_FALSE(categories.FNames[29].empty());
    EXPECT_TRUE(categories.FNames[58].empty());
    struct Case {
        std::string name;
        int slot;
    } cases[] = {
        {"plage", 3}, {"VILLE", 5}, {"EXT\u00c9RIEUR", 1}, {"divers", 57}, {"Nowhere", 0}, {"", 58},
    };
    for (const Case& c : cases) EXPECT_EQ(categories.IndexOfCategory(c.name), c.slot) << c.name;
}

TEST(WebcamStatus, Texts) {
    EXPECT_EQ(WebcamStatusText(0), "D\u00e9marr\u00e9");
    EXPECT_EQ(WebcamStatusText(6), "Arr\u00eat\u00e9");
    EXPECT_EQ(WebcamStatusText(7), "Erreur");
    EXPECT_EQ(WebcamStatusText(8), "");
    EXPECT_EQ(WebcamStatusText(-1), "");
}

}  // namespace
