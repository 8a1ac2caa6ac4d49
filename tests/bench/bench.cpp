// `make bench`: start-up to the first frame and peak memory of the real window against a bare
// one (fresh processes, alternated), and click-to-finished-frame times on the real window at a
// device pixel ratio of 1 and of 3 (in fresh processes of this program, four rounds alternated).
#define QTEST_QPA_MOUSE_HANDLING  // clicks enter through the window, as the platform's do
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "model/textos.h"
#include "probe.h"
#include "ui/form1.h"

extern char** environ;

namespace {

using bench::Clock;
using corvani::Ctl;

double micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "corvani-bench: %s\n", what.c_str());
  std::exit(2);
}

// Nearest-rank percentile of a sample, p in (0, 1].
double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size())));
  return v[std::max<std::size_t>(rank, 1) - 1];
}
double median(const std::vector<double>& v) { return percentile(v, 0.5); }

struct Start {
  double launchUs;  // from spawning the process to reading its line: what a user waits
  double mainUs;    // from main() to the finished frame, as the child measured it
  double hwmKib, rssKib;
};

// Starts a process with its standard output on a pipe; the caller reads it, then waits.
pid_t spawnPiped(const char* path, std::vector<std::string> args, char** env, int& out) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) die("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  args.insert(args.begin(), path);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, path, &actions, nullptr, argv.data(), env) != 0) die(std::string("cannot start ") + path);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  out = fds[0];
  return pid;
}

Start runChild(const char* path) {
  int out = -1;
  const auto spawned = Clock::now();
  const pid_t pid = spawnPiped(path, {}, environ, out);
  std::string line;
  char c;
  while (read(out, &c, 1) == 1 && c != '\n') line += c;
  const auto answered = Clock::now();
  close(out);
  int status = 0;
  waitpid(pid, &status, 0);
  long long us = 0;
  long hwm = 0, rss = 0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || std::sscanf(line.c_str(), "%lld %ld %ld", &us, &hwm, &rss) != 3)
    die(std::string(path) + " did not report a first frame");
  return {micros(answered - spawned), static_cast<double>(us), static_cast<double>(hwm), static_cast<double>(rss)};
}

struct Verdicts {
  int missed = 0;
  void check(const char* goal, bool met) {
    std::printf("  goal %-46s %s\n", goal, met ? "met" : "NOT MET");
    if (!met) ++missed;
  }
  // A figure shown for what it tells, with the reason it sets no goal.
  void report(const char* figure, const char* why) { std::printf("  %-51s reported, not judged: %s\n", figure, why); }
};

void startUp(int runs, Verdicts& verdicts) {
  std::vector<double> launch[2], inMain[2], hwm[2], rss[2];
  const char* paths[2] = {CORVANI_BENCH_REAL, CORVANI_BENCH_BARE};
  for (int i = -2; i < runs; ++i)  // two rounds first to warm the page cache, not counted
    for (int k = 0; k < 2; ++k) {  // alternated, so drifts in the machine's load touch both
      const Start s = runChild(paths[k]);
      if (i < 0) continue;
      launch[k].push_back(s.launchUs);
      inMain[k].push_back(s.mainUs);
      hwm[k].push_back(s.hwmKib);
      rss[k].push_back(s.rssKib);
    }
  std::printf("Start-up to the first finished frame, median of %d fresh processes each:\n", runs);
  std::printf("  %-34s %10s %10s %7s\n", "", "real", "bare", "ratio");
  const double launchRatio = median(launch[0]) / median(launch[1]);
  std::printf("  %-34s %8.1f ms %8.1f ms %7.3f\n", "launch to frame", median(launch[0]) / 1000,
              median(launch[1]) / 1000, launchRatio);
  const double mainRatio = median(inMain[0]) / median(inMain[1]);
  std::printf("  %-34s %8.1f ms %8.1f ms %7.3f\n", "main() to frame", median(inMain[0]) / 1000,
              median(inMain[1]) / 1000, mainRatio);
  std::printf("Peak memory at the first frame, median:\n");
  const double extraMib = (median(hwm[0]) - median(hwm[1])) / 1024;
  std::printf("  %-34s %7.1f MiB %7.1f MiB %+7.1f MiB\n", "VmHWM", median(hwm[0]) / 1024, median(hwm[1]) / 1024,
              extraMib);
  std::printf("  %-34s %7.1f MiB %7.1f MiB %+7.1f MiB\n", "getrusage maxrss", median(rss[0]) / 1024,
              median(rss[1]) / 1024, (median(rss[0]) - median(rss[1])) / 1024);
  verdicts.check("launch-to-frame ratio <= 1.10", launchRatio <= 1.10);
  verdicts.report("main()-to-frame ratio",
                  "the real window sets up fonts the bare one does not use (Liberation Sans at four sizes)");
  verdicts.check("peak memory <= 5 MiB over the bare window", extraMib <= 5);
}

// The real window, clicked through its platform window; each time runs from just before the
// click to the end of the frame it caused.
class Clicker {
public:
  Clicker(bench::ProbeApp& app, corvani::Form1& form) : app_(app), form_(form) {
    app_.watch(&form_.llenc());
    app_.onFrame([this](Clock::time_point t) { frame_ = t; });
    form_.setMessageHandler([this](const QString&) { ++messages_; });
    frame_.reset();
    form_.show();
    waitForFrame();
  }

  double click(Ctl c) {
    QWidget* w = form_.widget(c);
    return clickAt(w, w->rect().center());
  }

  // The scroll bar's arrow that moves it down (add) or up.
  double clickArrow(Ctl c, bool add) {
    auto* bar = qobject_cast<QScrollBar*>(form_.widget(c));
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QRect arrow = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     add ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine, bar);
    return clickAt(bar, arrow.center());
  }

  int messages() const { return messages_; }
  double framesPerClick() const { return clicks_ ? static_cast<double>(framesPerClick_) / clicks_ : 0; }

private:
  double clickAt(QWidget* w, QPoint local) {
    if (!w || !w->isVisible() || !w->isEnabled()) die("a control to click is hidden or disabled");
    frame_.reset();
    const long before = app_.frames();
    const auto clicked = Clock::now();
    QTest::mouseClick(form_.windowHandle(), Qt::LeftButton, {}, w->mapTo(&form_, local));
    // A pressed button repaints at once, and with it the surface beneath: the press makes a
    // frame of its own. What counts is the last frame, after the release's handler ran, so
    // every posted update is let through; the time noted is that frame's end, not this wait's.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    waitForFrame();
    framesPerClick_ += app_.frames() - before;
    ++clicks_;
    return micros(*frame_ - clicked);
  }

  void waitForFrame() {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!frame_) {
      if (Clock::now() > deadline) die("no frame painted the drawing surface within 5 s");
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }

  bench::ProbeApp& app_;
  corvani::Form1& form_;
  std::optional<Clock::time_point> frame_;
  int messages_ = 0;
  long framesPerClick_ = 0, clicks_ = 0;
};

constexpr std::array<const char*, 4> clickKinds = {"lamp (red on/off, green+blue on)", "filter (all lamps on)",
                                                    "analysis toggle", "direction change (scroll bar)"};

struct Series {
  const char* name;
  std::vector<double> us;
};

// The clicks of one process, reported on standard output for runClicks: the window's size in
// device pixels, a line per kind with every time, then the frames per click and the peak memory
// in KiB.
void clicks(bench::ProbeApp& app, int count) {
  corvani::Form1 form;
  Clicker clicker(app, form);
  const corvani::Estat& e = form.banc().estat();
  auto expect = [](bool ok, const char* what) {
    if (!ok) die(std::string("a click did not take effect: ") + what);
  };
  std::vector<Series> series;
  for (const char* kind : clickKinds) series.push_back({kind, {}});
  const QSize device = form.size() * form.devicePixelRatioF();
  std::printf("%d x %d\n", device.width(), device.height());
  constexpr int warmUp = 20;

  clicker.click(corvani::cmdLlum(1));
  clicker.click(corvani::cmdLlum(2));
  for (int i = -warmUp; i < count; ++i) {
    const bool on = i % 2 == 0;
    const double us = clicker.click(on ? corvani::cmdLlum(0) : corvani::cmdLlumOff(0));
    expect(((e.llums & 4) != 0) == on, "lamp");
    if (i >= 0) series[0].us.push_back(us);
  }
  if (e.llums & 4) clicker.click(corvani::cmdLlumOff(0));
  clicker.click(corvani::cmdLlum(0));

  for (int i = -warmUp; i < count; ++i) {
    if (e.nfiltres == corvani::slotCount) clicker.click(Ctl::cmdForaFiltres);  // a fourth shows a message
    const int before = e.nfiltres;
    const double us = clicker.click(corvani::cmdfiltre(((i % 6) + 6) % 6));
    expect(e.nfiltres == before + 1, "filter");
    if (i >= 0) series[1].us.push_back(us);
  }
  if (e.nfiltres > 0) clicker.click(Ctl::cmdForaFiltres);

  for (int i = -warmUp; i < count; ++i) {
    const auto before = e.analisi;
    const double us = clicker.click(Ctl::cmdAnalisi);
    expect(e.analisi != before, "analysis");
    if (i >= 0) series[2].us.push_back(us);
  }
  if (e.analisi) clicker.click(Ctl::cmdAnalisi);

  for (int i = -warmUp; i < count; ++i) {
    const bool down = e.direccio == 0;
    const double us = clicker.clickArrow(Ctl::VSllum, down);
    expect(e.direccio == (down ? 1 : 0), "direction");
    if (i >= 0) series[3].us.push_back(us);
  }
  if (clicker.messages() != 0) die("a click opened a message box");

  // Every time in microseconds, a line per kind.
  for (const Series& s : series) {
    for (double us : s.us) std::printf("%.1f ", us);
    std::printf("\n");
  }
  std::printf("%.3f %ld\n", clicker.framesPerClick(), bench::peakKib());
}

struct Figures {
  double median = 0, p99 = 0, max = 0;
};
struct ClickRun {
  std::array<std::vector<double>, clickKinds.size()> us;
  double framesPerClick = 0;
  double peakKib = 0;
  std::string size;
  Figures figures(std::size_t kind) const {
    const std::vector<double>& v = us[kind];
    return {median(v), percentile(v, 0.99), *std::max_element(v.begin(), v.end())};
  }
};

// The clicks in a fresh process of this program at a device pixel ratio set through
// QT_SCALE_FACTOR, so that both ratios run against the same build and in the same run. Its times
// are added to the run's.
void runClicks(const char* self, int count, const char* scaleFactor, ClickRun& run) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "QT_SCALE_FACTOR=", 16) != 0) env.emplace_back(*e);
  env.push_back(std::string("QT_SCALE_FACTOR=") + scaleFactor);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  int out = -1;
  const pid_t pid = spawnPiped(self, {"--clicks-child", std::to_string(count)}, envp.data(), out);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(out, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  close(out);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) die(std::string("the clicks at scale ") + scaleFactor + " failed");
  std::size_t at = 0;
  auto nextLine = [&] {
    const std::size_t end = text.find('\n', at);
    if (end == std::string::npos) die(std::string("the clicks at scale ") + scaleFactor + " reported too little");
    std::string line = text.substr(at, end - at);
    at = end + 1;
    return line;
  };
  run.size = nextLine();
  for (std::vector<double>& kind : run.us) {
    const std::string line = nextLine();
    const char* p = line.c_str();
    char* next = nullptr;
    int read = 0;
    for (double us = std::strtod(p, &next); next != p; us = std::strtod(p, &next), ++read) {
      kind.push_back(us);
      p = next;
    }
    if (read != count) die("unreadable click times");
  }
  double frames = 0, peak = 0;
  if (std::sscanf(nextLine().c_str(), "%lf %lf", &frames, &peak) != 2) die("unreadable click figures");
  run.framesPerClick = frames;  // the same in every process
  run.peakKib = std::max(run.peakKib, peak);
}

constexpr int rounds = 4;

void reportClicks(const ClickRun& one, const ClickRun& three, int count, Verdicts& verdicts) {
  std::printf("Click to finished frame on the real window, %d clicks each in %d processes, in microseconds:\n", count,
              rounds);
  std::printf("  %-34s %27s   %27s   %7s\n", "", "scale 1", "QT_SCALE_FACTOR=3", "3x/1x");
  std::printf("  %-34s %8s %8s %9s   %8s %8s %9s   %7s\n", "", "median", "p99", "max", "median", "p99", "max", "median");
  bool fastAtOne = true, fastAtThree = true, steadyTail = true;
  for (std::size_t k = 0; k < clickKinds.size(); ++k) {
    const Figures a = one.figures(k), b = three.figures(k);
    std::printf("  %-34s %8.0f %8.0f %9.0f   %8.0f %8.0f %9.0f   %7.2f\n", clickKinds[k], a.median, a.p99, a.max,
                b.median, b.p99, b.max, b.median / a.median);
    fastAtOne = fastAtOne && a.median <= 250;
    fastAtThree = fastAtThree && b.median <= 500;
    steadyTail = steadyTail && a.p99 <= 1000 && b.p99 <= 1000;
  }
  std::printf("  window in device pixels: %s at scale 1, %s at QT_SCALE_FACTOR=3\n", one.size.c_str(), three.size.c_str());
  std::printf("  frames per click, on average: %.2f and %.2f (the press, then the click's effect)\n", one.framesPerClick,
              three.framesPerClick);
  std::printf("  peak memory of the clicking process: %.1f MiB and %.1f MiB (includes QtTest)\n", one.peakKib / 1024,
              three.peakKib / 1024);
  verdicts.check("click median <= 0.25 ms at scale 1, every kind", fastAtOne);
  verdicts.check("click median <= 0.5 ms at scale 3, every kind", fastAtThree);
  verdicts.check("click p99 <= 1 ms at both scales, every kind", steadyTail);
  verdicts.report("click median at 3 against at 1",
                  "nine times the pixels to fill; the medians at each scale are judged");
}

}  // namespace

int main(int argc, char* argv[]) {
  int runs = 30, count = 1000;
  bool clicksChild = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::atoi(argv[i + 1]);
    else if (option == "--clicks") count = std::atoi(argv[i + 1]);
    else if (option == "--clicks-child") clicksChild = true, count = std::atoi(argv[i + 1]);
    else die("usage: corvani-bench [--runs N] [--clicks N]");
  }
  if (runs < 1 || count < 1) die("--runs and --clicks take a positive count");
  // A screen large enough that the window opens at its full size at three device pixels to one.
  setenv("QT_QPA_PLATFORM", "offscreen:configfile=" CORVANI_OFFSCREEN_CONFIG, 0);

  if (clicksChild) {
    bench::ProbeApp app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setApplicationName(QString::fromUtf8(corvani::textos::nomPrograma.data()));
    clicks(app, count);
    return 0;
  }
  Verdicts verdicts;
  startUp(runs, verdicts);
  // In rounds, alternated, so that drifts in the machine's speed touch both ratios alike.
  const int perRound = std::max(1, count / rounds);
  ClickRun one, three;
  for (int r = 0; r < rounds; ++r) {
    runClicks("/proc/self/exe", perRound, "1", one);
    runClicks("/proc/self/exe", perRound, "3", three);
  }
  reportClicks(one, three, perRound * rounds, verdicts);
  return verdicts.missed == 0 ? 0 : 1;
}
