#include "inet/smtp_address.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Addresses = std::vector<std::string>;

TEST(SmtpAddressTest, TheListWalkFindsEachAddress) {
    const std::string longName(300, 'n');
    const struct {
        std::string list;
        Addresses expected;
    } cases[] = {
        {"", {}},
        {"a@x", {"a@x"}},
        {"a@x, b@y", {"a@x", "b@y"}},
        {"a@x (Jean Dupont), b@y", {"a@x", "b@y"}},
        {"(note (nested, with comma)) a@x", {"a@x"}},
        {"\"Dupont, Jean\" <jean@x>", {"jean@x"}},
        {"\"a,b\"@x, c@y", {"\"a,b\"@x", "c@y"}},
        {"\"Smith (Jr) <no>\" <s@x>", {"s@x"}},
        {"Jean <jean@x> trailing words, b@y", {"jean@x", "b@y"}},
        {"<a@x", {"a@x"}},
        {" , ,\ta@x,,", {"a@x"}},
        {"a@x\r\n", {"a@x"}},
        {"\xE9l\xE8ve@exemple.fr", {"\xE9l\xE8ve@exemple.fr"}},
        {longName + "@x", {longName.substr(0, 255)}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, inet::SmtpAddressList(c.list)) << c.list;
}

TEST(SmtpAddressTest, TheSenderIsTheAddressInsideTheBrackets) {
    const struct {
        std::string from, argument;
    } cases[] = {
        {"jean@x", "<jean@x>"},
        {"<jean@x>", "<jean@x>"},
        {"Jean Dupont <jean@x>", "<jean@x>"},
        {"Jean <jean@x", "<jean@x>"},
        {"\x07<odd> as given", "<odd> as given"},
        {std::string(300, 's'), "<" + std::string(255, 's') + ">"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.argument, inet::SmtpSenderArgument(c.from)) << c.from;
}

}  // namespace
