// How long Velkor keeps the EC ports' mutex per mode click, as another program
// that wants the ports (a hardware monitor) sees it: with the pictures
// unchanged, and with every picture of the click replaced just before it by a
// 256 x 256 32-bit icon, which Velkor must read and decode. Only the two EC
// bytes and the hand-over of ready pictures belong in the turn, so the two
// figures should be alike. Prints medians and longest; passes or fails nothing.
//
// The measure: a thread of this process (MutexProber) tries the mutex every
// 20 us and gives it back at once, and watches the EC's mode byte in the
// simulator's state file. From the last try that had the
// mutex before the mode byte changed to the first that had it after is the
// stretch in which no other program could have the ports for the click: the
// turn, overstated by at most a try period and a try (a wait on a free mutex,
// printed too) on either side.
//
// Knob (environment): VELKOR_BENCH_TURN_CLICKS (clicks per case, 150).
#include "tests/bench/RunningProgram.h"
#include "tests/bench/Stats.h"
#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/TestInstall.h"
#include "res/resource.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

namespace
{
    constexpr char PORT_MUTEX[] = "Global\\Access_ISABUS.HTP.Method";
    constexpr WORD MODE_BYTE = 0xC4F6;   // the state files here carry the chip id 55:70

    // The six pictures each clicked button's change shows: its active one, the
    // other mode buttons' and the hidden Static button's inactive ones.
    struct Click
    {
        int nId;
        BYTE byMode;
        const wchar_t* files[6];
    };
    const Click CLICKS[] = {
        {IDC_BREATH,
         3,
         {L"03_Breath_1.ico", L"02_Static_0.ico", L"04_ColorLoop_0.ico", L"05_RainBow_0.ico", L"06_Auto_0.ico",
          L"01_On_0.ico"}},
        {IDC_ON,
         1,
         {L"01_On_1.ico", L"02_Static_0.ico", L"03_Breath_0.ico", L"04_ColorLoop_0.ico", L"05_RainBow_0.ico",
          L"06_Auto_0.ico"}},
    };

    unsigned Knob(const char* pszName, unsigned nDefault)
    {
        const char* psz = std::getenv(pszName);
        return psz && std::atoi(psz) > 0 ? static_cast<unsigned>(std::atoi(psz)) : nDefault;
    }

    double NowMs()
    {
        LARGE_INTEGER freq, now;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
    }

    // An icon file of one 256 x 256 image, 32 bits with alpha, in one shade.
    std::vector<unsigned char> LargeIconFile(unsigned char byShade)
    {
        constexpr DWORD SIDE = 256, XOR_BYTES = SIDE * SIDE * 4, AND_BYTES = SIDE * SIDE / 8;
        constexpr DWORD HEADERS = 6 + 16, IMAGE_BYTES = sizeof(BITMAPINFOHEADER) + XOR_BYTES + AND_BYTES;
        std::vector<unsigned char> file(HEADERS + IMAGE_BYTES, 0);   // the AND mask stays 0: all opaque
        const auto put = [&](size_t nAt, auto value) { std::memcpy(file.data() + nAt, &value, sizeof value); };
        put(2, WORD(1));   // an icon
        put(4, WORD(1));   // one image; its entry: width and height 0 stand for 256
        put(6 + 4, WORD(1));
        put(6 + 6, WORD(32));
        put(6 + 8, IMAGE_BYTES);
        put(6 + 12, HEADERS);
        put(HEADERS, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), SIDE, 2 * SIDE, 1, 32, BI_RGB, 0, 0, 0, 0, 0});
        for (DWORD i = 0; i < SIDE * SIDE; ++i)
            put(HEADERS + sizeof(BITMAPINFOHEADER) + 4 * i, DWORD(0xFF800000u | (255u - byShade) << 8 | byShade));
        return file;
    }

    // The simulated EC's bytes, as every process that uses the simulator sees
    // them (its state file, mapped).
    class MappedEc
    {
    public:
        explicit MappedEc(const std::wstring& strStatePath)
            : m_hFile(CreateFileW(
                  strStatePath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, 0, nullptr
              )),
              m_hMapping(CreateFileMappingW(m_hFile, nullptr, PAGE_READWRITE, 0, 0, nullptr)),
              m_pBytes(static_cast<volatile BYTE*>(MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, 0)))
        {}
        ~MappedEc()
        {
            UnmapViewOfFile(const_cast<BYTE*>(m_pBytes));
            CloseHandle(m_hMapping);
            CloseHandle(m_hFile);
        }
        volatile BYTE* Bytes() const { return m_pBytes; }

    private:
        HANDLE m_hFile, m_hMapping;
        volatile BYTE* m_pBytes;
    };

    // Another program on the ports, probing them the way a monitor takes its
    // turns, only far more often: from construction to destruction it tries
    // the mutex every TRY_PERIOD_MS and gives it back at once. A click's turn
    // is the stretch from the last try that had the mutex before the mode
    // byte took the awaited value to the first that had it after: the turn,
    // overstated by at most a try period and a try on either side. Between
    // tries it makes no call into Wine's server, which the turn needs too, and
    // it holds the mutex so briefly that Velkor seldom has to wait for it. It
    // runs the whole time, so that the system schedules it alike whatever
    // Velkor does before a turn.
    class MutexProber
    {
    public:
        // Between tries the prober sleeps rather than spins: then it takes
        // next to no processor from Velkor, and wakes when its time comes.
        // Wine sleeps for NtDelayExecution's 100 ns units without a server
        // call (a select() with a timeout); with Linux's timer slack a pause
        // of 20 us lasts about 70 us. Windows rounds it up to its timer tick.
        static void PauseBriefly()
        {
            using PFN_DELAY = LONG(NTAPI*)(BOOLEAN, const LARGE_INTEGER*);
            static const auto pfnDelay = reinterpret_cast<PFN_DELAY>(
                reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDelayExecution"))
            );
            const LARGE_INTEGER pause = {.QuadPart = -200};   // relative, in 100 ns units
            pfnDelay(FALSE, &pause);
        }

        MutexProber(HANDLE hMutex, const volatile BYTE& byModeByte)
            : m_hMutex(hMutex),
              m_byModeByte(byModeByte),
              m_thread([this] { Run(); })
        {}
        ~MutexProber()
        {
            m_bStop = true;
            m_thread.join();
        }

        // The next turn to note: the one after which the mode byte is byMode.
        void Await(BYTE byMode)
        {
            m_dTurnMs = -1;
            m_nAwaitedMode = byMode;
        }
        // That turn, in ms, once it is over (at most a second after it);
        // nothing when it did not come.
        std::optional<double> Turn() const
        {
            const double dUntil = NowMs() + 1000;
            while (m_dTurnMs < 0 && NowMs() < dUntil)
                SwitchToThread();
            return m_dTurnMs >= 0 ? std::optional<double>(m_dTurnMs) : std::nullopt;
        }

    private:
        void Run()
        {
            double dLastHadMs = NowMs();
            while (!m_bStop)
            {
                if (WaitForSingleObject(m_hMutex, 0) != WAIT_TIMEOUT)
                {
                    ReleaseMutex(m_hMutex);
                    const double dNow = NowMs();
                    if (m_nAwaitedMode == m_byModeByte)
                    {
                        m_nAwaitedMode = NONE;
                        m_dTurnMs = dNow - dLastHadMs;
                    }
                    dLastHadMs = dNow;
                }
                PauseBriefly();
            }
        }

        static constexpr int NONE = -1;
        HANDLE m_hMutex;
        const volatile BYTE& m_byModeByte;
        std::atomic<int> m_nAwaitedMode{NONE};
        std::atomic<double> m_dTurnMs{-1};
        std::atomic<bool> m_bStop{false};
        std::thread m_thread;
    };

    struct Figures
    {
        std::vector<double> heldMs;   // the click's turn on the ports
        std::vector<double> clickMs;   // the click from BM_CLICK sent to handled
    };

    void Print(const char* pszCase, const Figures& figures)
    {
        std::printf(
            "  %-26s %10.3f %10.3f %10.3f %10.3f %12.2f\n", pszCase,
            *std::min_element(figures.heldMs.begin(), figures.heldMs.end()), Stats::Percentile(figures.heldMs, 0.25),
            Stats::Median(figures.heldMs), *std::max_element(figures.heldMs.begin(), figures.heldMs.end()),
            Stats::Median(figures.clickMs)
        );
    }
}   // namespace

int main()
{
    const unsigned nClicks = Knob("VELKOR_BENCH_TURN_CLICKS", 150);
    TestInstall install(L"Velkor.exe");
    EcState::Create(install.StatePath(), 0x55, 0x70);
    RunningProgram velkor(install, {{L"ECSIM_LOG", L""}});   // the log's file writes would dwarf the turn
    const MappedEc ec(install.StatePath());
    const bool bPainted = velkor.WaitPainted();
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, PORT_MUTEX);
    if (!bPainted || hMutex == nullptr || ec.Bytes() == nullptr)
    {
        std::fprintf(stderr, "Velkor did not show a painted window, or its port mutex or EC is missing\n");
        return 1;
    }
    // A picture is read again at every click until its stamp settles, 2 s
    // after the file was written (here: installed); the active pictures are
    // read ahead once the window is idle.
    Sleep(2500);

    // What one wait costs when the mutex is free.
    std::vector<double> freeWaitMs;
    for (int i = 0; i < 1000; ++i)
    {
        const double dStart = NowMs();
        WaitForSingleObject(hMutex, INFINITE);
        freeWaitMs.push_back(NowMs() - dStart);
        ReleaseMutex(hMutex);
    }

    // Blocks of each case in turn, so that both see much the same machine
    // load; the pictures a block replaced settle before the next round.
    constexpr unsigned ROUNDS = 3;
    Figures unchanged, replaced;
    const std::vector<unsigned char> shades[2] = {LargeIconFile(0x20), LargeIconFile(0xC0)};
    volatile BYTE& byModeByte = ec.Bytes()[MODE_BYTE];
    {
        MutexProber prober(hMutex, byModeByte);
        for (unsigned nRound = 0; nRound < ROUNDS; ++nRound)
        {
            for (const bool bReplace : {false, true})
            {
                Figures& figures = bReplace ? replaced : unchanged;
                for (unsigned i = 0; i < nClicks / ROUNDS; ++i)
                {
                    const Click& click = CLICKS[i % 2];
                    if (bReplace)
                    {
                        for (const wchar_t* pszFile : click.files)
                            FileSystem::WriteBytes(install.SkinFile(L"skin_EN", pszFile), shades[(i / 2) % 2]);
                    }
                    byModeByte = 0xFF;   // no mode: the click's byte shows when it comes
                    prober.Await(click.byMode);
                    const std::optional<double> dClickMs = velkor.Click(click.nId);
                    const std::optional<double> dTurnMs = prober.Turn();
                    if (!dClickMs || !dTurnMs)
                    {
                        std::fprintf(stderr, "a click was not answered, or its mode byte not seen\n");
                        return 1;
                    }
                    figures.heldMs.push_back(*dTurnMs);
                    figures.clickMs.push_back(*dClickMs);
                }
            }
            Sleep(2500);
        }
    }
    CloseHandle(hMutex);

    std::printf(
        "Port mutex held per mode click, seen from another process (%u clicks each; ms)\n"
        "  one wait on the free mutex, median: %.3f\n"
        "  %-26s %10s %10s %10s %10s %12s\n",
        nClicks / ROUNDS * ROUNDS, Stats::Median(freeWaitMs), "pictures", "shortest", "quartile", "median", "longest",
        "click median"
    );
    Print("unchanged", unchanged);
    Print("just replaced (256 x 256)", replaced);
    std::printf(
        "  ratio of the medians, replaced / unchanged: %.2f\n",
        Stats::Median(replaced.heldMs) / Stats::Median(unchanged.heldMs)
    );
    return 0;
}
