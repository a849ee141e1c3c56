#include "tests/support/ec/OtherPortUser.h"

#include "ecsim/SimHarness.h"

OtherPortUser::OtherPortUser(const std::string& strStatePath, const std::string& strLogPath)
    : m_hReady(CreateEventA(nullptr, TRUE, FALSE, m_strReady.c_str())),
      m_hGo(CreateEventA(nullptr, TRUE, FALSE, m_strGo.c_str())),
      m_holder(SimHarness::ToolPath("bus_holder.exe"))
{
    if (!strStatePath.empty())
        m_holder.Env("ECSIM_STATE", strStatePath).Env("ECSIM_LOG", strLogPath);
}

bool OtherPortUser::Hold(int nDelayMs)
{
    return m_holder.Arg(m_strReady).Arg(m_strGo).Arg(std::to_string(nDelayMs)).Start() &&
           WaitForSingleObject(m_hReady.Get(), 30000) == WAIT_OBJECT_0;
}

bool OtherPortUser::Abandon()
{
    return m_holder.Arg(m_strReady).Arg("abandon").Run() == 0 &&
           WaitForSingleObject(m_hReady.Get(), 0) == WAIT_OBJECT_0;
}

std::string OtherPortUser::EventName(const char* pszRole)
{
    static int s_nEvents = 0;
    return std::string("port-user-") + pszRole + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++s_nEvents);
}
