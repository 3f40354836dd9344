// Start-up probes: a program that reports, the moment its main window is on
// the screen, its resident memory on standard output, and then quits. The
// start-up benchmark times the launch of each probe up to that line.
// With HALVIX_PROBE_EXIT_AT_SHOW set, a probe ends right there, without
// painting or tearing down, so that an instruction count (valgrind
// --tool=callgrind) covers exactly the start-up.
#pragma once

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace startup_probe {

inline long ResidentKb() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atol(line + 6);
  }
  std::fclose(f);
  return kb;
}

class ExposeWatcher : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed() && !done_) {
      done_ = true;
      std::printf("%ld\n", ResidentKb());
      std::fflush(stdout);
      if (std::getenv("HALVIX_PROBE_EXIT_AT_SHOW") != nullptr) _exit(0);
      QCoreApplication::exit(0);
    }
    return false;
  }

 private:
  bool done_ = false;
};

// Call before window->show().
inline void ReportWhenShown(QWidget* window) {
  window->winId();  // makes the native window, so its expose can be watched
  window->windowHandle()->installEventFilter(new ExposeWatcher(window));
}

}  // namespace startup_probe
