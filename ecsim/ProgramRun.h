#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "ecsim/SimHandle.h"

// Test kit: runs a program as a child process with its own arguments, working
// folder and environment changes, and collects its output and exit
// code. Both output streams go to one temporary file (or, when asked, one
// each), so a chatty child cannot block.
class ProgramRun
{
public:
    explicit ProgramRun(std::string strProgram);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    ProgramRun& Arg(const std::string& strArg);
    ProgramRun& Folder(const std::string& strFolder);
    // Sets a variable for the child only; an empty value removes it.
    ProgramRun& Env(const std::string& strName, const std::string& strValue);
    // Standard error into a file of its own: Output() is then standard output
    // alone, and Errors() standard error.
    ProgramRun& SeparateErrors();
    // Standard output a pipe whose reading end is closed, as when the reader
    // of a pipeline has ended: every write to it fails. Standard error goes
    // to its own file (Errors()).
    ProgramRun& OutputToClosedPipe();

    // With CREATE_SUSPENDED the child waits for Resume(): several children
    // then run from the same moment.
    bool Start(DWORD dwCreationFlags = 0);
    void Resume();
    // Waits for the end; the exit code, or STILL_ACTIVE when it did not start
    // or outlived dwTimeoutMs (then it is killed).
    DWORD Wait(DWORD dwTimeoutMs = 60000);
    DWORD Run() { return Start() ? Wait() : STILL_ACTIVE; }
    // What it wrote to standard output and error, with line ends as "\n".
    std::string Output() const;
    std::string Errors() const;

private:
    std::vector<char> EnvironmentBlock() const;
    static std::string ReadText(const std::string& strPath);

    std::string m_strProgram;
    std::string m_strCommandLine;
    std::string m_strFolder;
    std::vector<std::pair<std::string, std::string>> m_environment;
    std::string m_strOutputPath;
    std::string m_strErrorPath;   // empty: standard error goes to the output file
    bool m_bOutputToClosedPipe = false;
    SimKernelHandle m_hProcess;
    SimKernelHandle m_hThread;
};
