// ecsim.exe: looks at and changes the simulated EC through its state file,
// the same file io.dll works on (see README.md).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ecsim/EcLayout.h"
#include "ecsim/EcStateFile.h"
#include "ecsim/SimConfig.h"

namespace
{

    constexpr int EXIT_STATE_ERROR = 1;
    constexpr int EXIT_USAGE = 2;
    constexpr DWORD WATCH_PERIOD_MS = 10;

    const char USAGE[] = "usage: ecsim show            chip id, EC RAM base, mode byte, power level\n"
                         "       ecsim power N         set the power-level byte (N decimal, 0-255)\n"
                         "       ecsim peek ADDR       print the EC byte at ADDR (hex)\n"
                         "       ecsim poke ADDR VALUE set the EC byte at ADDR (both hex)\n"
                         "       ecsim watch [SECONDS] print EC bytes as they change (until Ctrl+C)\n"
                         "The state file is ECSIM_STATE, else ecsim-state.bin beside ecsim.exe.\n";

    // Parses a whole argument as a number no greater than nMax.
    std::optional<unsigned long> ParseNumber(const char* pszText, int nBase, unsigned long nMax)
    {
        if (nBase == 16 && (std::strncmp(pszText, "0x", 2) == 0 || std::strncmp(pszText, "0X", 2) == 0))
            pszText += 2;
        if (*pszText == '\0' || *pszText == '-' || *pszText == '+' || *pszText == ' ')
            return std::nullopt;
        char* pszEnd = nullptr;
        const unsigned long nValue = std::strtoul(pszText, &pszEnd, nBase);
        if (*pszEnd != '\0' || nValue > nMax)
            return std::nullopt;
        return nValue;
    }

    const char* ModeName(BYTE byMode)
    {
        static const char* const NAMES[] = {"Auto", "On", "RainBow", "Breath", "ColorLoop"};
        return byMode < sizeof NAMES / sizeof NAMES[0] ? NAMES[byMode] : "not a mode";
    }

    WORD RamBase(const BYTE* pbyEc)
    {
        return EcLayout::RamBase(pbyEc[EcLayout::CHIP_ID_ADDRESS], pbyEc[EcLayout::CHIP_ID_ADDRESS + 1]);
    }

    const char* AddressLabel(const BYTE* pbyEc, WORD wAddress)
    {
        const WORD wBase = RamBase(pbyEc);
        if (wAddress == wBase + EcLayout::POWER_LEVEL_OFFSET)
            return "  power level";
        if (wAddress == wBase + EcLayout::LED_CLEAR_OFFSET)
            return "  mode clear";
        if (wAddress == wBase + EcLayout::LED_MODE_OFFSET)
            return "  mode byte";
        return "";
    }

    void Show(const std::string& strPath, const BYTE* pbyEc)
    {
        const BYTE byId1 = pbyEc[EcLayout::CHIP_ID_ADDRESS];
        const BYTE byId2 = pbyEc[EcLayout::CHIP_ID_ADDRESS + 1];
        const WORD wBase = RamBase(pbyEc);
        const WORD wMode = static_cast<WORD>(wBase + EcLayout::LED_MODE_OFFSET);
        const WORD wPower = static_cast<WORD>(wBase + EcLayout::POWER_LEVEL_OFFSET);
        std::printf("state file    %s\n", strPath.c_str());
        std::printf(
            "chip id       %02X:%02X (%s)\n", byId1, byId2,
            wBase == EcLayout::RAM_BASE_IT557X ? "IT5570/IT5571" : "other chip"
        );
        std::printf("EC RAM base   %04X\n", wBase);
        std::printf("mode byte     %02X %s (at %04X)\n", pbyEc[wMode], ModeName(pbyEc[wMode]), wMode);
        std::printf("power level   %u (at %04X)\n", pbyEc[wPower], wPower);
    }

    void Watch(const BYTE* pbyEc, std::optional<unsigned long> nSeconds)
    {
        std::vector<BYTE> last(pbyEc, pbyEc + EcLayout::SPACE_SIZE);
        std::printf("watching the EC; Ctrl+C ends\n");
        std::fflush(stdout);
        const ULONGLONG qwEnd = nSeconds ? GetTickCount64() + *nSeconds * 1000ull : ~0ull;
        while (GetTickCount64() < qwEnd)
        {
            Sleep(WATCH_PERIOD_MS);
            for (DWORD i = 0; i < EcLayout::SPACE_SIZE; ++i)
            {
                const BYTE byNow = pbyEc[i];
                if (byNow == last[i])
                    continue;
                SYSTEMTIME time;
                GetLocalTime(&time);
                std::printf(
                    "%02u:%02u:%02u.%03u  %04lX  %02X -> %02X%s\n", time.wHour, time.wMinute, time.wSecond,
                    time.wMilliseconds, static_cast<unsigned long>(i), last[i], byNow,
                    AddressLabel(pbyEc, static_cast<WORD>(i))
                );
                last[i] = byNow;
            }
            std::fflush(stdout);
        }
    }

    struct Command
    {
        std::string strName;
        unsigned long nAddress = 0;
        unsigned long nValue = 0;
        std::optional<unsigned long> nSeconds;   // watch: until Ctrl+C when absent
    };

    // Checks the whole command line, before the state file is touched (or created).
    std::optional<Command> ParseCommand(int argc, char** argv)
    {
        if (argc < 2)
            return std::nullopt;
        Command command;
        command.strName = argv[1];
        const std::vector<const char*> args(argv + 2, argv + argc);
        std::optional<unsigned long> nFirst, nSecond;
        if (command.strName == "show" && args.empty())
            return command;
        if (command.strName == "power" && args.size() == 1 && (nFirst = ParseNumber(args[0], 10, 0xFF)))
        {
            command.nValue = *nFirst;
            return command;
        }
        if (command.strName == "peek" && args.size() == 1 && (nFirst = ParseNumber(args[0], 16, 0xFFFF)))
        {
            command.nAddress = *nFirst;
            return command;
        }
        if (command.strName == "poke" && args.size() == 2 && (nFirst = ParseNumber(args[0], 16, 0xFFFF)) &&
            (nSecond = ParseNumber(args[1], 16, 0xFF)))
        {
            command.nAddress = *nFirst;
            command.nValue = *nSecond;
            return command;
        }
        if (command.strName == "watch" && args.empty())
            return command;
        if (command.strName == "watch" && args.size() == 1 &&
            (command.nSeconds = ParseNumber(args[0], 10, 24ul * 3600)))
            return command;
        return std::nullopt;
    }

}   // namespace

int main(int argc, char** argv)
{
    const std::optional<Command> command = ParseCommand(argc, argv);
    if (!command)
    {
        std::fputs(USAGE, stderr);
        return EXIT_USAGE;
    }

    SimConfig config;
    EcStateFile state;
    std::string strError;
    if (!config.Load(nullptr, strError) || !state.Open(config.m_strStatePath, config.m_byChipId, strError))
    {
        std::fprintf(stderr, "ecsim: %s\n", strError.c_str());
        return EXIT_STATE_ERROR;
    }
    BYTE* pbyEc = state.Bytes();

    if (command->strName == "show")
    {
        Show(config.m_strStatePath, pbyEc);
    }
    else if (command->strName == "power")
    {
        const WORD wPower = static_cast<WORD>(RamBase(pbyEc) + EcLayout::POWER_LEVEL_OFFSET);
        pbyEc[wPower] = static_cast<BYTE>(command->nValue);
        std::printf("power level   %u (at %04X)\n", pbyEc[wPower], wPower);
    }
    else if (command->strName == "peek")
    {
        std::printf("%04lX %02X\n", command->nAddress, pbyEc[command->nAddress]);
    }
    else if (command->strName == "poke")
    {
        pbyEc[command->nAddress] = static_cast<BYTE>(command->nValue);
        std::printf("%04lX %02X\n", command->nAddress, pbyEc[command->nAddress]);
    }
    else
    {
        Watch(pbyEc, command->nSeconds);
    }
    return 0;
}
