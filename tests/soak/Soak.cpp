#include "tests/soak/Soak.h"

#include "tests/e2e/VelkorSession.h"

#include "tests/support/GdiCount.h"
#include "tests/support/ProcessMeter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

bool Soak::IsLong()
{
    const char* psz = std::getenv("VELKOR_SOAK");
    return psz && std::strcmp(psz, "long") == 0;
}

unsigned Soak::Length(unsigned nShort, unsigned nLong)
{
    return IsLong() ? nLong : nShort;
}

void Soak::StartShown(VelkorSession& velkor)
{
    velkor.Start();
    ASSERT_TRUE(velkor.WaitForFirstWindow());
    ASSERT_NE(velkor.Main(), nullptr) << "a message box came before the main window";
}

Soak::Footprint Soak::Measure(ChildProcess& process)
{
    const auto memory = ProcessMeter::Memory(process.Handle());
    return {GdiCount::Of(process.Handle()).value_or(0), ProcessMeter::Windows(process.Pid()),
            memory ? memory->cbPrivate : 0};
}

std::string Soak::Describe(const Footprint& footprint)
{
    return std::to_string(footprint.nGdiObjects) + " GDI objects, " + std::to_string(footprint.nWindows) +
           " windows, " + std::to_string(footprint.cbPrivate / 1024) + " KiB private";
}

std::string Soak::CheckModeWrites(const std::vector<EcOperation>& writes, size_t nFirst, std::uint16_t wBase,
                                  const std::vector<std::uint8_t>& modes)
{
    if (writes.size() != nFirst + 2 * modes.size())
        return "expected " + std::to_string(2 * modes.size()) + " writes, found " +
               std::to_string(writes.size() - nFirst);
    for (size_t i = 0; i < modes.size(); ++i)
    {
        const EcOperation clear{EcOperation::Write, static_cast<std::uint16_t>(wBase + 0xBD), 0};
        const EcOperation mode{EcOperation::Write, static_cast<std::uint16_t>(wBase + 0xF6), modes[i]};
        const EcOperation& first = writes[nFirst + 2 * i];
        const EcOperation& second = writes[nFirst + 2 * i + 1];
        if (!(first == clear) || !(second == mode))
            return "click " + std::to_string(i) + ": " + ::Describe(first) + ", " + ::Describe(second) +
                   " instead of " + ::Describe(clear) + ", " + ::Describe(mode);
    }
    return "";
}
