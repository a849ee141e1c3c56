// velkorctl while Velkor runs: both take the ports' mutex around every EC
// byte, so neither cuts into the other's twelve-access sequence.
#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/PortLog.h"
#include "tests/support/TestInstall.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
    constexpr std::uint16_t POWER_LEVEL = 0xC430;   // chip 55:70
    constexpr int MODE_CALLS = 20;

    bool IsPowerPoll(const EcOperation& op)
    {
        return op.kind == EcOperation::Read && op.wAddress == POWER_LEVEL;
    }
}

TEST(VelkorctlBesideVelkor, ModeCallsWhileVelkorPollsLeaveEveryEcAccessWhole)
{
    TestInstall install;
    FileSystem::Copy(FileSystem::ModuleFolder() + L"\\velkorctl.exe", install.Folder() + L"\\velkorctl.exe");
    EcState::Create(install.StatePath(), 0x55, 0x70);
    std::unique_ptr<ChildProcess> velkor = install.Start();
    auto polls = [&] {
        const std::vector<EcOperation> ops = PortLog::Load(install.LogPath()).EcOperations(true);
        return std::count_if(ops.begin(), ops.end(), IsPowerPoll);
    };
    ASSERT_TRUE(WaitUntil([&] { return polls() > 0; }, 20000)) << "Velkor does not poll the power level";

    const ChildProcess::Environment env = {{L"ECSIM_STATE", install.StatePath()}, {L"ECSIM_LOG", install.LogPath()}};
    for (int i = 0; i < MODE_CALLS; ++i)
    {
        ChildProcess ctl(install.Folder() + L"\\velkorctl.exe", L"mode " + std::to_wstring(i % 5), install.Root(), env);
        ASSERT_TRUE(ctl.WaitForExit(20000));
        EXPECT_EQ(ctl.ExitCode(), 0u);
    }

    // Strict decoding throws at the first access that breaks a sequence;
    // Velkor may be inside one of its own at the end.
    std::vector<EcOperation> ops;
    ASSERT_NO_THROW(ops = PortLog::Load(install.LogPath()).EcOperations(true));
    velkor.reset();

    // Velkor polled while the calls ran, or this proves nothing.
    auto isCallOperation = [](const EcOperation& op) { return !IsPowerPoll(op); };
    const auto itFirstCall = std::find_if(ops.begin() + 3, ops.end(), isCallOperation);
    const auto itLastCall = std::find_if(ops.rbegin(), ops.rend(), isCallOperation);
    EXPECT_GT(std::count_if(itFirstCall, itLastCall.base(), IsPowerPoll), 0) << "no poll came between the calls";

    // Without the polls: Velkor's probe, then each call's probe and its two
    // writes, whole and in order.
    std::erase_if(ops, IsPowerPoll);
    std::vector<EcOperation> expected;
    const EcOperation probe[] = {{EcOperation::Read, 0x2000, 0x55}, {EcOperation::Read, 0x2001, 0x70},
                                 {EcOperation::Write, 0x1060, 0x80}};
    expected.insert(expected.end(), std::begin(probe), std::end(probe));
    for (int i = 0; i < MODE_CALLS; ++i)
    {
        expected.insert(expected.end(), std::begin(probe), std::end(probe));
        expected.push_back({EcOperation::Write, 0xC4BD, 0x00});
        expected.push_back({EcOperation::Write, 0xC4F6, static_cast<std::uint8_t>(i % 5)});
    }
    ASSERT_EQ(ops.size(), expected.size());
    for (size_t i = 0; i < ops.size(); ++i)
        EXPECT_EQ(ops[i], expected[i]) << i << ": " << Describe(ops[i]) << " instead of " << Describe(expected[i]);
    EXPECT_EQ(EcState::Load(install.StatePath()).At(0xC4F6), (MODE_CALLS - 1) % 5);
}
