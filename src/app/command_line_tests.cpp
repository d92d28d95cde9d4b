#include <gtest/gtest.h>

#include "app/command_line.h"

namespace tessel {
namespace {

CommandLine parse(QStringList args)
{
    args.prepend("tessel");
    return parseCommandLine(args);
}

TEST(CommandLine, ARomPathOrNothing)
{
    EXPECT_TRUE(parse({}).valid);
    EXPECT_TRUE(parse({}).romPath.isEmpty());
    const CommandLine one = parse({"build/demo.smc"});
    EXPECT_TRUE(one.valid);
    EXPECT_EQ(one.romPath, "build/demo.smc");
    EXPECT_EQ(parse({"--", "-odd name.smc"}).romPath, "-odd name.smc");
}

TEST(CommandLine, UnknownOptionsAndSecondRomsAreRefused)
{
    EXPECT_FALSE(parse({"--frobnicate"}).valid);
    EXPECT_FALSE(parse({"-x", "a.smc"}).valid);
    EXPECT_FALSE(parse({"a.smc", "b.smc"}).valid);
    EXPECT_FALSE(parse({"--screenshot"}).valid); // needs a path
    EXPECT_TRUE(parse({"--help"}).help);
}

TEST(CommandLine, QtsOwnOptionsAreLeftToQt)
{
    const CommandLine c = parse({"-platform", "offscreen", "rom.smc", "-style=fusion", "-reverse"});
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.romPath, "rom.smc");
    EXPECT_EQ(parse({"-style", "Fusion", "game.smc"}).romIndex, 3) << "the ROM's own place among the arguments";
}

TEST(CommandLine, BuildOptions)
{
    const CommandLine shot = parse({"--screenshot", "out.png", "demo.smc"});
    EXPECT_TRUE(shot.valid);
    EXPECT_EQ(shot.screenshotPath, "out.png");
    EXPECT_EQ(shot.romPath, "demo.smc");
    EXPECT_TRUE(parse({"--startup-time"}).startupTime);
    const CommandLine large = parse({"--large-view", "demo.smc"});
    EXPECT_TRUE(large.valid && large.largeView);
    EXPECT_EQ(large.romPath, "demo.smc");
    const CommandLine overview = parse({"demo.smc", "--overview"});
    EXPECT_TRUE(overview.valid && overview.overview && !overview.largeView);
}

} // namespace
} // namespace tessel
