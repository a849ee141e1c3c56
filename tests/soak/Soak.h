#pragma once
// How long the soak tests run: short in CI, long with VELKOR_SOAK=long.
#include <cstdlib>
#include <cstring>

namespace Soak
{
    inline bool IsLong()
    {
        const char* psz = std::getenv("VELKOR_SOAK");
        return psz && std::strcmp(psz, "long") == 0;
    }

    inline unsigned Length(unsigned nShort, unsigned nLong)
    {
        return IsLong() ? nLong : nShort;
    }
}
