#pragma once

#include "bench/win/BenchRig.h"
#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"

#include <string>

namespace bench {

using namespace e2e;

// The hardware tool, installed by the build's own silent setup into a scratch folder, reporting what its sensor
// file says; removed again (service, folder and setup record) when the object goes.
class CInstalledTool {
public:
    CInstalledTool() = default;
    CInstalledTool(const CInstalledTool&) = delete;
    CInstalledTool& operator=(const CInstalledTool&) = delete;
    ~CInstalledTool() {
        if (!m_folder.empty()) {
            RemoveHardwareTool(m_folder);
        }
    }

    bool Install() {
        m_folder = MakeTempFolder(L"bench-tool");
        CChildProcess setup;
        return !m_folder.empty() && setup.Start(Quoted(BinDir() + L"\\brakosetup.exe") + L" /S /D=" + m_folder) &&
               setup.WaitForExit(30000) && setup.ExitCode() == 0 && SetSensors(47, 38);
    }

    // Degrees Celsius for the processor and the disk; the service reads the file again for every set.
    bool SetSensors(int cpu, int disk) {
        return WriteTextFile(m_folder + L"\\sensors.txt",
                             "cpu " + std::to_string(cpu) + "\ndisk " + std::to_string(disk) + "\n");
    }

private:
    std::wstring m_folder;
};

// The rig, the copied tree with its service, and the tool, each started; false, with a note, when one is not.
inline bool StartWithTool(CBenchRig& rig, CServiceTree& tree, CInstalledTool& tool) {
    if (!rig.Start()) {
        return false;
    }
    return (tree.Start() && tool.Install()) ||
           rig.Note("the sample-data service, the copied tree or the hardware tool is missing");
}

} // namespace bench
