// Frame timing for the benchmarks: an application object that notes the moment a frame showing
// a chosen widget is finished, plus the process's peak memory.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>

namespace bench {

using Clock = std::chrono::steady_clock;

// Widgets paint inside the handling of one outermost event (the window's expose, or its update
// request): when that handling returns, every widget of the frame has been painted and the
// backing store flushed. Events are counted by nesting depth so that the paint events sent
// within are not taken for the end of the frame.
class ProbeApp : public QApplication {
public:
  ProbeApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The offscreen platform says this for every fixed-size window; the rest still goes to stderr.
    previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
      if (text != QLatin1String("This plugin does not support propagateSizeHints()")) previous_(type, context, text);
    });
  }

  void watch(const QObject* widget) { watched_ = widget; }
  void onFrame(std::function<void(Clock::time_point)> callback) { onFrame_ = std::move(callback); }
  long frames() const { return frames_; }

  bool notify(QObject* receiver, QEvent* event) override {
    if (event->type() == QEvent::Paint && receiver == watched_) painted_ = true;
    ++depth_;
    const bool handled = QApplication::notify(receiver, event);
    if (--depth_ == 0 && painted_) {
      const auto now = Clock::now();
      painted_ = false;
      ++frames_;
      if (onFrame_) onFrame_(now);
    }
    return handled;
  }

private:
  static inline QtMessageHandler previous_ = nullptr;
  const QObject* watched_ = nullptr;
  std::function<void(Clock::time_point)> onFrame_;
  int depth_ = 0;
  bool painted_ = false;
  long frames_ = 0;
};

// The resident set's high-water mark in KiB, from /proc/self/status; 0 if not readable.
inline long peakKib() {
  long kib = 0;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::atol(line + 6);
    std::fclose(status);
  }
  return kib;
}

inline long maxRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace bench
