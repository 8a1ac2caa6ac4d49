// The window used from the keyboard alone: the menus' access letters, the Tab order, Space and
// Enter on buttons, the arrow keys on the direction scroll bar, and focus that survives changes.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <set>

#include "menu_item.h"
#include "model/layout.h"
#include "model/textos.h"
#include "ui/form1.h"
#include "ui/qttext.h"

Q_DECLARE_METATYPE(corvani::Ctl)

using namespace corvani;

namespace {

// A shown, active window whose message boxes are recorded instead of opened.
struct Window {
  Form1 form;
  QStringList messages;

  Window() {
    form.setMessageHandler([this](const QString& text) { messages << text; });
    form.show();
    form.activateWindow();
  }
  bool active() { return QTest::qWaitForWindowActive(&form); }
  QWidget* w(Ctl c) const { return form.widget(c); }
  bool shown(Ctl c) const { return !w(c)->isHidden(); }
  void click(const QList<Ctl>& cs) {
    for (Ctl c : cs) qobject_cast<QAbstractButton*>(w(c))->click();
  }
  QString controlName(QWidget* widget) const {
    if (!widget) return QStringLiteral("(no focus)");
    for (std::size_t i = 0; i < controlCount; ++i)
      if (form.widget(Ctl(i)) == widget) return ::controlName(Ctl(i));
    return QString::fromUtf8(widget->metaObject()->className());
  }
  QString focused() const { return controlName(QApplication::focusWidget()); }
  // A key as the user types it: to the open menu if there is one, else to the focused widget.
  void type(QKeyCombination key) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    if (!target) target = &form;
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
  }
};

QStringList names(const QList<Ctl>& cs) {
  QStringList out;
  for (Ctl c : cs) out << controlName(c);
  return out;
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

  void menuMnemonics_data();
  void menuMnemonics();
  void mnemonicsUniqueInEachMenu();
  void menuFromKeyboard_data();
  void menuFromKeyboard();
  void focusAsTheWindowOpens();
  void tabOrder_data();
  void tabOrder();
  void buttonKeys_data();
  void buttonKeys();
  void heldReturnPressesOnce();
  void focusSurvives_data();
  void focusSurvives();
  void scrollBarKeys_data();
  void scrollBarKeys();
  void fullScreenKeys_data();
  void fullScreenKeys();
};

void KeyboardTest::menuMnemonics_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QKeySequence>("key");
  QTest::newRow("Sortir") << "&Sortir" << QKeySequence(Qt::ALT | Qt::Key_S);
  QTest::newRow("Informació") << "&Informació" << QKeySequence(Qt::ALT | Qt::Key_I);
  QTest::newRow("Opcions") << "&Opcions" << QKeySequence(Qt::ALT | Qt::Key_O);
  QTest::newRow("Només Filtres") << "Només &Filtres" << QKeySequence(Qt::ALT | Qt::Key_F);
  QTest::newRow("Només Tintes") << "Només &Tintes" << QKeySequence(Qt::ALT | Qt::Key_T);
}

// Every item with an access letter, wherever it is: the menu bar's own items and the submenus'.
void KeyboardTest::menuMnemonics() {
  QFETCH(QString, text);
  QFETCH(QKeySequence, key);
  Window win;
  QAction* found = nullptr;
  for (QAction* top : win.form.menuBar()->actions()) {
    if (top->text() == text) found = top;
    if (top->menu())
      for (QAction* item : top->menu()->actions())
        if (item->text() == text) found = item;
  }
  QVERIFY2(found, qPrintable(QStringLiteral("no menu item \"%1\"").arg(text)));
  QCOMPARE(QKeySequence::mnemonic(found->text()), key);
  // Sortir ends the program, so only its letter is checked; the others are tried in menuFromKeyboard.
  if (text == QStringLiteral("&Sortir")) QCOMPARE(found, win.form.action(Menu::mnuSortir));
}

// Two items of one menu with the same letter would make the letter choose only the first.
void KeyboardTest::mnemonicsUniqueInEachMenu() {
  Window win;
  auto check = [](const QList<QAction*>& actions, const QString& where) {
    std::set<int> seen;
    for (QAction* a : actions) {
      const QKeySequence key = QKeySequence::mnemonic(a->text());
      if (key.isEmpty()) continue;
      if (!seen.insert(key[0].toCombined()).second)
        return where + QStringLiteral(": \"") + a->text() + QStringLiteral("\" repeats a letter");
    }
    return QString();
  };
  QString fault = check(win.form.menuBar()->actions(), QStringLiteral("menu bar"));
  QVERIFY2(fault.isEmpty(), qPrintable(fault));
  for (QAction* top : win.form.menuBar()->actions())
    if (top->menu()) {
      fault = check(top->menu()->actions(), top->text());
      QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
}

void KeyboardTest::menuFromKeyboard_data() {
  QTest::addColumn<QStringList>("keys");
  QTest::addColumn<bool>("filters");
  QTest::addColumn<bool>("inks");
  QTest::addColumn<QString>("message");
  QTest::newRow("Alt+O, T: Només Tintes") << QStringList{"Alt+O", "T"} << false << true << QString();
  QTest::newRow("Alt+O, F: Només Filtres") << QStringList{"Alt+O", "F"} << true << false << QString();
  QTest::newRow("Alt+O, T, then Alt+O, Down, Down, Return: Programa Complet")
      << QStringList{"Alt+O", "T", "Alt+O", "Down", "Down", "Return"} << true << true << QString();
  QTest::newRow("Alt+I, Return: Sobre aquest programa")
      << QStringList{"Alt+I", "Return"} << true << true
      << QStringLiteral("Corvani . Versió 1 .  . Equip Corvani .  maig 2004  .    ");
  QTest::newRow("Alt+I, Down, Return: Com funciona")
      << QStringList{"Alt+I", "Down", "Return"} << true << true << qs(textos::comFunciona);
  QTest::newRow("Alt+I, Up, Return: Més Informació")
      << QStringList{"Alt+I", "Up", "Return"} << true << true << qs(textos::mesInformacio);
}

// The menus opened and chosen from with keys alone, as the user types them.
void KeyboardTest::menuFromKeyboard() {
  QFETCH(QStringList, keys);
  QFETCH(bool, filters);
  QFETCH(bool, inks);
  QFETCH(QString, message);
  Window win;
  QVERIFY(win.active());
  for (const QString& key : keys) {
    const QKeySequence sequence(key);
    QVERIFY2(sequence.count() == 1, qPrintable(key));
    win.type(sequence[0]);
  }
  QTRY_VERIFY2(!QApplication::activePopupWidget(), "a menu is still open");
  // The chosen item acts from the event loop, once its menu has closed.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  QCOMPARE(win.shown(cmdfiltre(0)), filters);
  QCOMPARE(win.shown(Ctl::frmFiltres), filters);
  QCOMPARE(win.shown(cmdTinta(3)), inks);
  QCOMPARE(win.shown(cmdTinta(5)), inks);
  QCOMPARE(win.shown(Ctl::cmdPinta), inks);
  QCOMPARE(win.messages, message.isEmpty() ? QStringList() : QStringList{message});
}

void KeyboardTest::focusAsTheWindowOpens() {
  Window win;
  QVERIFY(win.active());
  QCOMPARE(win.focused(), controlName(cmdfiltre(0)));
}

void KeyboardTest::tabOrder_data() {
  QTest::addColumn<QList<Ctl>>("before");
  QTest::addColumn<int>("menu");  // a Menu chosen before, or -1
  QTest::addColumn<QList<Ctl>>("order");
  const QList<Ctl> opening = {
      cmdfiltre(0), cmdfiltre(1), cmdfiltre(2), cmdfiltre(3), cmdfiltre(4), cmdfiltre(5), Ctl::cmdFull,
      cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Picture1, Ctl::cmdAnalisi, cmdLlum(0), cmdLlum(1),
      cmdLlum(2), Ctl::cmdBlanca, Ctl::Picture2, Ctl::cmdTorna, Ctl::VSllum, Ctl::cmdPinta, Ctl::cmdBuidaPot};
  QTest::newRow("as the window opens") << QList<Ctl>{} << -1 << opening;
  QTest::newRow("red lamp on: R skipped, its Off after BORRA TOT")
      << QList<Ctl>{cmdLlum(0)} << -1
      << QList<Ctl>{cmdfiltre(0), cmdfiltre(1), cmdfiltre(2), cmdfiltre(3), cmdfiltre(4), cmdfiltre(5),
                    Ctl::cmdFull, cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Picture1, Ctl::cmdAnalisi,
                    cmdLlum(1), cmdLlum(2), Ctl::cmdBlanca, Ctl::Picture2, Ctl::cmdTorna, cmdLlumOff(0),
                    Ctl::VSllum, Ctl::cmdPinta, Ctl::cmdBuidaPot};
  QTest::newRow("white light on: the lamps skipped")
      << QList<Ctl>{Ctl::cmdBlanca} << -1
      << QList<Ctl>{cmdfiltre(0), cmdfiltre(1), cmdfiltre(2), cmdfiltre(3), cmdfiltre(4), cmdfiltre(5),
                    Ctl::cmdFull, cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Picture1, Ctl::cmdAnalisi,
                    Ctl::cmdBlanca, Ctl::Picture2, Ctl::cmdTorna, Ctl::VSllum, Ctl::cmdPinta, Ctl::cmdBuidaPot};
  QTest::newRow("a filter in place: Retira Filtres last")
      << QList<Ctl>{cmdfiltre(2)} << -1 << (QList<Ctl>(opening) << Ctl::cmdForaFiltres);
  QTest::newRow("Només Tintes: no filter buttons")
      << QList<Ctl>{} << int(Menu::mnuTintes)
      << QList<Ctl>{Ctl::cmdFull, cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Picture1, Ctl::cmdAnalisi,
                    cmdLlum(0), cmdLlum(1), cmdLlum(2), Ctl::cmdBlanca, Ctl::Picture2, Ctl::cmdTorna,
                    Ctl::VSllum, Ctl::cmdPinta, Ctl::cmdBuidaPot};
  QTest::newRow("Només Filtres: no ink buttons")
      << QList<Ctl>{} << int(Menu::mnuFiltres)
      << QList<Ctl>{cmdfiltre(0), cmdfiltre(1), cmdfiltre(2), cmdfiltre(3), cmdfiltre(4), cmdfiltre(5),
                    Ctl::cmdFull, Ctl::Picture1, Ctl::cmdAnalisi, cmdLlum(0), cmdLlum(1), cmdLlum(2),
                    Ctl::cmdBlanca, Ctl::Picture2, Ctl::cmdTorna, Ctl::VSllum};
}

// Tab from the first control round the whole cycle and back to it, then Shift+Tab the other way.
void KeyboardTest::tabOrder() {
  QFETCH(QList<Ctl>, before);
  QFETCH(int, menu);
  QFETCH(QList<Ctl>, order);
  Window win;
  QVERIFY(win.active());
  win.click(before);
  if (menu >= 0) test::chooseNow(win.form.action(Menu(menu)));
  win.w(order.first())->setFocus(Qt::TabFocusReason);
  QCOMPARE(win.focused(), controlName(order.first()));

  QStringList forward{win.focused()};
  for (int i = 0; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    forward << win.focused();
  }
  QCOMPARE(forward, names(order) << controlName(order.first()));

  QStringList backward{win.focused()};
  for (int i = 0; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    backward << win.focused();
  }
  QList<Ctl> reversed(order.rbegin(), order.rend());
  QCOMPARE(backward, QStringList{controlName(order.first())} << names(reversed));
}

void KeyboardTest::buttonKeys_data() {
  QTest::addColumn<QList<Ctl>>("before");
  QTest::addColumn<Ctl>("target");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("llums");
  QTest::addColumn<int>("nfiltres");
  QTest::addColumn<int>("nivell");
  QTest::addColumn<bool>("analisi");
  QTest::addColumn<QString>("message");
  const int none = Qt::NoModifier;
  QTest::newRow("Return presses R") << QList<Ctl>{} << cmdLlum(0) << int(Qt::Key_Return) << none << 4 << 0 << 0
                                    << false << QString();
  QTest::newRow("keypad Enter presses V") << QList<Ctl>{} << cmdLlum(1) << int(Qt::Key_Enter)
                                          << int(Qt::KeypadModifier) << 2 << 0 << 0 << false << QString();
  QTest::newRow("Space presses B") << QList<Ctl>{} << cmdLlum(2) << int(Qt::Key_Space) << none << 1 << 0 << 0
                                   << false << QString();
  QTest::newRow("Space on V after R") << QList<Ctl>{cmdLlum(0)} << cmdLlum(1) << int(Qt::Key_Space) << none << 6
                                      << 0 << 0 << false << QString();
  QTest::newRow("Return presses Off after R") << QList<Ctl>{cmdLlum(0)} << cmdLlumOff(0) << int(Qt::Key_Return)
                                              << none << 0 << 0 << 0 << false << QString();
  QTest::newRow("Space presses Llum Blanca") << QList<Ctl>{} << Ctl::cmdBlanca << int(Qt::Key_Space) << none << 7
                                             << 0 << 0 << false << QString();
  QTest::newRow("Return presses BORRA TOT") << QList<Ctl>{Ctl::cmdBlanca} << Ctl::cmdTorna << int(Qt::Key_Return)
                                            << none << 0 << 0 << 0 << false << QString();
  QTest::newRow("Space presses a filter") << QList<Ctl>{} << cmdfiltre(4) << int(Qt::Key_Space) << none << 0 << 1
                                          << 0 << false << QString();
  QTest::newRow("Return presses Retira Filtres") << QList<Ctl>{cmdfiltre(0), cmdfiltre(1)} << Ctl::cmdForaFiltres
                                                 << int(Qt::Key_Return) << none << 0 << 0 << 0 << false << QString();
  QTest::newRow("Return presses Anàlisi de la llum") << QList<Ctl>{} << Ctl::cmdAnalisi << int(Qt::Key_Return)
                                                     << none << 0 << 0 << 0 << true << QString();
  QTest::newRow("Space presses tinta cian") << QList<Ctl>{} << cmdTinta(3) << int(Qt::Key_Space) << none << 0 << 0
                                            << 300 << false << QString();
  QTest::newRow("Return presses tinta groga") << QList<Ctl>{cmdTinta(4)} << cmdTinta(5) << int(Qt::Key_Return)
                                              << none << 0 << 0 << 600 << false << QString();
  QTest::newRow("Space presses buida el pot") << QList<Ctl>{cmdTinta(3)} << Ctl::cmdBuidaPot << int(Qt::Key_Space)
                                              << none << 0 << 0 << 0 << false << QString();
  QTest::newRow("Return on buida el pot with nothing in it")
      << QList<Ctl>{} << Ctl::cmdBuidaPot << int(Qt::Key_Return) << none << 0 << 0 << 0 << false
      << qs(textos::potBuitBuidar);
  QTest::newRow("Space on pinta with nothing in the pot")
      << QList<Ctl>{} << Ctl::cmdPinta << int(Qt::Key_Space) << none << 0 << 0 << 0 << false
      << qs(textos::potBuitPintar);
}

// The focused button pressed once by a key, with the bench's state after it.
void KeyboardTest::buttonKeys() {
  QFETCH(QList<Ctl>, before);
  QFETCH(Ctl, target);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, llums);
  QFETCH(int, nfiltres);
  QFETCH(int, nivell);
  QFETCH(bool, analisi);
  QFETCH(QString, message);
  Window win;
  QVERIFY(win.active());
  win.click(before);
  auto* button = qobject_cast<QAbstractButton*>(win.w(target));
  QVERIFY(button);
  button->setFocus(Qt::TabFocusReason);
  QCOMPARE(win.focused(), controlName(target));
  QSignalSpy clicked(button, &QAbstractButton::clicked);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  // Enter and Return press as a click that shows the button down a moment first.
  QTRY_COMPARE(clicked.count(), 1);
  const Estat& e = win.form.banc().estat();
  QCOMPARE(int(e.llums), llums);
  QCOMPARE(int(e.nfiltres), nfiltres);
  QCOMPARE(int(e.nivell), nivell);
  QCOMPARE(e.analisi == cert, analisi);
  QCOMPARE(win.messages, message.isEmpty() ? QStringList() : QStringList{message});
}

// A held Return repeats its key press; the switch must not flick on and off under it.
void KeyboardTest::heldReturnPressesOnce() {
  Window win;
  QVERIFY(win.active());
  auto* button = qobject_cast<QAbstractButton*>(win.w(Ctl::cmdBlanca));
  button->setFocus(Qt::TabFocusReason);
  QSignalSpy clicked(button, &QAbstractButton::clicked);
  QKeyEvent first(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(button, &first);
  QCOMPARE(clicked.count(), 1);
  for (int i = 0; i < 3; ++i) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeat);
    QCOMPARE(clicked.count(), 1);
  }
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(button, &release);
  QCOMPARE(clicked.count(), 1);
  QCOMPARE(button->text(), QStringLiteral("Apaga Llum"));
}

void KeyboardTest::focusSurvives_data() {
  QTest::addColumn<QList<Ctl>>("before");
  QTest::addColumn<Ctl>("focus");
  QTest::addColumn<int>("key");   // pressed on the focused control, or 0
  QTest::addColumn<int>("menu");  // a Menu chosen after, or -1
  QTest::addColumn<Ctl>("next");
  QTest::newRow("R pressed greys itself: focus on to V")
      << QList<Ctl>{} << cmdLlum(0) << int(Qt::Key_Space) << -1 << cmdLlum(1);
  QTest::newRow("Llum Blanca greys the lamps: focus stays on the switch")
      << QList<Ctl>{} << Ctl::cmdBlanca << int(Qt::Key_Space) << -1 << Ctl::cmdBlanca;
  QTest::newRow("Off pressed hides itself: focus on to the scroll bar")
      << QList<Ctl>{cmdLlum(0)} << cmdLlumOff(0) << int(Qt::Key_Space) << -1 << Ctl::VSllum;
  QTest::newRow("Retira Filtres hides itself: focus wraps to the first filter")
      << QList<Ctl>{cmdfiltre(1)} << Ctl::cmdForaFiltres << int(Qt::Key_Space) << -1 << cmdfiltre(0);
  QTest::newRow("Només Tintes hides the focused filter: focus on to FULL NOU")
      << QList<Ctl>{} << cmdfiltre(0) << 0 << int(Menu::mnuTintes) << Ctl::cmdFull;
  QTest::newRow("Només Filtres hides the focused ink: focus on to ull")
      << QList<Ctl>{} << cmdTinta(4) << 0 << int(Menu::mnuFiltres) << Ctl::Picture1;
}

// A control that greys or hides itself under the focus passes it on, so the keyboard is not lost.
void KeyboardTest::focusSurvives() {
  QFETCH(QList<Ctl>, before);
  QFETCH(Ctl, focus);
  QFETCH(int, key);
  QFETCH(int, menu);
  QFETCH(Ctl, next);
  Window win;
  QVERIFY(win.active());
  win.click(before);
  win.w(focus)->setFocus(Qt::TabFocusReason);
  QCOMPARE(win.focused(), controlName(focus));
  if (key) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  if (menu >= 0) test::chooseNow(win.form.action(Menu(menu)));
  QCOMPARE(win.focused(), controlName(next));
  QWidget* now = QApplication::focusWidget();
  QVERIFY(now->isVisible() && now->isEnabled());
}

void KeyboardTest::scrollBarKeys_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("value");
  QTest::newRow("Down turns the lamp to the paper") << 0 << int(Qt::Key_Down) << 1;
  QTest::newRow("Up turns it back to the eye") << 1 << int(Qt::Key_Up) << 0;
  QTest::newRow("Down at the paper stays") << 1 << int(Qt::Key_Down) << 1;
  QTest::newRow("Up at the eye stays") << 0 << int(Qt::Key_Up) << 0;
  QTest::newRow("Page Down") << 0 << int(Qt::Key_PageDown) << 1;
  QTest::newRow("Page Up") << 1 << int(Qt::Key_PageUp) << 0;
  QTest::newRow("End") << 0 << int(Qt::Key_End) << 1;
  QTest::newRow("Home") << 1 << int(Qt::Key_Home) << 0;
}

// The direction scroll bar has two positions; the keys move it as the mouse does.
void KeyboardTest::scrollBarKeys() {
  QFETCH(int, start);
  QFETCH(int, key);
  QFETCH(int, value);
  Window win;
  QVERIFY(win.active());
  auto* bar = qobject_cast<QScrollBar*>(win.w(Ctl::VSllum));
  QVERIFY(bar);
  bar->setFocus(Qt::TabFocusReason);
  QCOMPARE(win.focused(), controlName(Ctl::VSllum));
  if (start == 1) QTest::keyClick(bar, Qt::Key_Down);
  QCOMPARE(int(win.form.banc().estat().direccio), start);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  QCOMPARE(bar->value(), value);
  QCOMPARE(int(win.form.banc().estat().direccio), value);
  QCOMPARE(win.shown(Ctl::PicAvall), value == 1);
  QCOMPARE(win.shown(Ctl::Picture2), value == 0);
  QCOMPARE(win.focused(), controlName(Ctl::VSllum));
}

void KeyboardTest::fullScreenKeys_data() {
  QTest::addColumn<QList<int>>("keys");
  QTest::addColumn<bool>("fullScreen");
  QTest::newRow("F11 fills the screen") << QList<int>{Qt::Key_F11} << true;
  QTest::newRow("F11 again gives the window back") << QList<int>{Qt::Key_F11, Qt::Key_F11} << false;
  QTest::newRow("Escape leaves full screen") << QList<int>{Qt::Key_F11, Qt::Key_Escape} << false;
  QTest::newRow("Escape in a window does nothing") << QList<int>{Qt::Key_Escape} << false;
  QTest::newRow("Escape twice, then F11") << QList<int>{Qt::Key_F11, Qt::Key_Escape, Qt::Key_Escape, Qt::Key_F11}
                                          << true;
}

// Full screen for the projector changes nothing on the bench but its scale, which follows the
// client area as it does when the window is resized.
void KeyboardTest::fullScreenKeys() {
  QFETCH(QList<int>, keys);
  QFETCH(bool, fullScreen);
  Window win;
  QVERIFY(win.active());
  win.click({Ctl::cmdLlum0, Ctl::cmdfiltre5});
  const Estat before = win.form.banc().estat();
  for (int key : keys) win.type(Qt::Key(key));
  QTRY_COMPARE(win.form.isFullScreen(), fullScreen);
  QVERIFY(win.form.banc().estat() == before);
  const QSize area = win.form.client()->size();
  QTRY_COMPARE(win.form.scale(), std::min(area.width() / 867.0, area.height() / 618.0));
  const QRect eye = win.w(Ctl::Picture1)->geometry();
  QCOMPARE(eye.width(), eye.height());
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
