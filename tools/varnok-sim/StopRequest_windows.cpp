#include <windows.h>

#include "tools/varnok-sim/StopRequest.h"

namespace varnok::sim {

namespace {

HANDLE StopEvent() {
  static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

BOOL WINAPI OnConsoleControl(DWORD) {
  ::SetEvent(StopEvent());
  return TRUE;  // handled: the main thread stops the server and returns
}

}  // namespace

StopRequest::StopRequest() {
  StopEvent();
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void StopRequest::Wait() { ::WaitForSingleObject(StopEvent(), INFINITE); }

}  // namespace varnok::sim
