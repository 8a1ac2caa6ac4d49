// Randomized runs of the real window, offscreen: clicks, scroll-bar arrows, keys, menu items and
// resizes, checking after each event that every widget and the drawing show what the bench holds.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QtTest>

#include <deque>
#include <iostream>
#include <random>
#include <set>
#include <sstream>

#include "menu_item.h"
#include "tests/model/stress_invariants.h"
#include "ui/form1.h"
#include "view/raig.h"

using namespace corvani;
using namespace corvani::stress;

namespace {

// What a fresh drawing of the bench would leave on the surface, in the Llenc's own terms.
struct FreshDrawing : Surface {
  std::vector<Llenc::Trace> traces;
  int width = 1;
  void clear() override { traces.clear(); }
  void setLineWidth(int pixels) override { width = pixels; }
  void line(Point from, Point to, Color color) override { traces.push_back({from, to, color, width, std::nullopt}); }
  void repaintShape(Ctl shape) override { traces.push_back({{}, {}, 0, width, shape}); }
};

bool same(const Llenc::Trace& a, const Llenc::Trace& b) {
  return a.shape == b.shape && a.width == b.width && (a.shape || (a.from == b.from && a.to == b.to && a.color == b.color));
}

std::vector<Llenc::Trace> linesOf(const std::vector<Llenc::Trace>& traces) {
  std::vector<Llenc::Trace> lines;
  for (const auto& t : traces)
    if (!t.shape) lines.push_back(t);
  return lines;
}

bool sameList(const std::vector<Llenc::Trace>& a, const std::vector<Llenc::Trace>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

// The Llenc holds the last drawing. The handlers that do not redraw (a filter or the paint while
// every lamp is off, the ink buttons, and the clears) leave lines that a fresh drawing would draw
// the same, all dark; only the filters repainted on top may lag until the next drawing.
std::string drawingFault(const Estat& e, const std::vector<Llenc::Trace>& traces) {
  std::ostringstream os;
  bool shapes = false;
  for (const auto& t : traces) {
    if (t.shape) {
      shapes = true;
      if (t.width != 1) os << "a filter repainted at width " << t.width << "; ";
    } else {
      if (shapes) os << "a line over the repainted filters; ";
      os << lineFault(t.from, t.to, t.color, t.width, e);
    }
  }
  Estat copy = e;
  FreshDrawing fresh;
  pintaraig(copy, fresh);
  if (e.llums > 0 ? !sameList(traces, fresh.traces) : !(traces.empty() || sameList(linesOf(traces), linesOf(fresh.traces))))
    os << "the surface holds " << traces.size() << " traces, not the " << fresh.traces.size() << " of the bench's drawing; ";
  for (std::size_t i = 0, s = 0; i < traces.size(); ++i)
    if (traces[i].shape && *traces[i].shape != shpFiltre(static_cast<int>(s++))) os << "filters repainted out of slot order; ";
  return os.str();
}

// Every widget against the control it shows.
std::string widgetFault(const Form1& form) {
  std::ostringstream os;
  const Controls& k = form.banc().controls();
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    const QWidget* w = form.widget(c);
    if (!w) continue;
    if (w->isHidden() == k.visible(c)) os << nameOf(c) << (k.visible(c) ? " hidden" : " shown") << "; ";
    if (w->isEnabled() != k.enabled(c)) os << nameOf(c) << (k.enabled(c) ? " disabled" : " enabled") << "; ";
    if (auto* b = qobject_cast<const QAbstractButton*>(w); b && b->text() != QString::fromStdString(k.caption(c)))
      os << nameOf(c) << " reads '" << b->text().toStdString() << "'; ";
    if (auto* bar = qobject_cast<const QScrollBar*>(w); bar && bar->value() != k[c].value)
      os << nameOf(c) << " at " << bar->value() << " instead of " << k[c].value << "; ";
  }
  return os.str();
}

QRect arrowRect(QScrollBar* bar, QStyle::SubControl arrow) {
  QStyleOptionSlider opt;
  opt.initFrom(bar);
  opt.subControls = QStyle::SC_All;
  opt.orientation = bar->orientation();
  opt.minimum = bar->minimum();
  opt.maximum = bar->maximum();
  opt.sliderPosition = opt.sliderValue = bar->value();
  opt.singleStep = bar->singleStep();
  opt.pageStep = bar->pageStep();
  opt.upsideDown = bar->invertedAppearance();
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, arrow, bar);
}

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* name;
};
const Key keys[] = {
    {Qt::Key_Tab, Qt::NoModifier, "Tab"},      {Qt::Key_Tab, Qt::ShiftModifier, "Shift+Tab"},
    {Qt::Key_Space, Qt::NoModifier, "Space"},  {Qt::Key_Return, Qt::NoModifier, "Return"},
    {Qt::Key_Enter, Qt::KeypadModifier, "Enter"}, {Qt::Key_Up, Qt::NoModifier, "Up"},
    {Qt::Key_Down, Qt::NoModifier, "Down"},    {Qt::Key_Left, Qt::NoModifier, "Left"},
    {Qt::Key_Right, Qt::NoModifier, "Right"},  {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
    {Qt::Key_Home, Qt::NoModifier, "Home"},
};

}  // namespace

class UiStress : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }
  void everyEventKeepsTheWindowTrueToTheBench();
  void aKeyPressReachesTheBenchOnlyWhileItsButtonIsEnabled();
};

// The shortest case the randomized run keeps finding: Return on the red lamp, then a click on it
// at once. The lamp goes on and its button is disabled; nothing may then turn it on a second time.
// The wait lets any press still pending from the key come to its end (Qt's is 100 ms).
void UiStress::aKeyPressReachesTheBenchOnlyWhileItsButtonIsEnabled() {
  Form1 form;
  form.setMessageHandler([](const QString&) {});
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QWidget* red = form.widget(cmdLlum(0));
  red->setFocus();
  QTest::keyClick(form.windowHandle(), Qt::Key_Return);
  QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, red->mapTo(&form, red->rect().center()));
  QTest::qWait(300);
  QCOMPARE(form.banc().estat().llums, std::int16_t{4});
  QVERIFY(!red->isEnabled());
}

void UiStress::everyEventKeepsTheWindowTrueToTheBench() {
  const std::uint64_t seed = seedFromEnvironment((std::uint64_t{std::random_device{}()} << 32) | std::random_device{}());
  const long events = countFromEnvironment("CORVANI_STRESS_EVENTS", 10'000);
  std::cout << "CORVANI_SEED=" << seed << " CORVANI_STRESS_EVENTS=" << events << std::endl;
  std::mt19937_64 rng(seed);
  auto pick = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };

  Form1 form;
  std::vector<std::string> shown;
  // Each box is the window's real one, answered by a click on its button from within its own
  // event loop: the window is blocked and timers still run while it is up, as for the user.
  form.setMessageHandler([&shown, &form](const QString& text) {
    shown.push_back(text.toStdString());
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        answer.stop();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      }
    });
    answer.start();
    form.showMessageBox(text);
  });
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QWindow* window = form.windowHandle();
  const QSize opening = form.size();

  // Which clicks reached the bench during an event, and whether a button that could not be clicked
  // made the bench do anything: a button emits released just before clicked, so the bench is
  // caught as it was before the click, and seen again once its handler has run.
  std::vector<Ctl> clicks;
  std::string fault;
  struct Before {
    bool clickable = true;
    Estat estat;
    std::vector<ControlState> controls;
    std::size_t boxes = 0;
  };
  std::array<Before, controlCount> atRelease;
  auto controlsNow = [&form] {
    std::vector<ControlState> all;
    for (std::size_t i = 0; i < controlCount; ++i) all.push_back(form.banc().controls()[static_cast<Ctl>(i)]);
    return all;
  };
  auto sameControls = [](const std::vector<ControlState>& a, const std::vector<ControlState>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ControlState& x, const ControlState& y) {
      return x.visible == y.visible && x.enabled == y.enabled && x.caption == y.caption && x.back == y.back &&
             x.fill == y.fill && x.top == y.top && x.height == y.height && x.value == y.value;
    });
  };
  // The hooks are declared after what they write to, so that they go first: the window, as it is
  // destroyed, still releases a button that a key left pressed.
  QObject hooks;
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    auto* b = qobject_cast<QAbstractButton*>(form.widget(c));
    if (!b) continue;
    connect(b, &QAbstractButton::released, &hooks, [&, c] {
      const Controls& k = form.banc().controls();
      atRelease[ord(c)] = {k.visible(c) && k.enabled(c), form.banc().estat(), controlsNow(), shown.size()};
    });
    connect(b, &QAbstractButton::clicked, &hooks, [&, c] {
      const Before& was = atRelease[ord(c)];
      if (was.clickable) clicks.push_back(c);
      if (!was.clickable && (!(was.estat == form.banc().estat()) || !sameControls(was.controls, controlsNow()) ||
                             was.boxes != shown.size()))
        fault += "a click reached the bench from " + nameOf(c) + " while it was hidden or disabled; ";
    });
  }

  // The drawing must really be painted as the run goes, for the sanitizers to see its code run.
  struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override { return paints += e->type() == QEvent::Paint, false; }
  } counter;
  form.llenc().installEventFilter(&counter);
  std::set<std::string> reached;  // the buttons whose clicks reached the bench, and the boxes seen
  long keysSent = 0, keysOnAWidget = 0;
  std::deque<std::string> recent;
  QElapsedTimer clock;
  clock.start();
  std::discrete_distribution<int> kindOf({35, 5, 10, 35, 13, 2});
  for (long n = 0; n < events; ++n) {
    const Estat before = form.banc().estat();
    const Controls& k = form.banc().controls();
    clicks.clear();
    shown.clear();
    std::string what;
    std::optional<Ctl> aimed;             // the button under the pointer, for a click
    std::optional<std::string> box;       // the box a menu item must open
    bool menu = false, mustNotChange = false;
    std::optional<std::int16_t> direccio;  // where an arrow must leave the scroll bar

    auto clickAt = [&](QPoint inForm) {
      QWidget* target = form.childAt(inForm);
      for (std::size_t i = 0; i < controlCount; ++i)
        if (target && target == form.widget(static_cast<Ctl>(i)) && isButton(static_cast<Ctl>(i)) && target->isEnabled())
          aimed = static_cast<Ctl>(i);
      QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, inForm);
    };

    switch (kindOf(rng)) {
      case 0: {  // a visible, enabled button
        std::vector<Ctl> buttons;
        for (std::size_t i = 0; i < controlCount; ++i) {
          const Ctl c = static_cast<Ctl>(i);
          if (isButton(c) && !form.widget(c)->isHidden() && form.widget(c)->isEnabled()) buttons.push_back(c);
        }
        const Ctl c = buttons[pick(buttons.size())];
        QWidget* w = form.widget(c);
        const QPoint centre = w->mapTo(&form, w->rect().center());
        what = "click " + nameOf(c);
        if (form.childAt(centre) != w) fault += nameOf(c) + " is covered at its centre; ";
        clickAt(centre);
        if (aimed != c) aimed.reset();
        break;
      }
      case 1: {  // anywhere on the client area
        const QRect area = form.client()->rect();
        const QPoint p = form.client()->mapTo(&form, QPoint(int(pick(area.width())), int(pick(area.height()))));
        what = "click at " + std::to_string(p.x()) + "," + std::to_string(p.y());
        clickAt(p);
        mustNotChange = !aimed && !(form.childAt(p) && form.childAt(p) == form.widget(Ctl::VSllum));
        break;
      }
      case 2: {  // one of the scroll bar's arrows
        auto* bar = static_cast<QScrollBar*>(form.widget(Ctl::VSllum));
        if (bar->isHidden() || !bar->isEnabled()) continue;
        const bool add = pick(2) == 1;
        const QRect r = arrowRect(bar, add ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine);
        what = add ? "arrow down" : "arrow up";
        direccio = static_cast<std::int16_t>(add ? 1 : 0);
        clickAt(bar->mapTo(&form, r.center()));
        break;
      }
      case 3: {
        const Key& key = keys[pick(std::size(keys))];
        QWidget* focus = QApplication::focusWidget();
        keysOnAWidget += focus != nullptr;
        ++keysSent;
        what = std::string("key ") + key.name + " on " + (focus ? focus->objectName().toStdString() : "nothing");
        QTest::keyClick(window, key.key, key.modifiers);
        break;
      }
      case 4: {
        const Menu m = benchMenus[pick(benchMenus.size())];
        what = "menu " + form.action(m)->text().toStdString();
        box = expectedBoxForMenu(m);
        menu = true;
        test::chooseNow(form.action(m));
        break;
      }
      case 5: {
        const QSize size(opening.width() / 2 + int(pick(opening.width() * 3 / 2)),
                         opening.height() / 2 + int(pick(opening.height() * 3 / 2)));
        what = "resize to " + std::to_string(size.width()) + "x" + std::to_string(size.height());
        form.resize(size);
        break;
      }
    }
    QCoreApplication::processEvents();
    // The offscreen platform gives no window the focus back when a box closes; a desktop does.
    if (QApplication::activeWindow() != &form) {
      form.activateWindow();
      QCoreApplication::processEvents();
    }
    // Long enough to reach back past the 100 ms of a key's delayed click, with the time of each.
    recent.push_back(std::to_string(clock.elapsed()) + " ms: " + what);
    if (recent.size() > 200) recent.pop_front();

    const Estat& after = form.banc().estat();
    if (aimed && std::find(clicks.begin(), clicks.end(), *aimed) == clicks.end()) fault += "the click did not reach " + nameOf(*aimed) + "; ";
    // The boxes are predictable when the event made exactly the click it aimed at, or none.
    if (!menu && clicks.size() <= 1) {
      const auto text = clicks.empty() ? std::nullopt : expectedBoxForClick(clicks.front(), before);
      if (shown != (text ? std::vector<std::string>{std::string(*text)} : std::vector<std::string>{}))
        fault += std::to_string(shown.size()) + " message boxes; ";
    }
    if (menu && clicks.empty() && shown != (box ? std::vector<std::string>{*box} : std::vector<std::string>{}))
      fault += std::to_string(shown.size()) + " message boxes for the menu item; ";
    if (mustNotChange && clicks.empty() && !(after == before)) fault += "a click on no button changed the bench; ";
    if (direccio && clicks.empty() && after.direccio != *direccio) fault += "the arrow left direccio at " + std::to_string(after.direccio) + "; ";
    for (Ctl c : clicks) reached.insert(nameOf(c));
    for (const std::string& text : shown) reached.insert(text);
    fault += benchFault(after, k) + widgetFault(form) + drawingFault(after, form.llenc().traces());
    if (!fault.empty()) {
      std::ostringstream history;
      for (const std::string& r : recent) history << "\n  " << r;
      QFAIL(("after event " + std::to_string(n + 1) + " (" + what + "): " + fault + "\nbefore: " + describe(before) +
             "\nafter:  " + describe(after) + "\nlast events:" + history.str() + "\nseed: CORVANI_SEED=" +
             std::to_string(seed) + " (delayed clicks land where the clock puts them)")
                .c_str());
    }
  }

  // A run long enough must have clicked every button that can be shown and opened every box,
  // or the events are not testing what they claim to.
  std::cout << events << " events in " << clock.elapsed() << " ms, " << counter.paints << " paints of the drawing" << std::endl;
  if (events >= 100) QVERIFY(counter.paints > 0);
  if (events >= 10000) {
    for (std::size_t i = 0; i < controlCount; ++i) {
      const Ctl c = static_cast<Ctl>(i);
      if (isButton(c) && (layoutOf(c).visible || layoutOf(c).name != "cmdTinta"))
        QVERIFY2(reached.count(nameOf(c)), (nameOf(c) + " never clicked").c_str());
    }
    QVERIFY2(keysOnAWidget * 10 >= keysSent * 9, "most keys found no widget with the focus");
    for (std::string text : {std::string(textos::limitFiltres), std::string(textos::potPle),
                             std::string(textos::potBuitBuidar), std::string(textos::potBuitPintar), sobreText()})
      QVERIFY2(reached.count(text), ("never shown: " + text).c_str());
  }
}

QTEST_MAIN(UiStress)
#include "stress_test.moc"
