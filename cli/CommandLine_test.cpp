#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <utility>

using Args = std::vector<std::wstring>;
using Command = CommandLine::Command;

namespace
{
    CommandLine Parsed(const Args& args)
    {
        CommandLine commandLine;
        EXPECT_TRUE(commandLine.Parse(args)) << std::string(commandLine.Error().begin(), commandLine.Error().end());
        return commandLine;
    }
}

TEST(CommandLine, CommandsModesAndCountsInAnyLetterCase)
{
    EXPECT_EQ(Parsed({L"STATUS"}).GetCommand(), Command::Status);
    EXPECT_EQ(Parsed({L"power"}).GetCommand(), Command::Power);
    EXPECT_EQ(Parsed({L"--Version"}).GetCommand(), Command::Version);
    // Help wins wherever it stands, even after a mistake.
    for (const Args& args : {Args{L"--help"}, Args{L"mode", L"/?"}, Args{L"bogus", L"-H"}})
        EXPECT_EQ(Parsed(args).GetCommand(), Command::Help);

    const std::pair<const wchar_t*, LedMode> modes[] = {
        {L"ON", LedMode::On},         {L"RainBow", LedMode::RainBow}, {L"colorLOOP", LedMode::ColorLoop},
        {L"breath", LedMode::Breath}, {L"0", LedMode::Auto},          {L"4", LedMode::ColorLoop}};
    for (const auto& [pszName, mode] : modes)
    {
        const CommandLine commandLine = Parsed({L"Mode", pszName});
        EXPECT_EQ(commandLine.GetCommand(), Command::Mode);
        EXPECT_EQ(commandLine.Mode(), mode);
    }

    EXPECT_EQ(Parsed({L"watch"}).Count(), std::nullopt);
    EXPECT_EQ(Parsed({L"watch", L"--count", L"3"}).Count(), 3u);
    EXPECT_EQ(Parsed({L"watch", L"--COUNT=12"}).Count(), 12u);
    EXPECT_EQ(Parsed({L"watch", L"--count", L"4294967295"}).Count(), 4294967295u);
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
        {{L"mode", L"on", L"off"}, L"'off'"},
        {{L"status", L"now"}, L"'now'"},
        {{L"watch", L"--count"}, L"needs a number"},
        {{L"watch", L"--count", L"0"}, L"'0'"},
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
