#include "ecsim/EcStateFile.h"

#include <vector>

#include "ecsim/EcLayout.h"
#include "ecsim/SimHandle.h"

namespace
{

    std::string SystemMessage(DWORD dwError)
    {
        char szText[256] = "";
        FormatMessageA(
            FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0, szText, sizeof szText,
            nullptr
        );
        std::string strText = szText;
        while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r' || strText.back() == ' '))
            strText.pop_back();
        return strText.empty() ? "error " + std::to_string(dwError) : strText;
    }

}   // namespace

// Two processes may start at once and both find no file. Each writes a complete
// image under a name of its own and renames it into place without replacing:
// one rename wins, and nobody ever opens a half-written file.
bool EcStateFile::CreateIfMissing(const std::string& strPath, const BYTE (&byChipId)[2], std::string& strError)
{
    if (GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;

    const std::string strTemp =
        strPath + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetCurrentThreadId()) + ".new";
    {
        SimKernelHandle hFile(
            CreateFileA(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
        );
        if (!hFile)
        {
            strError = "cannot create " + strTemp + ": " + SystemMessage(GetLastError());
            return false;
        }
        std::vector<BYTE> image(EcLayout::SPACE_SIZE);
        image[EcLayout::CHIP_ID_ADDRESS] = byChipId[0];
        image[EcLayout::CHIP_ID_ADDRESS + 1] = byChipId[1];
        DWORD dwWritten = 0;
        if (!WriteFile(hFile.Get(), image.data(), EcLayout::SPACE_SIZE, &dwWritten, nullptr) ||
            dwWritten != EcLayout::SPACE_SIZE)
        {
            strError = "cannot write " + strTemp + ": " + SystemMessage(GetLastError());
            hFile.Reset();
            DeleteFileA(strTemp.c_str());
            return false;
        }
    }
    if (!MoveFileExA(strTemp.c_str(), strPath.c_str(), 0))
    {
        const DWORD dwError = GetLastError();
        DeleteFileA(strTemp.c_str());
        if (dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_FILE_EXISTS)
        {
            strError = "cannot create " + strPath + ": " + SystemMessage(dwError);
            return false;
        }
    }
    return true;
}

bool EcStateFile::Open(const std::string& strPath, const BYTE (&byChipId)[2], std::string& strError)
{
    if (!CreateIfMissing(strPath, byChipId, strError))
        return false;

    SimKernelHandle hFile(CreateFileA(
        strPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr
    ));
    if (!hFile)
    {
        strError = "cannot open " + strPath + ": " + SystemMessage(GetLastError());
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(hFile.Get(), &size) || size.QuadPart != EcLayout::SPACE_SIZE)
    {
        strError = strPath + " has " + std::to_string(size.QuadPart) + " bytes, not " +
                   std::to_string(EcLayout::SPACE_SIZE) + ": not an EC state file";
        return false;
    }
    // The mapping keeps the file open; the handle itself is no longer needed.
    if (!m_view.Map(hFile.Get(), EcLayout::SPACE_SIZE, nullptr))
    {
        strError = "cannot map " + strPath + ": " + SystemMessage(GetLastError());
        return false;
    }
    return true;
}
