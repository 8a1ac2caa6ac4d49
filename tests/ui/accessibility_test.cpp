// What a screen reader learns from the window through Qt's accessibility interfaces: every
// control's name, role and description, names and descriptions that follow the bench, the menus,
// the message box, the notice after each action and the surface's children as they come and go.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest>
#include <map>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <vector>

#include "menu_item.h"
#include "model/layout.h"
#include "model/textos.h"
#include "ui/form1.h"
#include "ui/qttext.h"

Q_DECLARE_METATYPE(corvani::Ctl)

using namespace corvani;

namespace {

// Every accessibility event, as a screen reader would be told of it. Objects are compared by
// address only while they are alive.
struct Event {
  QAccessible::Event type;
  QObject* object;
  // For a part of a widget with no object of its own: what it was and said as the event went out.
  QAccessible::Role role;
  QString name;
};
std::vector<Event> events;
void recordEvent(QAccessibleEvent* e) {
  Event seen{e->type(), e->object(), QAccessible::NoRole, {}};
  if (!seen.object)
    if (QAccessibleInterface* part = e->accessibleInterface()) {
      seen.role = part->role();
      seen.name = part->text(QAccessible::Name);
    }
  events.push_back(seen);
}
void noRootObject(QObject*) {}

bool received(QAccessible::Event type, QObject* object) {
  for (const Event& e : events)
    if (e.type == type && e.object == object) return true;
  return false;
}

QAccessibleInterface* iface(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

// The names and texts of every descendant, as a screen reader walking the tree reads them.
void collectTexts(QAccessibleInterface* node, QStringList& out, int depth = 0) {
  if (!node || depth > 20) return;
  for (int i = 0; i < node->childCount(); ++i) {
    QAccessibleInterface* child = node->child(i);
    if (!child) continue;
    for (QAccessible::Text t : {QAccessible::Name, QAccessible::Value, QAccessible::Description})
      if (!child->text(t).isEmpty()) out << child->text(t);
    collectTexts(child, out, depth + 1);
  }
}

// What a screen reader can read of the message box while it is open.
struct BoxSeen {
  bool opened = false;
  bool alerted = false;
  QAccessible::Role role = QAccessible::NoRole;
  QString name, description;
  QStringList texts;
  QString focusedName;
  bool closedByReturn = false;
};

// Reads the real modal box once it is on screen, then answers it with Return as a keyboard
// user would; falls back to closing it so that a failure cannot leave the test waiting.
class BoxReader : public QObject {
public:
  BoxSeen seen;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box && event->type() == QEvent::Show && !seen.opened) {
      seen.opened = true;
      QPointer<QMessageBox> guard(box);
      QTimer::singleShot(0, box, [this, guard] {
        if (guard) read(guard);
      });
    }
    return false;
  }

private:
  void read(QMessageBox* box) {
    seen.alerted = received(QAccessible::Alert, box);
    QAccessibleInterface* i = iface(box);
    seen.role = i->role();
    seen.name = i->text(QAccessible::Name);
    seen.description = i->text(QAccessible::Description);
    collectTexts(i, seen.texts);
    // The keyboard reaches the box once it is the active window, which the platform makes it
    // when it gets round to it.
    box->activateWindow();
    QWidget* focused =
        QTest::qWaitFor([box] { return QApplication::activeWindow() == box; }) ? QApplication::focusWidget() : nullptr;
    if (focused && box->isAncestorOf(focused)) {
      seen.focusedName = iface(focused)->text(QAccessible::Name);
      QTest::keyClick(focused, Qt::Key_Return);
    }
    seen.closedByReturn = !box->isVisible();
    if (box->isVisible()) box->done(0);
  }
};

struct Expected {
  const char* name;
  QAccessible::Role role;  // NoRole: whatever the toolkit gives a plain widget
  bool focusable;
};

// By control, what a screen reader must announce as the window opens. Written out rather than
// read from the table, so that a wrong row in the table shows here.
const std::map<Ctl, Expected> expectations = {
    {Ctl::PicAvall, {"Llum que apunta al paper", QAccessible::Graphic, true}},
    {Ctl::cmdForaFiltres, {"Retira Filtres", QAccessible::Button, true}},
    {Ctl::cmdTinta7, {"Afegeix tinta blava al pot", QAccessible::Button, true}},
    {Ctl::cmdTinta6, {"Afegeix tinta verda al pot", QAccessible::Button, true}},
    {Ctl::cmdBuidaPot, {"Buida el pot de mescla", QAccessible::Button, true}},
    {Ctl::cmdPinta, {"Pinta el paper amb la mescla", QAccessible::Button, true}},
    {Ctl::VSllum, {"Direcció de la llum", QAccessible::ScrollBar, true}},
    {Ctl::cmdLlumOff2, {"Off, apaga la llum blava", QAccessible::Button, true}},
    {Ctl::cmdLlumOff1, {"Off, apaga la llum verda", QAccessible::Button, true}},
    {Ctl::cmdLlumOff0, {"Off, apaga la llum vermella", QAccessible::Button, true}},
    {Ctl::cmdTorna, {"BORRA TOT, apaga els llums i treu els filtres", QAccessible::Button, true}},
    {Ctl::Picture2, {"Llum que apunta a l'ull", QAccessible::Graphic, true}},
    {Ctl::cmdBlanca, {"Llum Blanca, encén la llum blanca", QAccessible::Button, true}},
    {Ctl::cmdLlum2, {"B, encén la llum blava", QAccessible::Button, true}},
    {Ctl::cmdLlum1, {"V, encén la llum verda", QAccessible::Button, true}},
    {Ctl::cmdLlum0, {"R, encén la llum vermella", QAccessible::Button, true}},
    {Ctl::cmdAnalisi, {"Anàlisi de la llum, analitza la llum en els tres colors bàsics", QAccessible::Button, true}},
    {Ctl::Picture1, {"ull", QAccessible::Graphic, true}},
    {Ctl::cmdTinta5, {"Afegeix tinta groga al pot", QAccessible::Button, true}},
    {Ctl::cmdTinta4, {"Afegeix tinta magenta al pot", QAccessible::Button, true}},
    {Ctl::cmdTinta3, {"Afegeix tinta cian al pot", QAccessible::Button, true}},
    {Ctl::cmdTinta2, {"Afegeix tinta negra al pot", QAccessible::Button, true}},
    {Ctl::cmdTinta1, {"Afegeix tinta blanca al pot", QAccessible::Button, true}},
    {Ctl::cmdTinta0, {"Afegeix tinta vermella al pot", QAccessible::Button, true}},
    {Ctl::cmdFull, {"FULL NOU, posa un full nou de paper blanc", QAccessible::Button, true}},
    {Ctl::cmdfiltre5, {"groc, posa el filtre groc", QAccessible::Button, true}},
    {Ctl::cmdfiltre4, {"magenta, posa el filtre magenta", QAccessible::Button, true}},
    {Ctl::cmdfiltre3, {"cian, posa el filtre cian", QAccessible::Button, true}},
    {Ctl::cmdfiltre2, {"blau, posa el filtre blau", QAccessible::Button, true}},
    {Ctl::cmdfiltre1, {"verd, posa el filtre verd", QAccessible::Button, true}},
    {Ctl::cmdfiltre0, {"vermell, posa el filtre vermell", QAccessible::Button, true}},
    {Ctl::frmFiltres, {"FILTRES", QAccessible::Grouping, false}},
    {Ctl::Label2, {"TINTA", QAccessible::StaticText, false}},
};

// A shown window; messages go to the real modal box unless recorded.
struct Window {
  Form1 form;
  QStringList messages;

  explicit Window(bool realBoxes = false) {
    if (!realBoxes) form.setMessageHandler([this](const QString& text) { messages << text; });
    form.show();
  }
  QWidget* w(Ctl c) const { return form.widget(c); }
  // The pupil's one action on a control: a button's click, or the direction bar moved to its
  // other end.
  void act(Ctl c) {
    if (auto* bar = qobject_cast<QScrollBar*>(w(c)))
      bar->triggerAction(bar->value() == 0 ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
    else
      qobject_cast<QAbstractButton*>(w(c))->click();
  }
  // The actions, one after the other; the events recorded are the last one's. False if the
  // window was not shown.
  bool act(const QList<Ctl>& cs) {
    if (!QTest::qWaitForWindowExposed(&form)) return false;
    for (Ctl c : cs) {
      events.clear();
      act(c);
    }
    return true;
  }
};

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init() { events.clear(); }

  void everyControlNamed_data();
  void everyControlNamed();
  void controlsInTheWindowsTree();
  void descriptions_data();
  void descriptions();
  void namesFollowCaptions_data();
  void namesFollowCaptions();
  void menuBarItems_data();
  void menuBarItems();
  void menuItems_data();
  void menuItems();
  void messageBox_data();
  void messageBox();
  void notices_data();
  void notices();
  void shapeChildren_data();
  void shapeChildren();
};

void AccessibilityTest::initTestCase() {
  QApplication::setStyle(QStringLiteral("Fusion"));
  // Qt tells its interfaces' events to no one until a platform's assistive bridge asks for
  // them; here the update handler is that bridge.
  QAccessible::installUpdateHandler(recordEvent);
  QAccessible::installRootObjectHandler(noRootObject);
  QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
  QVERIFY2(platform, "the platform has no accessibility layer");
  platform->setActive(true);
  QVERIFY(QAccessible::isActive());
}

void AccessibilityTest::everyControlNamed_data() {
  QTest::addColumn<Ctl>("c");
  for (const ControlLayout& r : controlTable)
    if (r.kind != Kind::Shape) QTest::newRow(qPrintable(controlName(r.id))) << r.id;
}

void AccessibilityTest::everyControlNamed() {
  QFETCH(Ctl, c);
  const auto e = expectations.find(c);
  QVERIFY2(e != expectations.end(), "a control that this test does not know yet: add what it must be called");
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  QWidget* w = win.w(c);
  QVERIFY(w);
  QAccessibleInterface* i = iface(w);
  QVERIFY(i && i->isValid());
  QCOMPARE(i->object(), w);
  const QString name = i->text(QAccessible::Name);
  QVERIFY2(!name.trimmed().isEmpty(), "a screen reader would announce this control without a name");
  QCOMPARE(name.trimmed(), QString::fromUtf8(e->second.name));
  if (e->second.role == QAccessible::NoRole)
    QVERIFY2(i->role() != QAccessible::Button && i->role() != QAccessible::StaticText,
             "a picture is announced as something it is not");
  else
    QCOMPARE(i->role(), e->second.role);
  QCOMPARE(bool(i->state().focusable), e->second.focusable);
}

// A screen reader finds controls by walking down from the window, not by widget.
void AccessibilityTest::controlsInTheWindowsTree() {
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  QAccessibleInterface* window = iface(&win.form);
  QVERIFY(window);
  QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Corvani (1)"));
  for (const ControlLayout& r : controlTable) {
    QWidget* w = win.w(r.id);
    if (!w) continue;
    QAccessibleInterface* node = iface(w);
    int hops = 0;
    while (node && node != window && hops < 10) {
      QAccessibleInterface* parent = node->parent();
      QVERIFY2(parent && parent->indexOfChild(node) >= 0,
               qPrintable(controlName(r.id) + QStringLiteral(" is not among its parent's children")));
      node = parent;
      ++hops;
    }
    QVERIFY2(node == window, qPrintable(controlName(r.id) + QStringLiteral(" cannot be reached from the window")));
  }
}

void AccessibilityTest::descriptions_data() {
  QTest::addColumn<QList<Ctl>>("actions");
  QTest::addColumn<Ctl>("c");
  QTest::addColumn<QString>("description");
  QTest::newRow("R's tooltip is not said again after its name") << QList<Ctl>{} << cmdLlum(0) << "";
  QTest::newRow("nor the white switch's") << QList<Ctl>{} << Ctl::cmdBlanca << "";
  QTest::newRow("the bar tells where the lamp points") << QList<Ctl>{} << Ctl::VSllum << "La llum apunta a l'ull.";
  QTest::newRow("the bar turned down") << QList<Ctl>{Ctl::VSllum} << Ctl::VSllum << "La llum apunta al paper.";
  QTest::newRow("the bar back up") << QList<Ctl>{Ctl::VSllum, Ctl::VSllum} << Ctl::VSllum
                                   << "La llum apunta a l'ull.";
  QTest::newRow("the eye tells the light that reaches it") << QList<Ctl>{cmdLlum(0)} << Ctl::Picture1
                                                           << "Arriba a l'ull llum vermella.";
}

void AccessibilityTest::descriptions() {
  QFETCH(QList<Ctl>, actions);
  QFETCH(Ctl, c);
  QFETCH(QString, description);
  Window win;
  QVERIFY(win.act(actions));
  QAccessibleInterface* i = iface(win.w(c));
  QVERIFY(i);
  QCOMPARE(i->text(QAccessible::Description), description);
  // A screen reader re-reads a description only when told that it changed.
  if (!actions.isEmpty())
    QVERIFY2(received(QAccessible::DescriptionChanged, win.w(c)), "no DescriptionChanged event for the new text");
}

void AccessibilityTest::namesFollowCaptions_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<Ctl>("c");
  QTest::addColumn<QString>("name");
  QTest::newRow("white light on: the switch offers to put it out")
      << QList<Ctl>{Ctl::cmdBlanca} << Ctl::cmdBlanca << "Apaga Llum, apaga la llum blanca";
  QTest::newRow("white light off again") << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdBlanca} << Ctl::cmdBlanca
                                         << "Llum Blanca, encén la llum blanca";
  QTest::newRow("BORRA TOT puts white light out")
      << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdTorna} << Ctl::cmdBlanca << "Llum Blanca, encén la llum blanca";
  QTest::newRow("analysis on: the button offers normal light")
      << QList<Ctl>{Ctl::cmdAnalisi} << Ctl::cmdAnalisi << "normal, torna a la llum normal";
  QTest::newRow("analysis off again") << QList<Ctl>{Ctl::cmdAnalisi, Ctl::cmdAnalisi} << Ctl::cmdAnalisi
                                      << "Anàlisi de la llum, analitza la llum en els tres colors bàsics";
}

void AccessibilityTest::namesFollowCaptions() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(Ctl, c);
  QFETCH(QString, name);
  Window win;
  QVERIFY(win.act(clicks));
  QWidget* w = win.w(c);
  QCOMPARE(iface(w)->text(QAccessible::Name), name);
  // A screen reader re-reads a name only when told that it changed.
  QVERIFY2(received(QAccessible::NameChanged, w), "no NameChanged event for the new caption");
}

void AccessibilityTest::menuBarItems_data() {
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("accelerator");
  QTest::newRow("Sortir") << 0 << "Sortir" << "Alt+S";
  QTest::newRow("Informació") << 1 << "Informació" << "Alt+I";
  QTest::newRow("Opcions") << 2 << "Opcions" << "Alt+O";
}

// The menu bar's items are named without the ampersand, and tell their access key.
void AccessibilityTest::menuBarItems() {
  QFETCH(int, position);
  QFETCH(QString, name);
  QFETCH(QString, accelerator);
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  QAccessibleInterface* bar = iface(win.form.menuBar());
  QVERIFY(bar);
  QCOMPARE(bar->role(), QAccessible::MenuBar);
  QCOMPARE(bar->childCount(), 3);
  QAccessibleInterface* item = bar->child(position);
  QVERIFY(item);
  QCOMPARE(item->role(), QAccessible::MenuItem);
  QCOMPARE(item->text(QAccessible::Name), name);
  QCOMPARE(item->text(QAccessible::Accelerator), accelerator);
}

void AccessibilityTest::menuItems_data() {
  QTest::addColumn<int>("menu");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  QTest::newRow("Sobre aquest programa") << int(Menu::mnusobre) << "Sobre aquest programa" << "menú Informació";
  QTest::newRow("Com funciona") << int(Menu::mnuComFunciona) << "Com funciona" << "menú Informació";
  QTest::newRow("Més Informació") << int(Menu::mnuMesInfo) << "Més Informació" << "menú Informació";
  QTest::newRow("Només Filtres") << int(Menu::mnuFiltres) << "Només Filtres" << "menú Opcions";
  QTest::newRow("Només Tintes") << int(Menu::mnuTintes) << "Només Tintes" << "menú Opcions";
  QTest::newRow("Programa Complet") << int(Menu::mnuComplet) << "Programa Complet" << "menú Opcions";
}

// An item of a drop-down menu says which menu it belongs to, and is found and pressed through its menu.
void AccessibilityTest::menuItems() {
  QFETCH(int, menu);
  QFETCH(QString, name);
  QFETCH(QString, description);
  Window win;
  QAction* action = win.form.action(Menu(menu));
  auto* owner = qobject_cast<QMenu*>(action->parent());
  QVERIFY(owner);
  QAccessibleInterface* list = iface(owner);
  const int k = static_cast<int>(owner->actions().indexOf(action));
  QAccessibleInterface* item = list->child(k);
  QVERIFY(item);
  QCOMPARE(item->role(), QAccessible::MenuItem);
  QCOMPARE(item->text(QAccessible::Name), name);
  QCOMPARE(item->text(QAccessible::Description), description);
  QCOMPARE(item->parent(), list);
  QCOMPARE(list->indexOfChild(item), k);
  QSignalSpy triggered(action, &QAction::triggered);
  QVERIFY(item->actionInterface());
  item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCOMPARE(triggered.count(), 1);
}

void AccessibilityTest::messageBox_data() {
  QTest::addColumn<int>("menu");  // a Menu, or -1 for a button's message
  QTest::addColumn<Ctl>("button");
  QTest::addColumn<QString>("text");
  QString about;
  for (std::string_view piece : textos::sobre) about += qs(piece);
  QTest::newRow("Sobre aquest programa") << int(Menu::mnusobre) << Ctl::cmdTorna << about;
  QTest::newRow("Com funciona") << int(Menu::mnuComFunciona) << Ctl::cmdTorna << qs(textos::comFunciona);
  QTest::newRow("Més Informació") << int(Menu::mnuMesInfo) << Ctl::cmdTorna << qs(textos::mesInformacio);
  QTest::newRow("buida el pot with nothing in it")
      << -1 << Ctl::cmdBuidaPot << "No hi ha tinta al pot de les mescles. No hi ha res que buidar";
}

// The real modal box, as the program opens it.
void AccessibilityTest::messageBox() {
  QFETCH(int, menu);
  QFETCH(Ctl, button);
  QFETCH(QString, text);
  Window win(true);
  win.form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&win.form));
  BoxReader reader;
  qApp->installEventFilter(&reader);
  if (menu >= 0)
    test::chooseNow(win.form.action(Menu(menu)));
  else
    qobject_cast<QAbstractButton*>(win.w(button))->click();
  qApp->removeEventFilter(&reader);
  const BoxSeen& seen = reader.seen;
  QVERIFY2(seen.opened, "no message box opened");
  QVERIFY2(seen.alerted, "the box opened without an Alert event, so a screen reader would not speak it");
  QCOMPARE(seen.role, QAccessible::AlertMessage);
  QCOMPARE(seen.name, QStringLiteral("Corvani"));
  // Once: a screen reader reads the box's texts and its description, one after the other.
  QVERIFY2(seen.texts.count(text) == 1, qPrintable(QStringLiteral("readable texts: ") + seen.texts.join(" | ")));
  QVERIFY2(seen.description != text, "the box's description repeats its text");
  QCOMPARE(seen.focusedName, QStringLiteral("D'acord"));
  QVERIFY2(seen.closedByReturn, "Return did not close the box");
}

void AccessibilityTest::notices_data() {
  QTest::addColumn<QList<Ctl>>("actions");
  QTest::addColumn<QString>("eye");
  QTest::addColumn<QStringList>("shapes");
  QTest::addColumn<QString>("notice");  // shown after the last action; empty: nothing shown
  const QString dark = "A l'ull no arriba cap llum.";
  const QStringList bare = {"paper blanc", "pot de mescla buit"};
  QTest::newRow("white light through the yellow filter")
      << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdfiltre5} << "Arriba a l'ull llum groga."
      << QStringList{"filtre 1: groc", "paper blanc", "pot de mescla buit"}
      << "Arriba a l'ull llum groga. filtre 1: groc.";
  QTest::newRow("every lamp off after white light") << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdBlanca} << dark << bare
                                                   << "botó Llum Blanca, encén la llum blanca. A l'ull no arriba cap llum.";
  QTest::newRow("the lamp turned down in the dark") << QList<Ctl>{Ctl::VSllum} << dark << bare
                                                    << "La llum apunta al paper.";
  QTest::newRow("a new white sheet over a white one tells nothing") << QList<Ctl>{Ctl::cmdFull} << dark << bare
                                                                    << "";
}

// What changes is told through a notice on the surface, shown once after the action, whatever
// has the focus; the eye is described by its light and the surface lists the shapes it shows.
void AccessibilityTest::notices() {
  QFETCH(QList<Ctl>, actions);
  QFETCH(QString, eye);
  QFETCH(QStringList, shapes);
  QFETCH(QString, notice);
  Window win;
  QVERIFY(win.act(actions));
  QCOMPARE(iface(win.w(Ctl::Picture1))->text(QAccessible::Description), eye);

  QAccessibleInterface* surface = iface(&win.form.llenc());
  QCOMPARE(surface->text(QAccessible::Name), QStringLiteral("banc òptic"));
  QStringList names;
  QAccessibleInterface* shown = nullptr;
  for (int k = 0; k < surface->childCount(); ++k) {
    QAccessibleInterface* child = surface->child(k);
    QCOMPARE(surface->indexOfChild(child), k);
    QCOMPARE(child->parent(), surface);
    if (child->role() == QAccessible::Notification)
      shown = child;
    else
      names << child->text(QAccessible::Name);
  }
  QCOMPARE(names, shapes);
  QVERIFY2(shown, "the surface has no notice");

  QStringList told;
  for (const Event& e : events)
    if (e.type == QAccessible::ObjectShow && e.role == QAccessible::Notification) told << e.name;
  QCOMPARE(told, notice.isEmpty() ? QStringList() : QStringList{notice});
  if (!notice.isEmpty()) QCOMPARE(shown->text(QAccessible::Name), notice);
}

void AccessibilityTest::shapeChildren_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<int>("created");  // by the last click
  QTest::addColumn<int>("destroyed");
  QTest::addColumn<int>("renamed");
  QTest::newRow("a filter put in the ray") << QList<Ctl>{Ctl::cmdfiltre5} << 1 << 0 << 0;
  QTest::newRow("two filters taken out")
      << QList<Ctl>{Ctl::cmdfiltre5, Ctl::cmdfiltre3, Ctl::cmdForaFiltres} << 0 << 2 << 0;
  QTest::newRow("ink poured: the pot renamed") << QList<Ctl>{Ctl::cmdTinta3} << 0 << 0 << 1;
  QTest::newRow("the paper painted") << QList<Ctl>{Ctl::cmdTinta3, Ctl::cmdPinta} << 0 << 0 << 1;
  QTest::newRow("a lamp changes no shape") << QList<Ctl>{Ctl::cmdLlum0} << 0 << 0 << 0;
}

// The surface's children that come, go or are renamed are reported one by one, so that a screen
// reader's copy of the tree follows; never as a reorder of the whole surface.
void AccessibilityTest::shapeChildren() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(int, created);
  QFETCH(int, destroyed);
  QFETCH(int, renamed);
  Window win;
  QVERIFY(win.act(clicks));
  std::map<QAccessible::Event, int> count;
  for (const Event& e : events)
    if (!e.object && e.role == QAccessible::Graphic) ++count[e.type];
  QCOMPARE(count[QAccessible::ObjectCreated], created);
  QCOMPARE(count[QAccessible::ObjectDestroyed], destroyed);
  QCOMPARE(count[QAccessible::NameChanged], renamed);
  QVERIFY2(!received(QAccessible::ObjectReorder, &win.form.llenc()), "a reorder of the surface reaches AT-SPI malformed");
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
