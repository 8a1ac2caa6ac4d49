// The window as it opens against its control table, its stacking, menus, modes and focus.
#include "menu_item.h"
#include "form1_test.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <algorithm>
#include <map>

#include "ui/botografic.h"
#include "ui/qtcolor.h"
#include "view/menus.h"

using namespace corvani;
using namespace corvani::test;

static QtMessageHandler forward = nullptr;

void Form1Test::initTestCase() {
  QApplication::setStyle(QStringLiteral("Fusion"));
  // The offscreen platform warns at every show that it cannot pass on size hints.
  forward = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints"))) forward(type, context, text);
  });
}

void Form1Test::window() {
  OPEN_WINDOW(win);
  QCOMPARE(win.form.windowTitle(), QStringLiteral("Corvani (1)"));
  QCOMPARE(win.form.client()->size(), QSize(867, 618));
  QVERIFY(win.form.menuBar()->isVisible());
  QVERIFY(win.form.menuBar()->geometry().bottom() < win.form.client()->geometry().top());
  QVERIFY(!win.form.windowIcon().isNull());
  QVERIFY(win.form.windowIcon().availableSizes().contains(QSize(32, 32)));
  // Black wherever no shown widget or shape lies.
  QRegion drawn;
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = Ctl(i);
    if (win.shown(c)) drawn += win.w(c) ? win.w(c)->geometry() : win.form.llenc().shapeRect(c);
  }
  const QImage img = win.shot();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (!drawn.contains(QPoint(x, y)) && img.pixelColor(x, y) != QColor(Qt::black))
        QFAIL(qPrintable(QStringLiteral("(%1,%2) is %3").arg(x).arg(y).arg(img.pixelColor(x, y).name())));
}

void Form1Test::tableRows_data() {
  QTest::addColumn<Ctl>("c");
  for (const ControlLayout& r : controlTable) QTest::newRow(qPrintable(controlName(r.id))) << r.id;
}

void Form1Test::tableRows() {
  QFETCH(Ctl, c);
  const ControlLayout& r = layoutOf(c);
  OPEN_WINDOW(win);
  QWidget* w = win.w(c);
  const auto px = [](int twips) { return qRound(twips / 15.0); };  // twips to pixels, to the nearest
  const QRect expected(px(r.rect.left), px(r.rect.top), px(r.rect.width), px(r.rect.height));
  if (r.kind == Kind::Shape) {
    QVERIFY(!w);
    QCOMPARE(win.form.banc().controls().visible(c), r.visible);
    QRect shape = win.form.llenc().shapeRect(c);
    // The liquid's top and height are set as the window opens; only its sides keep the table's.
    if (c == Ctl::shpMescla) shape.setCoords(shape.left(), expected.top(), shape.right(), expected.bottom());
    QCOMPARE(shape, expected);
    return;
  }
  QVERIFY(w);
  QCOMPARE(w->parentWidget(), win.form.client());
  switch (r.kind) {
    case Kind::Button:
    case Kind::GraphicalButton: {
      auto* b = qobject_cast<QPushButton*>(w);
      QVERIFY(b);
      QCOMPARE(dynamic_cast<BotoGrafic*>(w) != nullptr, r.kind == Kind::GraphicalButton);
      QCOMPARE(b->text(), qs(r.caption));
      break;
    }
    case Kind::PictureBox:
      QVERIFY(!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QScrollBar*>(w) && !qobject_cast<QLabel*>(w));
      break;
    case Kind::ScrollBar: {
      auto* s = qobject_cast<QScrollBar*>(w);
      QVERIFY(s);
      QCOMPARE(s->orientation(), Qt::Vertical);
      break;
    }
    case Kind::Frame: {
      auto* g = qobject_cast<QGroupBox*>(w);
      QVERIFY(g);
      QCOMPARE(g->title(), QStringLiteral("FILTRES"));
      break;
    }
    case Kind::Label: {
      auto* l = qobject_cast<QLabel*>(w);
      QVERIFY(l);
      QCOMPARE(l->text(), QStringLiteral("TINTA "));
      QCOMPARE(l->font().pointSize(), 12);
      break;
    }
    case Kind::Shape:
      break;
  }
  QCOMPARE(w->geometry(), expected);
  QCOMPARE(!w->isHidden(), r.visible);
  QVERIFY(w->isEnabled());
  QCOMPARE(w->toolTip(), qs(r.tooltip));
}

// Inside the 2-pixel bevel, some edge of the face is left bare by the caption and the centred
// picture, and shows the face colour end to end.
static QList<QList<QPoint>> faceEdges(QSize size) {
  const QRect in = QRect(QPoint(), size).adjusted(2, 2, -2, -2);
  QList<QList<QPoint>> edges(4);
  for (int x = in.left(); x <= in.right(); ++x) edges[0] << QPoint(x, in.top()), edges[1] << QPoint(x, in.bottom());
  for (int y = in.top(); y <= in.bottom(); ++y) edges[2] << QPoint(in.left(), y), edges[3] << QPoint(in.right(), y);
  return edges;
}

void Form1Test::faceColour_data() {
  QTest::addColumn<Ctl>("c");
  for (const ControlLayout& r : controlTable)
    if (r.kind == Kind::GraphicalButton && r.id != Ctl::cmdPinta)  // cmdPinta's picture covers its whole face
      QTest::newRow(qPrintable(controlName(r.id))) << r.id;
}

void Form1Test::faceColour() {
  QFETCH(Ctl, c);
  const ControlLayout& r = layoutOf(c);
  OPEN_WINDOW(win);
  const QImage img = win.w(c)->grab().toImage();
  const QColor expected = r.back ? rgb(*r.back) : win.form.palette().color(QPalette::Button);
  bool bare = false;
  for (const QList<QPoint>& edge : faceEdges(img.size()))
    bare = bare || std::all_of(edge.begin(), edge.end(), [&](QPoint p) { return img.pixelColor(p) == expected; });
  QVERIFY2(bare, qPrintable(QStringLiteral("no edge of the face is %1; (2,2) is %2")
                                .arg(expected.name(), img.pixelColor(2, 2).name())));
}

void Form1Test::overlapping_data() {
  QTest::addColumn<Ctl>("upper");
  QTest::addColumn<Ctl>("lower");
  QTest::addColumn<QList<Ctl>>("reveal");  // clicks that show the upper one
  for (int i = 0; i < lampCount; ++i) {
    QTest::addRow("cmdLlumOff(%d) over cmdLlum(%d)", i, i) << cmdLlumOff(i) << cmdLlum(i) << QList{cmdLlum(i)};
    QTest::addRow("cmdLlumOff(%d) over cmdBlanca", i) << cmdLlumOff(i) << Ctl::cmdBlanca << QList{cmdLlum(i)};
  }
  for (int i = 0; i < filterCount; ++i)
    QTest::addRow("cmdfiltre(%d) over frmFiltres", i) << cmdfiltre(i) << Ctl::frmFiltres << QList<Ctl>{};
  QTest::newRow("PicAvall over Picture2") << Ctl::PicAvall << Ctl::Picture2 << QList<Ctl>{};
}

// Where the two overlap, the client shows exactly what the upper one paints.
void Form1Test::overlapping() {
  QFETCH(Ctl, upper);
  QFETCH(Ctl, lower);
  QFETCH(QList<Ctl>, reveal);
  OPEN_WINDOW(win);
  win.click(reveal);
  if (upper == Ctl::PicAvall) qobject_cast<QScrollBar*>(win.w(Ctl::VSllum))->setValue(1);
  QWidget *u = win.w(upper), *l = win.w(lower);
  QVERIFY(u->isVisible());
  const QRect both = u->geometry() & l->geometry();
  QVERIFY(!both.isEmpty());
  const QImage seen = win.shot().copy(both).convertToFormat(QImage::Format_RGB32);
  QCOMPARE(seen, u->grab().toImage().copy(both.translated(-u->pos())).convertToFormat(QImage::Format_RGB32));
  QVERIFY(win.form.client()->children().indexOf(u) > win.form.client()->children().indexOf(l));
}

void Form1Test::stackingFollowsTable() {
  OPEN_WINDOW(win);
  const QObjectList kids = win.form.client()->children();
  QCOMPARE(kids.indexOf(&win.form.llenc()), 0);  // the surface lies under every widget
  for (std::size_t i = 0; i < controlCount; ++i)
    for (std::size_t j = i + 1; j < controlCount; ++j) {
      QWidget *a = win.form.widget(Ctl(i)), *b = win.form.widget(Ctl(j));
      if (a && b && kids.indexOf(a) < kids.indexOf(b))
        QFAIL(qPrintable(controlName(Ctl(i)) + " lies under " + controlName(Ctl(j))));
    }
}

void Form1Test::hiddenAtStart_data() {
  QTest::addColumn<Ctl>("c");
  for (Ctl c : {Ctl::PicAvall, Ctl::cmdForaFiltres, cmdLlumOff(0), cmdLlumOff(1), cmdLlumOff(2), cmdTinta(0),
                cmdTinta(1), cmdTinta(2), cmdTinta(6), cmdTinta(7), shpFiltre(0), shpFiltre(1), shpFiltre(2)})
    QTest::newRow(qPrintable(controlName(c))) << c;
}

void Form1Test::hiddenAtStart() {
  QFETCH(Ctl, c);
  OPEN_WINDOW(win);
  QVERIFY(!win.shown(c));
  QCOMPARE(win.form.banc().controls().visible(c), false);
  if (!win.w(c)) QCOMPARE(win.at(win.form.llenc().shapeRect(c).center().x(), 300), QColor(Qt::black));
}

void Form1Test::surfaceAtStart() {
  OPEN_WINDOW(win);
  QVERIFY(win.form.llenc().traces().empty());
  const QImage img = win.shot();
  const QRect pot = win.form.llenc().shapeRect(Ctl::shpPotMescla).adjusted(2, 2, -2, -2);
  QVERIFY(pot.width() > 50 && pot.height() > 50);
  for (int y = pot.top(); y <= pot.bottom(); ++y)
    for (int x = pot.left(); x <= pot.right(); ++x)
      if (img.pixelColor(x, y) != QColor(48, 48, 48))
        QFAIL(qPrintable(QStringLiteral("pot pixel (%1,%2) is %3").arg(x).arg(y).arg(img.pixelColor(x, y).name())));
  QCOMPARE(img.pixelColor(446, 377), QColor(Qt::white));  // the paper
}

void Form1Test::menuItems_data() {
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("item");  // -1: the top-level entry itself
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("submenu");  // items under a top-level entry
  QTest::addColumn<int>("menu");     // the Menu it is, or -1
  QTest::newRow("&Sortir") << 0 << -1 << "&Sortir" << 0 << int(Menu::mnuSortir);
  QTest::newRow("&Informació") << 1 << -1 << "&Informació" << 3 << -1;
  QTest::newRow("Sobre aquest programa") << 1 << 0 << "Sobre aquest programa" << 0 << int(Menu::mnusobre);
  QTest::newRow("Com funciona") << 1 << 1 << "Com funciona" << 0 << int(Menu::mnuComFunciona);
  QTest::newRow("Més Informació") << 1 << 2 << "Més Informació" << 0 << int(Menu::mnuMesInfo);
  QTest::newRow("&Opcions") << 2 << -1 << "&Opcions" << 3 << -1;
  QTest::newRow("Només &Filtres") << 2 << 0 << "Només &Filtres" << 0 << int(Menu::mnuFiltres);
  QTest::newRow("Només &Tintes") << 2 << 1 << "Només &Tintes" << 0 << int(Menu::mnuTintes);
  QTest::newRow("Programa Complet") << 2 << 2 << "Programa Complet" << 0 << int(Menu::mnuComplet);
}

void Form1Test::menuItems() {
  QFETCH(int, top);
  QFETCH(int, item);
  QFETCH(QString, text);
  QFETCH(int, submenu);
  QFETCH(int, menu);
  Window win;
  const QList<QAction*> bar = win.form.menuBar()->actions();
  QCOMPARE(bar.size(), 3);
  QAction* a = bar[top];
  if (item >= 0) {
    QVERIFY(a->menu());
    QCOMPARE(a->menu()->actions().size(), 3);
    a = a->menu()->actions()[item];
  }
  QCOMPARE(a->text(), text);
  QCOMPARE(a->menu() ? int(a->menu()->actions().size()) : 0, submenu);
  QVERIFY(a->isEnabled() && a->isVisible());
  QVERIFY(!a->isCheckable());
  QVERIFY(a->shortcut().isEmpty());
  if (menu >= 0) QCOMPARE(win.form.action(Menu(menu)), a);
}

void Form1Test::modes_data() {
  QTest::addColumn<QList<Menu>>("menus");
  QTest::addColumn<bool>("filters");
  QTest::addColumn<bool>("inks");
  QTest::newRow("Només Filtres") << QList{Menu::mnuFiltres} << true << false;
  QTest::newRow("Només Tintes") << QList{Menu::mnuTintes} << false << true;
  QTest::newRow("Tintes, then Filtres") << QList{Menu::mnuTintes, Menu::mnuFiltres} << true << false;
  QTest::newRow("Filtres, then Tintes") << QList{Menu::mnuFiltres, Menu::mnuTintes} << false << true;
  QTest::newRow("Filtres, then Complet") << QList{Menu::mnuFiltres, Menu::mnuComplet} << true << true;
  QTest::newRow("Tintes, then Complet") << QList{Menu::mnuTintes, Menu::mnuComplet} << true << true;
}

void Form1Test::modes() {
  QFETCH(QList<Menu>, menus);
  QFETCH(bool, filters);
  QFETCH(bool, inks);
  OPEN_WINDOW(win);
  for (Menu m : menus) test::chooseNow(win.form.action(m));
  for (int i = 0; i < filterCount; ++i) QCOMPARE(win.shown(cmdfiltre(i)), filters);
  QCOMPARE(win.shown(Ctl::frmFiltres), filters);
  for (Ctl c : {cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Label2, Ctl::cmdBuidaPot, Ctl::cmdPinta,
                Ctl::shpPotMescla, Ctl::shpMescla})
    QVERIFY2(win.shown(c) == inks, qPrintable(controlName(c)));
  QCOMPARE(win.at(500, 120), inks ? QColor(48, 48, 48) : QColor(Qt::black));  // inside the pot
  QCOMPARE(win.shown(Ctl::cmdFull), true);
}

void Form1Test::focusAndTabChain_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<QStringList>("chain");  // from cmdfiltre(0) on, Tab by Tab
  const QStringList head = {"cmdfiltre(0)", "cmdfiltre(1)", "cmdfiltre(2)", "cmdfiltre(3)", "cmdfiltre(4)",
                            "cmdfiltre(5)", "cmdFull", "cmdTinta(3)", "cmdTinta(4)", "cmdTinta(5)", "Picture1",
                            "cmdAnalisi"};
  const QStringList lamps = {"cmdLlum(0)", "cmdLlum(1)", "cmdLlum(2)", "cmdBlanca"};
  const QStringList tail = {"VSllum", "cmdPinta", "cmdBuidaPot"};
  QTest::newRow("as it opens") << QList<Ctl>{} << head + lamps + QStringList{"Picture2", "cmdTorna"} + tail;
  QTest::newRow("red lamp on: its Off button instead")
      << QList{cmdLlum(0)} << head + lamps.mid(1) + QStringList{"Picture2", "cmdTorna", "cmdLlumOff(0)"} + tail;
  QTest::newRow("a filter in: Retira Filtres last")
      << QList{cmdfiltre(1)} << head + lamps + QStringList{"Picture2", "cmdTorna"} + tail + QStringList{"cmdForaFiltres"};
  QTest::newRow("white light: lamps disabled")
      << QList{Ctl::cmdBlanca} << head + QStringList{"cmdBlanca", "Picture2", "cmdTorna"} + tail;
}

// Real Tab presses on the active window; the chain runs in the reverse of the table's order.
void Form1Test::focusAndTabChain() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QStringList, chain);
  OPEN_WINDOW(win);
  QVERIFY(QTest::qWaitForWindowActive(&win.form));
  QWidget* start = win.w(cmdfiltre(0));
  QCOMPARE(win.form.focusWidget(), start);
  QCOMPARE(QApplication::focusWidget(), start);
  win.click(clicks);
  start->setFocus();
  QStringList seen{win.nameOf(QApplication::focusWidget())};
  for (int i = 0; i < chain.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    seen << win.nameOf(QApplication::focusWidget());
  }
  QCOMPARE(seen, chain + QStringList{chain.first()});
}

// Needs the Makefile's fonts-dejavu-core and fonts-liberation2.
void Form1Test::firstInstalledFamily_data() {
  QTest::addColumn<QStringList>("families");
  QTest::addColumn<QStringList>("expected");
  const QString none = QStringLiteral("No Such Face"), dejavu = QStringLiteral("DejaVu Sans"),
                liberation = QStringLiteral("Liberation Sans");
  QTest::newRow("the first, installed") << QStringList{dejavu, liberation} << QStringList{dejavu};
  QTest::newRow("after a missing one") << QStringList{none, liberation, dejavu} << QStringList{liberation};
  QTest::newRow("in another case") << QStringList{none, QStringLiteral("dejavu sans")} << QStringList{QStringLiteral("dejavu sans")};
  QTest::newRow("none installed") << QStringList{none, QStringLiteral("Nor This")} << QStringList{none, QStringLiteral("Nor This")};
}

// The family kept is the face Qt gives for the whole list.
void Form1Test::firstInstalledFamily() {
  QFETCH(QStringList, families);
  QFETCH(QStringList, expected);
  QCOMPARE(firstInstalled(families), expected);
  QFont listed, kept;
  listed.setFamilies(families);
  kept.setFamilies(expected);
  for (QFont* f : {&listed, &kept}) {
    f->setStyleHint(QFont::SansSerif);
    f->setPointSize(8);
  }
  const QFontInfo fromList(listed), fromKept(kept);
  QCOMPARE(fromKept.family(), fromList.family());
  QCOMPARE(fromKept.styleName(), fromList.styleName());
  QCOMPARE(fromKept.pixelSize(), fromList.pixelSize());
}

void Form1Test::clientFitsScreen_data() {
  QTest::addColumn<QSize>("available");
  QTest::addColumn<QMargins>("frame");
  QTest::addColumn<QSize>("client");
  const int menu = 20;  // the menu bar's height in every row
  const QMargins openbox(1, 20, 1, 5);
  QTest::newRow("a large screen: the opening size") << QSize(1920, 1050) << openbox << QSize(867, 618);
  QTest::newRow("just large enough") << QSize(869, 618 + menu + 25) << openbox << QSize(867, 618);
  QTest::newRow("a pixel short in height") << QSize(869, 618 + menu + 24) << openbox << QSize(865, 617);
  QTest::newRow("a netbook, 1024 x 600: as high as fits")
      << QSize(1024, 600) << openbox << QSize(778, 555);
  QTest::newRow("800 x 600, no frame known yet: as wide as fits") << QSize(800, 600) << QMargins() << QSize(800, 570);
  QTest::newRow("tall and narrow, framed: as wide as fits") << QSize(700, 1200) << openbox << QSize(698, 497);
  QTest::newRow("tiny: half the opening size, the least") << QSize(300, 200) << openbox << QSize(433, 309);
}

void Form1Test::clientFitsScreen() {
  QFETCH(QSize, available);
  QFETCH(QMargins, frame);
  QFETCH(QSize, client);
  QCOMPARE(clientThatFits(available, 20, frame), client);
}

// A text as drawn in `area`, in `ink` on a plain face: the colour most of the area shows, behind
// the text, and how the other pixels lie between it and the ink. Antialiased glyphs blend the two,
// so a pixel off that line is in some other colour.
struct Drawn {
  QColor back;
  double reach = 0;  // the furthest any pixel goes from the face towards the ink, 0 to 1
  int astray = 0;    // the furthest any pixel lies from the line, in steps of a channel
};
static Drawn drawnText(const QImage& image, const QRect& area, QColor ink) {
  std::map<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y) | 0xFF000000];
  Drawn d;
  d.back = QColor(std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })->first);
  const std::array<int, 3> b{d.back.red(), d.back.green(), d.back.blue()};
  const std::array<int, 3> towards{ink.red() - b[0], ink.green() - b[1], ink.blue() - b[2]};
  const double length = towards[0] * towards[0] + towards[1] * towards[1] + towards[2] * towards[2];
  for (const auto& [rgb, n] : counts) {
    const std::array<int, 3> p{qRed(rgb) - b[0], qGreen(rgb) - b[1], qBlue(rgb) - b[2]};
    const double along =
        length == 0 ? 0 : std::clamp((p[0] * towards[0] + p[1] * towards[1] + p[2] * towards[2]) / length, 0.0, 1.0);
    d.reach = std::max(d.reach, along);
    for (int k = 0; k < 3; ++k) d.astray = std::max(d.astray, qRound(std::abs(p[k] - along * towards[k])));
  }
  return d;
}

// The caption's pixels are the ink blended into the face, the ink reached, and the two read.
#define EXPECT_TEXT(d, ink)                                                                                        \
  do {                                                                                                             \
    QVERIFY2((d).astray <= 8, qPrintable(QStringLiteral("a pixel %1 steps off %2 on %3").arg((d).astray)          \
                                             .arg((ink).name(), (d).back.name())));                               \
    QVERIFY2((d).reach >= 0.5, qPrintable(QStringLiteral("no pixel half way to %1").arg((ink).name())));           \
  } while (false)

void Form1Test::captionInk_data() {
  QTest::addColumn<Ctl>("c");
  QTest::addColumn<QList<Ctl>>("clicks");  // what shows the control, or changes it
  QTest::addColumn<QColor>("ink");  // invalid: the style's
  QTest::addColumn<bool>("enabled");
  for (const ControlLayout& r : controlTable) {
    if (r.caption.empty() || r.kind == Kind::Shape) continue;
    QList<Ctl> clicks;
    for (int i = 0; i < lampCount; ++i)
      if (r.id == cmdLlumOff(i)) clicks = {cmdLlum(i)};
    if (r.id == Ctl::cmdForaFiltres) clicks = {cmdfiltre(0)};
    QTest::newRow(qPrintable(controlName(r.id))) << r.id << clicks << (r.fore ? rgb(*r.fore) : QColor()) << true;
  }
  QTest::newRow("white light on: Apaga Llum") << Ctl::cmdBlanca << QList{Ctl::cmdBlanca} << rgb(colors::black) << true;
  QTest::newRow("analysis on: normal") << Ctl::cmdAnalisi << QList{Ctl::cmdAnalisi} << rgb(colors::black) << true;
  QTest::newRow("the blue lamp lit: greyed") << cmdLlum(2) << QList{cmdLlum(2)} << QColor(128, 128, 128) << false;
  QTest::newRow("white light: the red lamp greyed") << cmdLlum(0) << QList{Ctl::cmdBlanca} << QColor(128, 128, 128)
                                                    << false;
}

// Each caption in the table's ink on the table's face, reading against it; greyed while the
// button cannot be used, as the system's buttons are. The system-look button's colours are the
// style's, and its face a gradient: its two colours must read.
void Form1Test::captionInk() {
  QFETCH(Ctl, c);
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QColor, ink);
  QFETCH(bool, enabled);
  OPEN_WINDOW(win);
  win.click(clicks);
  QWidget* w = win.w(c);
  QVERIFY(w->isVisible());
  QCOMPARE(w->isEnabled(), enabled);
  if (!ink.isValid()) {
    const QPalette& p = w->palette();
    QVERIFY(contrast(fromQColor(p.color(QPalette::ButtonText)), fromQColor(p.color(QPalette::Button))) >= legible);
    return;
  }
  const QImage image = w->grab().toImage();
  // Within the bevel and the focus rectangle of a button.
  const int inside = qobject_cast<QPushButton*>(w) ? 4 : 0;
  const Drawn d = drawnText(image, image.rect().adjusted(inside, inside, -inside, -inside), ink);
  QCOMPARE(d.back, rgb(*layoutOf(c).back));
  EXPECT_TEXT(d, ink);
  if (enabled) QVERIFY(contrast(fromQColor(ink), fromQColor(d.back)) >= legible);
}

void Form1Test::menuHighlight_data() {
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("item");
  for (int top : {1, 2})
    for (int item = 0; item < 3; ++item)
      QTest::newRow(qPrintable(qs(barraMenus[top].text).remove(u'&') + QStringLiteral(", item %1").arg(item)))
          << top << item;
}

// The menu's entry on the bar while its menu is open, and the item the pointer or the arrows are
// on: in the highlighted text's colour on the highlight, which read against each other.
void Form1Test::menuHighlight() {
  QFETCH(int, top);
  QFETCH(int, item);
  OPEN_WINDOW(win);
  QMenuBar* bar = win.form.menuBar();
  QAction* entry = bar->actions()[top];
  QMenu* menu = entry->menu();
  bar->setActiveAction(entry);
  QVERIFY(QTest::qWaitForWindowExposed(menu));
  QAction* a = menu->actions()[item];
  menu->setActiveAction(a);
  for (const auto& [widget, area] : {std::pair<QWidget*, QRect>{menu, menu->actionGeometry(a)}, {bar, bar->actionGeometry(entry)}}) {
    const QColor back = widget->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor ink = widget->palette().color(QPalette::Active, QPalette::HighlightedText);
    const Drawn d = drawnText(widget->grab().toImage(), area.adjusted(1, 1, -1, -1), ink);
    QCOMPARE(d.back, back);
    EXPECT_TEXT(d, ink);
    QVERIFY2(contrast(fromQColor(ink), fromQColor(back)) >= legible,
             qPrintable(QStringLiteral("%1 on %2").arg(ink.name(), back.name())));
  }
  menu->close();
}

void Form1Test::legibleHighlight_data() {
  QTest::addColumn<QColor>("highlight");
  QTest::addColumn<QColor>("text");
  QTest::addColumn<bool>("darker");  // the highlight must move towards black, or else stay or lighten
  QTest::newRow("Fusion's blue under white: darkened") << QColor(0x30, 0x8c, 0xc6) << QColor(Qt::white) << true;
  QTest::newRow("light grey under white: darkened") << QColor(0xc0, 0xc0, 0xc0) << QColor(Qt::white) << true;
  QTest::newRow("mid blue under black: lightened") << QColor(0x30, 0x50, 0xa0) << QColor(Qt::black) << false;
  QTest::newRow("navy under white: kept") << QColor(0, 0, 0x80) << QColor(Qt::white) << false;
}

// The highlight moves no further than the text needs, in its own hue, in every colour group.
void Form1Test::legibleHighlight() {
  QFETCH(QColor, highlight);
  QFETCH(QColor, text);
  QFETCH(bool, darker);
  QPalette given;
  given.setColor(QPalette::Highlight, highlight);
  given.setColor(QPalette::HighlightedText, text);
  const QPalette made = corvani::legibleHighlight(given);
  const Color ink = fromQColor(text);
  const auto reads = [&](QColor back) { return contrast(fromQColor(back), ink); };
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const QColor back = made.color(group, QPalette::Highlight);
    QVERIFY2(reads(back) >= legible, qPrintable(back.name()));
    if (reads(highlight) >= legible) {
      QCOMPARE(back, highlight);
      continue;
    }
    QCOMPARE(back.value() < highlight.value(), darker);
    if (darker) QVERIFY(qAbs(back.hue() - highlight.hue()) <= 2);
    QVERIFY2(reads(back) < legible + 0.3, qPrintable(QStringLiteral("%1 reads at %2 : 1").arg(back.name()).arg(reads(back))));
    QCOMPARE(made.color(group, QPalette::HighlightedText), text);
  }
}

QTEST_MAIN(Form1Test)
