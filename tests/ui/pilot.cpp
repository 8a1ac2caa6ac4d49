// A pilot for the real executable: preloaded into it (LD_PRELOAD), it plays the script named by
// CORVANI_PILOT on the window, as a user would, for the tests of the exits and of the program's I/O.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "model/textos.h"

namespace {

namespace t = corvani::textos;

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void say(const std::string& line) {
  std::fprintf(stderr, "pilot: %s\n", line.c_str());
  std::fflush(stderr);
}

[[noreturn]] void giveUp(const std::string& why) {
  say("gives up: " + why);
  std::_Exit(70);
}

QMainWindow* window() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
  return nullptr;
}

QMessageBox* openBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

// A press and release at the widget's centre, through its window, as the platform delivers them.
void clickOn(QWidget* w) {
  QWidget* top = w->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, w->mapTo(top, w->rect().center()));
}

// The steps run one at a time from a timer. The next one is scheduled before a step runs, so the
// script goes on inside the event loop of a box that the step opens. A step returns false to be
// tried again (waiting for a box); one that opens a box does not return until the box is closed.
class Script : public QObject {
public:
  using Step = std::function<bool()>;

  void add(Step step) { steps_.push_back(std::move(step)); }

  void click(const QString& name) {
    add([name] {
      auto* b = window()->findChild<QAbstractButton*>(name);
      if (!b || !b->isVisible() || !b->isEnabled()) giveUp("no enabled button " + name.toStdString());
      clickOn(b);
      return true;
    });
  }
  void menu(std::string_view text) {
    add([text = qs(text)] {
      for (QAction* a : window()->findChildren<QAction*>())
        if (a->text() == text) return a->trigger(), true;
      giveUp("no menu item " + text.toStdString());
    });
  }
  // Waits for a box, checks its text and presses its button.
  void answer(std::string_view text) {
    add([this, text = qs(text)] {
      QMessageBox* box = openBox();
      if (!box) return false;
      if (box->text() != text) giveUp("box reads " + box->text().toStdString());
      clickOn(box->button(QMessageBox::Ok));
      ++answered_;
      return true;
    });
  }
  void scrollDown() {
    add([] {
      auto* bar = window()->findChild<QScrollBar*>(QStringLiteral("VSllum"));
      if (!bar) giveUp("no scroll bar");
      QWidget* top = bar->window();
      QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                        bar->mapTo(top, QPoint(bar->width() / 2, bar->height() - 3)));
      if (bar->value() != 1) giveUp("the scroll bar did not move");
      return true;
    });
  }
  void say(const std::string& line) {
    add([this, line] {
      ::say(line + " (" + std::to_string(answered_) + " boxes answered)");
      return true;
    });
  }

  void start() {
    // The window is up once it is shown; the script starts from there.
    steps_.insert(steps_.begin(), [] { return window() && window()->windowHandle() && window()->windowHandle()->isExposed(); });
    QTimer::singleShot(0, this, &Script::tick);
  }

private:
  void tick() {
    if (next_ == steps_.size()) return;
    if (++tries_ > 2000) giveUp("stuck at step " + std::to_string(next_));
    QTimer::singleShot(5, this, &Script::tick);
    const std::size_t at = next_++;
    if (steps_[at]()) {
      tries_ = 0;
    } else if (next_ == at + 1) {
      next_ = at;
    }
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int tries_ = 0;
  int answered_ = 0;
};

void lampsFiltersAndInk(Script& s) {
  s.click("cmdLlum(0)");
  s.click("cmdLlum(1)");
  s.click("cmdfiltre(5)");
  s.click("cmdfiltre(3)");
  s.click("cmdTinta(3)");
  s.click("cmdTinta(5)");
}

void build(Script& s, const std::string& scenario) {
  if (scenario == "session") {
    // Every handler, every box, then the way out the menu offers.
    s.click("cmdLlum(0)");
    s.click("cmdLlum(1)");
    s.click("cmdLlum(2)");
    s.click("cmdLlumOff(1)");
    s.click("cmdBlanca");
    for (int i = 0; i < 6; ++i) {
      s.click(QStringLiteral("cmdfiltre(%1)").arg(i));
      if (i >= 3) s.answer(t::limitFiltres);
    }
    s.click("cmdAnalisi");
    s.scrollDown();
    s.click("cmdForaFiltres");
    s.click("cmdfiltre(4)");
    s.click("cmdBlanca");
    s.click("cmdBuidaPot");
    s.answer(t::potBuitBuidar);
    s.click("cmdPinta");
    s.answer(t::potBuitPintar);
    for (int i : {3, 4, 5}) s.click(QStringLiteral("cmdTinta(%1)").arg(i));
    s.click("cmdTinta(3)");
    s.answer(t::potPle);
    s.click("cmdLlum(2)");
    s.click("cmdPinta");
    s.click("cmdFull");
    s.click("cmdBuidaPot");
    s.menu(t::mnusobre);
    std::string sobre;
    for (std::string_view piece : t::sobre) sobre += piece;
    s.answer(sobre);
    s.menu(t::mnuComFunciona);
    s.answer(t::comFunciona);
    s.menu(t::mnuMesInfo);
    s.answer(t::mesInformacio);
    s.menu(t::mnuFiltres);
    s.menu(t::mnuTintes);
    s.menu(t::mnuComplet);
    s.click("cmdTorna");
    s.say("session done");
    s.menu(t::mnuSortir);
  } else if (scenario == "sortir") {
    lampsFiltersAndInk(s);
    s.say("leaving by the menu");
    s.menu(t::mnuSortir);
  } else if (scenario == "close-during-box") {
    // The title bar's close button, pressed while a box is up: Qt refuses it, as the box is
    // modal; the box's own close button then closes the box, and the main window's the window.
    lampsFiltersAndInk(s);
    s.menu(t::mnuComFunciona);
    s.add([] { return openBox() != nullptr; });
    s.add([] {
      QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(window()->windowHandle());
      if (!openBox() || !window()) giveUp("the window closed under its box");
      return true;
    });
    s.add([] {
      QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(openBox()->windowHandle());
      return true;
    });
    s.add([] { return openBox() == nullptr; });
    s.say("closing the window");
    s.add([] {
      QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(window()->windowHandle());
      return true;
    });
  } else if (scenario == "close-window-with-box") {
    // The window closed while its box is up, as a session's end or the window's close() does.
    lampsFiltersAndInk(s);
    s.menu(t::mnuMesInfo);
    s.add([] { return openBox() != nullptr; });
    s.say("closing the window under its box");
    s.add([] { return window()->close(), true; });
  } else if (scenario == "wait") {
    lampsFiltersAndInk(s);
    s.menu(t::mnusobre);
    s.add([] { return openBox() != nullptr; });
    s.say("ready, with a box open");
  } else {
    giveUp("no scenario " + scenario);
  }
}

void start() {
  const char* scenario = std::getenv("CORVANI_PILOT");
  if (!scenario) return;
  auto* script = new Script;
  script->setParent(qApp);
  build(*script, scenario);
  script->start();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
