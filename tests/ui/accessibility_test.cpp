// What a screen reader learns from the window through Qt's accessibility interfaces: every
// control's name, role and description, names that follow captions, the menus, the message box.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest>
#include <map>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <vector>

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
  QAccessibleInterface* part = e->object() ? nullptr : e->accessibleInterface();
  events.push_back({e->type(), e->object(), part ? part->role() : QAccessible::NoRole,
                    part ? part->text(QAccessible::Name) : QString()});
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
    {Ctl::PicAvall, {"llum", QAccessible::Graphic, true}},
    {Ctl::cmdForaFiltres, {"Retira Filtres", QAccessible::Button, true}},
    {Ctl::cmdTinta7, {"tinta blava", QAccessible::Button, true}},
    {Ctl::cmdTinta6, {"tinta verda", QAccessible::Button, true}},
    {Ctl::cmdBuidaPot, {"buida el pot", QAccessible::Button, true}},
    {Ctl::cmdPinta, {"pinta el paper amb la mescla", QAccessible::Button, true}},
    {Ctl::VSllum, {"direcció de la llum", QAccessible::ScrollBar, true}},
    {Ctl::cmdLlumOff2, {"Off", QAccessible::Button, true}},
    {Ctl::cmdLlumOff1, {"Off", QAccessible::Button, true}},
    {Ctl::cmdLlumOff0, {"Off", QAccessible::Button, true}},
    {Ctl::cmdTorna, {"BORRA TOT", QAccessible::Button, true}},
    {Ctl::Picture2, {"llum", QAccessible::Graphic, true}},
    {Ctl::cmdBlanca, {"Llum Blanca", QAccessible::Button, true}},
    {Ctl::cmdLlum2, {"B", QAccessible::Button, true}},
    {Ctl::cmdLlum1, {"V", QAccessible::Button, true}},
    {Ctl::cmdLlum0, {"R", QAccessible::Button, true}},
    {Ctl::cmdAnalisi, {"Anàlisi de la llum", QAccessible::Button, true}},
    {Ctl::Picture1, {"ull", QAccessible::Graphic, true}},
    {Ctl::cmdTinta5, {"tinta groga", QAccessible::Button, true}},
    {Ctl::cmdTinta4, {"tinta magenta", QAccessible::Button, true}},
    {Ctl::cmdTinta3, {"tinta cian", QAccessible::Button, true}},
    {Ctl::cmdTinta2, {"tinta negra", QAccessible::Button, true}},
    {Ctl::cmdTinta1, {"tinta blanca", QAccessible::Button, true}},
    {Ctl::cmdTinta0, {"tinta vermella", QAccessible::Button, true}},
    {Ctl::cmdFull, {"FULL NOU", QAccessible::Button, true}},
    {Ctl::cmdfiltre5, {"groc", QAccessible::Button, true}},
    {Ctl::cmdfiltre4, {"magenta", QAccessible::Button, true}},
    {Ctl::cmdfiltre3, {"cian", QAccessible::Button, true}},
    {Ctl::cmdfiltre2, {"blau", QAccessible::Button, true}},
    {Ctl::cmdfiltre1, {"verd", QAccessible::Button, true}},
    {Ctl::cmdfiltre0, {"vermell", QAccessible::Button, true}},
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
  void messageBox_data();
  void messageBox();
  void lightAtTheEye_data();
  void lightAtTheEye();
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
  QTest::addColumn<Ctl>("c");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("exact");
  QTest::newRow("red Off says which light it puts out") << cmdLlumOff(0) << "Apaga la llum vermella" << true;
  QTest::newRow("green Off says which light it puts out") << cmdLlumOff(1) << "Apaga la llum verda" << true;
  QTest::newRow("blue Off says which light it puts out") << cmdLlumOff(2) << "Apaga la llum blava" << true;
  QTest::newRow("R tells its tooltip") << cmdLlum(0) << "Encén llum vermella" << false;
  QTest::newRow("V tells its tooltip") << cmdLlum(1) << "Encén llum verda" << false;
  QTest::newRow("B tells its tooltip") << cmdLlum(2) << "Encén llum blava" << false;
  QTest::newRow("the white switch tells its tooltip") << Ctl::cmdBlanca << "Interruptor Llum Blanca" << false;
}

void AccessibilityTest::descriptions() {
  QFETCH(Ctl, c);
  QFETCH(QString, text);
  QFETCH(bool, exact);
  Window win;
  QAccessibleInterface* i = iface(win.w(c));
  QVERIFY(i);
  const QString description = i->text(QAccessible::Description);
  if (exact)
    QCOMPARE(description, text);
  else
    QVERIFY2(description.contains(text), qPrintable(QStringLiteral("description: \"%1\"").arg(description)));
}

void AccessibilityTest::namesFollowCaptions_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<Ctl>("c");
  QTest::addColumn<QString>("name");
  QTest::newRow("white light on: the switch offers to put it out")
      << QList<Ctl>{Ctl::cmdBlanca} << Ctl::cmdBlanca << "Apaga Llum";
  QTest::newRow("white light off again") << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdBlanca} << Ctl::cmdBlanca
                                         << "Llum Blanca";
  QTest::newRow("BORRA TOT puts white light out")
      << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdTorna} << Ctl::cmdBlanca << "Llum Blanca";
  QTest::newRow("analysis on: the button offers normal view")
      << QList<Ctl>{Ctl::cmdAnalisi} << Ctl::cmdAnalisi << "normal";
  QTest::newRow("analysis off again") << QList<Ctl>{Ctl::cmdAnalisi, Ctl::cmdAnalisi} << Ctl::cmdAnalisi
                                      << "Anàlisi de la llum";
}

void AccessibilityTest::namesFollowCaptions() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(Ctl, c);
  QFETCH(QString, name);
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  QWidget* w = win.w(c);
  for (Ctl click : clicks) {
    events.clear();
    qobject_cast<QAbstractButton*>(win.w(click))->click();
  }
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
    win.form.action(Menu(menu))->trigger();
  else
    qobject_cast<QAbstractButton*>(win.w(button))->click();
  qApp->removeEventFilter(&reader);
  const BoxSeen& seen = reader.seen;
  QVERIFY2(seen.opened, "no message box opened");
  QVERIFY2(seen.alerted, "the box opened without an Alert event, so a screen reader would not speak it");
  QCOMPARE(seen.role, QAccessible::AlertMessage);
  QCOMPARE(seen.name, QStringLiteral("Corvani"));
  QVERIFY2(seen.texts.contains(text), qPrintable(QStringLiteral("readable texts: ") + seen.texts.join(" | ")));
  QCOMPARE(seen.focusedName, QStringLiteral("D'acord"));
  QVERIFY2(seen.closedByReturn, "Return did not close the box");
}

void AccessibilityTest::lightAtTheEye_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<QString>("eye");
  QTest::addColumn<QStringList>("shapes");
  QTest::addColumn<bool>("announced");  // by the last click
  const QString dark = "A l'ull no arriba cap llum.";
  const QStringList bare = {"paper blanc", "pot de mescla buit"};
  QTest::newRow("white light through the yellow filter")
      << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdfiltre5} << "Arriba a l'ull llum groga."
      << QStringList{"filtre 1: groc", "paper blanc", "pot de mescla buit"} << true;
  QTest::newRow("a filter with no lamp leaves the eye dark, unannounced")
      << QList<Ctl>{Ctl::cmdfiltre5} << dark << QStringList{"filtre 1: groc", "paper blanc", "pot de mescla buit"}
      << false;
  QTest::newRow("every lamp off after white light") << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdBlanca} << dark << bare
                                                   << true;
  QTest::newRow("the analysis of red brings the same light, unannounced")
      << QList<Ctl>{Ctl::cmdLlum0, Ctl::cmdAnalisi} << "Arriba a l'ull llum vermella." << bare << false;
  QTest::newRow("analysis of red and green") << QList<Ctl>{Ctl::cmdLlum0, Ctl::cmdLlum1, Ctl::cmdAnalisi}
                                             << "Arriben a l'ull llum vermella i llum verda." << bare << true;
  QTest::newRow("BORRA TOT darkens the eye") << QList<Ctl>{Ctl::cmdBlanca, Ctl::cmdTorna} << dark << bare << true;
  QTest::newRow("two portions of ink") << QList<Ctl>{Ctl::cmdTinta3, Ctl::cmdTinta4} << dark
                                       << QStringList{"paper blanc", "pot de mescla: 2 porcions, blau"} << false;
}

// The eye, which never has the focus, is described and announced through a notice on the
// surface; the surface lists the shapes it shows.
void AccessibilityTest::lightAtTheEye() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QString, eye);
  QFETCH(QStringList, shapes);
  QFETCH(bool, announced);
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  for (Ctl click : clicks) {
    events.clear();
    qobject_cast<QAbstractButton*>(win.w(click))->click();
  }
  QAccessibleInterface* ull = iface(win.w(Ctl::Picture1));
  QCOMPARE(ull->text(QAccessible::Name), QStringLiteral("ull"));
  QCOMPARE(ull->text(QAccessible::Description), eye);

  QAccessibleInterface* surface = iface(&win.form.llenc());
  QCOMPARE(surface->text(QAccessible::Name), QStringLiteral("banc òptic"));
  QStringList names;
  QAccessibleInterface* notice = nullptr;
  for (int k = 0; k < surface->childCount(); ++k) {
    QAccessibleInterface* child = surface->child(k);
    QCOMPARE(surface->indexOfChild(child), k);
    QCOMPARE(child->parent(), surface);
    if (child->role() == QAccessible::Notification)
      notice = child;
    else
      names << child->text(QAccessible::Name);
  }
  QCOMPARE(names, shapes);
  QVERIFY2(notice, "the surface has no notice of the light at the eye");
  QCOMPARE(notice->text(QAccessible::Name), eye);

  int shown = 0;
  for (const Event& e : events)
    if (e.type == QAccessible::ObjectShow && e.role == QAccessible::Notification) {
      ++shown;
      QCOMPARE(e.name, eye);
    }
  QCOMPARE(shown, announced ? 1 : 0);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
