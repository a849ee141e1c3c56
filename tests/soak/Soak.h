#pragma once
// Shared pieces of the soak and bad-input tests: how long they run, and what a
// running program holds (GDI objects, windows, private memory).
#include "tests/support/ChildProcess.h"
#include "tests/support/PortLog.h"

#include <cstdint>
#include <string>
#include <vector>

class VelkorSession;

namespace Soak
{
    // nShort in CI; nLong when VELKOR_SOAK=long.
    unsigned Length(unsigned nShort, unsigned nLong);
    bool IsLong();

    // Starts the program and waits for its main window (a test fails when a
    // message box or nothing comes instead).
    void StartShown(VelkorSession& velkor);

    struct Footprint
    {
        unsigned nGdiObjects;
        unsigned nWindows;
        size_t cbPrivate;
    };
    Footprint Measure(ChildProcess& process);
    std::string Describe(const Footprint& footprint);

    // Checks that the writes, from index nFirst on, are whole mode changes: the
    // clear byte (0 at base + 0xBD) then the mode byte (base + 0xF6) with the
    // expected value, for every mode in turn. Empty when they are; else what is wrong.
    std::string CheckModeWrites(const std::vector<EcOperation>& writes, size_t nFirst, std::uint16_t wBase,
                                const std::vector<std::uint8_t>& modes);
}
