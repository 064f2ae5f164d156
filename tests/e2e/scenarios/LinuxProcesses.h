#pragma once
// Linux programs that a scenario started (xclip), seen through Wine's Z: drive, which maps the
// Linux root: their command lines are in /proc.

#include <string>
#include <vector>

namespace e2e {

// Linux process ids whose command line contains strNeedle.
std::vector<unsigned long> FindLinuxProcesses(const std::string& strNeedle);
// Asks /bin/kill to end the process (the scenario's last resort for a helper that stays).
void KillLinuxProcess(unsigned long nPid);

} // namespace e2e
