#include "cli/CommandLine.h"

#include <gtest/gtest.h>

using Args = std::vector<std::wstring>;
using Command = CommandLine::Command;

TEST(CommandLine, CommandsModesAndCountsInAnyLetterCase)
{
    const struct
    {
        Args args;
        Command command;
        LedMode mode;
        std::optional<unsigned> count;
    } cases[] = {
        {{L"status"}, Command::Status, LedMode::Auto, std::nullopt},
        {{L"STATUS"}, Command::Status, LedMode::Auto, std::nullopt},
        {{L"power"}, Command::Power, LedMode::Auto, std::nullopt},
        {{L"--Version"}, Command::Version, LedMode::Auto, std::nullopt},
        {{L"mode", L"auto"}, Command::Mode, LedMode::Auto, std::nullopt},
        {{L"mode", L"ON"}, Command::Mode, LedMode::On, std::nullopt},
        {{L"Mode", L"RainBow"}, Command::Mode, LedMode::RainBow, std::nullopt},
        {{L"mode", L"breath"}, Command::Mode, LedMode::Breath, std::nullopt},
        {{L"mode", L"colorLOOP"}, Command::Mode, LedMode::ColorLoop, std::nullopt},
        {{L"mode", L"0"}, Command::Mode, LedMode::Auto, std::nullopt},
        {{L"mode", L"2"}, Command::Mode, LedMode::RainBow, std::nullopt},
        {{L"mode", L"4"}, Command::Mode, LedMode::ColorLoop, std::nullopt},
        {{L"watch"}, Command::Watch, LedMode::Auto, std::nullopt},
        {{L"watch", L"--count", L"3"}, Command::Watch, LedMode::Auto, 3u},
        {{L"watch", L"--COUNT=12"}, Command::Watch, LedMode::Auto, 12u},
        {{L"watch", L"--count", L"4294967295"}, Command::Watch, LedMode::Auto, 4294967295u},
        // Help wins wherever it stands, even after a mistake.
        {{L"--help"}, Command::Help, LedMode::Auto, std::nullopt},
        {{L"mode", L"/?"}, Command::Help, LedMode::Auto, std::nullopt},
        {{L"bogus", L"-H"}, Command::Help, LedMode::Auto, std::nullopt},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        CommandLine commandLine;
        ASSERT_TRUE(commandLine.Parse(c.args));
        EXPECT_EQ(commandLine.GetCommand(), c.command);
        EXPECT_EQ(commandLine.Mode(), c.mode);
        EXPECT_EQ(commandLine.Count(), c.count);
    }
}

// Each is refused with a reason that names what was wrong.
TEST(CommandLine, WrongUsageIsRefusedWithTheOffendingWord)
{
    const std::pair<Args, std::wstring> cases[] = {
        {{}, L"no command"},
        {{L"colour"}, L"'colour'"},
        {{L"mode"}, L"needs a mode name"},
        {{L"mode", L"5"}, L"'5'"},
        {{L"mode", L"03"}, L"'03'"},
        {{L"mode", L"breathe"}, L"'breathe'"},
        {{L"mode", L"on", L"off"}, L"'off'"},
        {{L"status", L"now"}, L"'now'"},
        {{L"--version", L"2"}, L"'2'"},
        {{L"watch", L"--count"}, L"needs a number"},
        {{L"watch", L"--count", L"0"}, L"'0'"},
        {{L"watch", L"--count", L"-1"}, L"'-1'"},
        {{L"watch", L"--count", L"3x"}, L"'3x'"},
        {{L"watch", L"--count", L"4294967296"}, L"'4294967296'"},
        {{L"watch", L"--count="}, L"''"},
        {{L"watch", L"--count", L"2", L"--count", L"3"}, L"twice"},
        {{L"watch", L"3"}, L"'3'"},
    };
    for (const auto& [args, strExpected] : cases)
    {
        SCOPED_TRACE(std::string(strExpected.begin(), strExpected.end()));
        CommandLine commandLine;
        EXPECT_FALSE(commandLine.Parse(args));
        EXPECT_NE(commandLine.Error().find(strExpected), std::wstring::npos);
    }
}
