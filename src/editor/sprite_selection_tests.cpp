#include "editor/sprite_selection.h"

#include <gtest/gtest.h>

namespace tessel {
namespace {

TEST(ParseDialogInt, ReadsNumbersAndGivesZeroForAnythingElse)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"17", 17},          {" -3 ", -3},        {"+5", 5},           {"", 0},
        {"12a", 0},          {"2147483647", 2147483647},               {"-2147483648", -2147483647 - 1},
        // Too large for a 32-bit integer: unreadable, as in a dialog field.
        {"2147483648", 0},   {"99999999999", 0},  {"-2147483649", 0},  {"184467440737095516160", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDialogInt(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
} // namespace tessel
