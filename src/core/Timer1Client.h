#pragma once

namespace varnok {

// What the main window's Timer1 drives once a second, through the link's handler gate: the status poll
// of the STATUS/CONTROL page (StatusPanel).
class Timer1Client {
 public:
  virtual ~Timer1Client() = default;
  virtual void Timer1Timer() = 0;
};

}  // namespace varnok
