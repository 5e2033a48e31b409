// qxc-standin: a stand-in for the instrument's measurement program, for tests.
//
// It writes the arguments it was started with, one per line, into "standin-args.txt" in the folder
// that holds its executable, then keeps running until a file named STOP appears in that folder;
// it removes STOP and ends. It never runs longer than its lifetime (30 s, or the milliseconds in
// QXC_STANDIN_LIFETIME_MS), so a test can never leave it behind.
#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

fs::path OwnExecutable() {
#ifdef _WIN32
  wchar_t buffer[32768];
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  if (length == 0 || length >= std::size(buffer)) return {};
  return fs::path(std::wstring(buffer, length));
#else
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec);
#endif
}

fs::path OwnFolder(const char* argv0) {
  std::error_code ec;
  const fs::path self = OwnExecutable();
  if (self.has_parent_path()) return self.parent_path();
  const fs::path given(argv0 ? argv0 : "");
  if (given.has_parent_path()) return fs::absolute(given.parent_path(), ec);
  return fs::current_path(ec);
}

std::chrono::milliseconds Lifetime() {
  if (const char* text = std::getenv("QXC_STANDIN_LIFETIME_MS")) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && value > 0) return std::chrono::milliseconds(value);
  }
  return std::chrono::seconds(30);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path folder = OwnFolder(argc > 0 ? argv[0] : nullptr);
  {
    // Written under another name and renamed, so a reader never sees half a record.
    const fs::path temp = folder / "standin-args.txt.part";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    out.close();
    std::error_code ec;
    fs::rename(temp, folder / "standin-args.txt", ec);
  }

  const fs::path stop = folder / "STOP";
  const auto deadline = std::chrono::steady_clock::now() + Lifetime();
  while (std::chrono::steady_clock::now() < deadline) {
    std::error_code ec;
    if (fs::exists(stop, ec)) {
      fs::remove(stop, ec);
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return 2;  // lifetime over without a stop request
}
