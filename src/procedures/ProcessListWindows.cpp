// The process list on Windows: a Toolhelp snapshot, each process known by its executable's file
// name as the snapshot reports it (for example "QXC.exe").
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "procedures/ProcessList.h"

namespace varnok {

namespace {

// The name in the system's code page, the form in which the settings file holds program names.
std::string Narrow(const wchar_t* wide) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(size - 1));
  return text;
}

class WindowsProcessList : public ProcessList {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() const override {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<ProcessEntry> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
      ProcessEntry p;
      p.executableName = Narrow(entry.szExeFile);
      processes.push_back(std::move(p));
      entry.dwSize = sizeof entry;
    }
    ::CloseHandle(snapshot);
    return processes;
  }
};

}  // namespace

std::unique_ptr<ProcessList> MakeSystemProcessList() { return std::make_unique<WindowsProcessList>(); }

}  // namespace varnok
