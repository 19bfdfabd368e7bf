#include "platform/core/Format.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

struct Case {
    const char* format;
    std::vector<FormatArg> args;
    const char* expected;
};

TEST(Format, Specifiers) {
    const std::vector<Case> cases = {
        {"%s-%d", {"a", 5}, "a-5"},
        {"%.2d", {5}, "05"},
        {"%.4d%s%.2d%s%.2d", {2024, "/", 1, "/", 9}, "2024/01/09"},
        {"%.2d", {113}, "113"},
        {"%.3d", {-5}, "-005"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%5s|%-5s|", {"ab", "cd"}, "   ab|cd   |"},
        {"%.2s", {"abcdef"}, "ab"},
        {"%f", {1.5}, "1.50"},
        {"%.3f", {2.0}, "2.000"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%g", {0.5}, "0.5"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"%*d", {4, 7}, "   7"},
        {"100%%", {}, "100%"},
        {"Type= %s, ID= %s ", {"E", "000001"}, "Type= E, ID= 000001 "},
        {"%s", {'c'}, "c"},
        {"no specifiers", {"extra", 1}, "no specifiers"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.expected) << c.format;
}

TEST(Format, MismatchRaises) {
    const std::vector<Case> cases = {
        {"%d", {"12"}, "Format '%d' invalid or incompatible with argument"},
        {"%s", {5}, "Format '%s' invalid or incompatible with argument"},
        {"%f", {5}, "Format '%f' invalid or incompatible with argument"},
        {"%d %d", {1}, "No argument for format '%d %d'"},
        {"%q", {1}, "Format '%q' invalid or incompatible with argument"},
        {"abc%", {}, "Format 'abc%' invalid or incompatible with argument"},
    };
    for (const auto& c : cases) {
        try {
            Format(c.format, c.args);
            ADD_FAILURE() << c.format << " did not raise";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.expected);
        }
    }
}

} // namespace
