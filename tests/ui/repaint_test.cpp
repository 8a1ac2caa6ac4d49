// Partial repainting: after every action the window on screen, painted piece by piece, must be
// what a full repaint of the same state gives, and the drawing surface what stroking every line
// gives; a change repaints only the widgets it reaches; kept faces are what painting anew gives;
// the compiled-in pictures are the committed PNGs' pixels; the captions' pixels are those of the
// face their whole list of families gives.
#include <QAbstractButton>
#include <QApplication>
#include <QBackingStore>
#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QtTest>
#include <functional>
#include <map>

#include "menu_item.h"
#include "scroll_bar_part.h"
#include "ui/botografic.h"
#include "ui/escala.h"
#include "ui/form1.h"
#include "ui/imatges.h"
#include "ui/qttext.h"

using namespace corvani;

Q_DECLARE_METATYPE(corvani::Ctl)
using Change = std::function<void(BotoGrafic&)>;
Q_DECLARE_METATYPE(Change)
using BoxChange = std::function<void(CaixaImatge&)>;
Q_DECLARE_METATYPE(BoxChange)
using BarChange = std::function<void(QScrollBar&)>;
Q_DECLARE_METATYPE(BarChange)
// Does something to one control of a shown window; what it returns must repaint.
using Touch = std::function<QWidget*(Form1&)>;
Q_DECLARE_METATYPE(Touch)

namespace {

// A shown window whose message boxes are only counted.
struct Window {
  Form1 form;
  int messages = 0;
  Window() {
    form.setMessageHandler([this](const QString&) { ++messages; });
    form.show();
  }
};

// Lets every posted update reach the screen.
void settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// An action by name: a control's name clicks it ("cmdLlum(0)"), a menu item's name chooses it,
// "VSllum+" and "VSllum-" move the direction bar one step.
bool act(Window& win, const QString& step) {
  static const std::map<QString, Menu> menus = {
      {"mnuFiltres", Menu::mnuFiltres}, {"mnuTintes", Menu::mnuTintes}, {"mnuComplet", Menu::mnuComplet}};
  if (step == "VSllum+" || step == "VSllum-") {
    auto* bar = qobject_cast<QScrollBar*>(win.form.widget(Ctl::VSllum));
    bar->triggerAction(step.endsWith('+') ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
    return true;
  }
  if (auto m = menus.find(step); m != menus.end()) {
    test::chooseNow(win.form.action(m->second));
    return true;
  }
  for (std::size_t i = 0; i < controlCount; ++i)
    if (controlName(Ctl(i)) == step) {
      QWidget* w = win.form.widget(Ctl(i));
      if (!w || !w->isVisible() || !w->isEnabled()) return false;
      QTest::mouseClick(w, Qt::LeftButton);
      return true;
    }
  return false;
}

// The window's backing store, in device pixels: what the partial repaints have left on screen.
// (The offscreen platform's window grab crops it to the window's size in logical pixels.)
QImage onScreen(Form1& form) {
  const auto* image = dynamic_cast<const QImage*>(form.backingStore()->paintDevice());
  return image ? image->convertToFormat(QImage::Format_RGB32) : QImage();
}
QImage repaintedWhole(Form1& form) { return form.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The drawing surface as the pen draws it, line by line, at the surface's device pixel ratio,
// against what the surface paints from the pixels it keeps of each line.
QImage stroked(const Llenc& llenc) {
  const qreal ratio = llenc.devicePixelRatioF();
  QImage image(llenc.size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  QPainter p(&image);
  llenc.paintStroked(p, QRegion(llenc.rect()));
  p.end();
  image.setDevicePixelRatio(1);
  return image;
}
QImage surface(Llenc& llenc) {
  QImage image = llenc.grab().toImage().convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(1);
  return image;
}

QString firstDifference(const QImage& a, const QImage& b, const QString& aName = QStringLiteral("on screen"),
                        const QString& bName = QStringLiteral("repainted whole")) {
  if (a == b) return {};
  if (a.size() != b.size())
    return QStringLiteral("sizes differ: %1x%2 %3, %4x%5 %6").arg(a.width()).arg(a.height()).arg(aName).arg(b.width()).arg(b.height()).arg(bName);
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QStringLiteral("first at device pixel (%1,%2): %3 %4, %5 %6")
            .arg(x).arg(y).arg(QColor(a.pixel(x, y)).name(), aName, QColor(b.pixel(x, y)).name(), bName);
  return {};
}

// Counts the paint events each widget of the client area receives.
class PaintCounter : public QObject {
public:
  explicit PaintCounter(QWidget* client) {
    for (QWidget* w : client->findChildren<QWidget*>()) w->installEventFilter(this);
  }
  int operator[](const QObject* w) const { return counts_.value(w); }
  void reset() { counts_.clear(); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++counts_[watched];
    return false;
  }

private:
  QHash<const QObject*, int> counts_;
};

}  // namespace

class RepaintTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void sameAsWholeRepaint_data();
  void sameAsWholeRepaint();
  void onlyWhatChanged_data();
  void onlyWhatChanged();
  void faceFollowsItsState_data();
  void faceFollowsItsState();
  void pictureBoxFollowsItsState_data();
  void pictureBoxFollowsItsState();
  void barFollowsItsState_data();
  void barFollowsItsState();
  void ownChangeLeavesSurface_data();
  void ownChangeLeavesSurface();
  void releaseShowsWithItsClick_data();
  void releaseShowsWithItsClick();
  void picturesAreThePngs_data();
  void picturesAreThePngs();
  void captionsInTheListedFace_data();
  void captionsInTheListedFace();
};

static QtMessageHandler forward = nullptr;

void RepaintTest::initTestCase() {
  QApplication::setStyle(QStringLiteral("Fusion"));
  forward = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints"))) forward(type, context, text);
  });
}

void RepaintTest::sameAsWholeRepaint_data() {
  QTest::addColumn<double>("scale");  // the bench's, from the client area's size
  QTest::addColumn<QStringList>("steps");
  const QList<QPair<const char*, QStringList>> sequences = {
      {"lamps on and off", {"cmdLlum(0)", "cmdLlum(1)", "cmdLlumOff(0)", "cmdLlum(2)", "cmdLlumOff(1)"}},
      {"white light on and off", {"cmdBlanca", "cmdBlanca", "cmdLlum(1)"}},
      {"filters, lit", {"cmdLlum(0)", "cmdLlum(1)", "cmdfiltre(5)", "cmdfiltre(1)", "cmdfiltre(3)"}},
      {"a fourth filter", {"cmdBlanca", "cmdfiltre(0)", "cmdfiltre(1)", "cmdfiltre(2)", "cmdfiltre(4)"}},
      {"filters unlit, then light", {"cmdfiltre(3)", "cmdfiltre(4)", "cmdBlanca"}},
      {"Retira Filtres", {"cmdBlanca", "cmdfiltre(2)", "cmdfiltre(3)", "cmdForaFiltres"}},
      {"analysis on and off", {"cmdBlanca", "cmdAnalisi", "cmdfiltre(5)", "cmdAnalisi"}},
      {"direction down and up", {"cmdBlanca", "VSllum+", "cmdfiltre(3)", "VSllum-"}},
      {"analysis down", {"cmdLlum(0)", "cmdLlum(2)", "cmdfiltre(4)", "VSllum+", "cmdAnalisi", "cmdLlumOff(2)"}},
      {"ink into the pot until full", {"cmdTinta(3)", "cmdTinta(4)", "cmdTinta(5)", "cmdTinta(3)", "cmdBuidaPot"}},
      {"paint, lit and down", {"cmdBlanca", "VSllum+", "cmdTinta(5)", "cmdPinta", "cmdAnalisi", "cmdTinta(3)", "cmdPinta"}},
      {"FULL NOU", {"cmdTinta(4)", "cmdPinta", "cmdLlum(0)", "VSllum+", "cmdFull"}},
      {"modes", {"cmdBlanca", "cmdfiltre(0)", "mnuTintes", "cmdTinta(4)", "mnuFiltres", "cmdLlum(2)", "mnuComplet"}},
      {"BORRA TOT", {"cmdLlum(0)", "cmdfiltre(1)", "cmdAnalisi", "cmdTorna", "cmdLlum(2)", "cmdTorna"}},
  };
  for (double scale : {1.0, 1.5})
    for (const auto& [name, steps] : sequences)
      QTest::addRow("%s, at %gx", name, scale) << scale << steps;
}

// Compared after every step, so that a step whose repaint misses a region it changed fails even
// when a later step happens to repaint that region.
void RepaintTest::sameAsWholeRepaint() {
  QFETCH(double, scale);
  QFETCH(QStringList, steps);
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  if (scale != 1) {
    const QSize grow = escala::client * scale - escala::client;
    win.form.resize(win.form.size() + grow);
    QTRY_COMPARE(win.form.scale(), scale);
  }
  settle();
  QString done;
  for (const QString& step : steps) {
    QVERIFY2(act(win, step), qPrintable(step + QStringLiteral(" cannot be done")));
    done += QLatin1Char(' ') + step;
    settle();
    const QString difference = firstDifference(onScreen(win.form), repaintedWhole(win.form));
    QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("after%1: %2").arg(done, difference)));
    const QString fromKept = firstDifference(surface(win.form.llenc()), stroked(win.form.llenc()),
                                             QStringLiteral("painted"), QStringLiteral("stroked"));
    QVERIFY2(fromKept.isEmpty(), qPrintable(QStringLiteral("surface after%1: %2").arg(done, fromKept)));
  }
}

void RepaintTest::onlyWhatChanged_data() {
  QTest::addColumn<QStringList>("before");
  QTest::addColumn<QString>("step");
  QTest::addColumn<QList<Ctl>>("untouched");
  QList<Ctl> inks, filterButtons;
  for (int i : {3, 4, 5}) inks << cmdTinta(i);
  for (int i = 0; i < filterCount; ++i) filterButtons << cmdfiltre(i);
  const QList<Ctl> lamps{cmdLlum(0), cmdLlum(1), cmdLlum(2), Ctl::cmdBlanca};
  const QList<Ctl> rest{Ctl::cmdFull, Ctl::cmdTorna, Ctl::Label2, Ctl::frmFiltres, Ctl::cmdBuidaPot, Ctl::cmdPinta};
  // The lamp and the eye lie over the ray's ends; opaque and unchanged, they need no repaint.
  const QList<Ctl> ends{Ctl::Picture1, Ctl::Picture2};
  // The focus is put first on the button clicked, so that no other button repaints to lose it.
  QTest::newRow("analysis, straight ray") << QStringList{"cmdBlanca", "cmdAnalisi"} << "cmdAnalisi"
                                          << ends + inks + filterButtons + rest;
  QTest::newRow("a filter into the lit ray") << QStringList{"cmdBlanca", "cmdfiltre(1)"} << "cmdfiltre(1)"
                                             << ends + inks + lamps + rest;
  QTest::newRow("a filter, unlit") << QStringList{"cmdfiltre(2)"} << "cmdfiltre(2)" << ends + inks + lamps + rest;
  QTest::newRow("analysis, ray turned down") << QStringList{"cmdBlanca", "VSllum+", "cmdAnalisi"} << "cmdAnalisi"
                                             << QList{Ctl::Picture1, Ctl::PicAvall} + inks + filterButtons;
  QTest::newRow("ink into the pot") << QStringList{"cmdBlanca", "cmdTinta(4)"} << "cmdTinta(4)"
                                    << ends + QList{Ctl::cmdFull, Ctl::cmdTorna} + filterButtons + lamps;
  QTest::newRow("paper painted") << QStringList{"cmdBlanca", "cmdTinta(3)", "cmdPinta"} << "cmdPinta"
                                 << QList{Ctl::cmdTorna, Ctl::Label2} + filterButtons + inks;
}

// Counted from the click to the settled screen: the clicked button repaints for its press and
// release, the surface where it changed, and no other widget but those the change uncovers.
void RepaintTest::onlyWhatChanged() {
  QFETCH(QStringList, before);
  QFETCH(QString, step);
  QFETCH(QList<Ctl>, untouched);
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  for (const QString& s : before) QVERIFY(act(win, s));
  settle();
  PaintCounter paints(win.form.client());
  QVERIFY(act(win, step));
  settle();
  QVERIFY(paints[&win.form.llenc()] > 0);
  for (Ctl c : untouched)
    QVERIFY2(paints[win.form.widget(c)] == 0, qPrintable(controlName(c) + QStringLiteral(" was repainted")));
}

void RepaintTest::faceFollowsItsState_data() {
  QTest::addColumn<Change>("change");
  QTest::newRow("disabled") << Change([](BotoGrafic& b) { b.setEnabled(false); });
  QTest::newRow("pressed") << Change([](BotoGrafic& b) { b.setDown(true); });
  QTest::newRow("focused") << Change([](BotoGrafic& b) { b.setFocus(); });
  QTest::newRow("caption") << Change([](BotoGrafic& b) { b.setText(QStringLiteral("Apaga Llum")); });
  QTest::newRow("back colour") << Change([](BotoGrafic& b) { b.setBack(Qt::cyan); });
  QTest::newRow("scale") << Change([](BotoGrafic& b) { b.setScale(2); });
  QTest::newRow("font") << Change([](BotoGrafic& b) { b.setFont(QFont(b.font().family(), 14)); });
  QTest::newRow("size") << Change([](BotoGrafic& b) { b.resize(b.size() + QSize(9, 5)); });
  QTest::newRow("pressed, then released") << Change([](BotoGrafic& b) {
    b.setDown(true);
    b.grab();
    b.setDown(false);
  });
  QTest::newRow("disabled, then caption") << Change([](BotoGrafic& b) {
    b.setEnabled(false);
    b.grab();
    b.setText(QStringLiteral("Normal"));
  });
}

// A button or picture box painted before a change must show what a button never painted before shows after it.
void RepaintTest::faceFollowsItsState() {
  QFETCH(Change, change);
  QWidget window;
  window.resize(200, 120);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  auto face = [&](bool paintedBefore) {
    BotoGrafic button(QStringLiteral("Llum Blanca"), Qt::white, Qt::black, pixmapOf(tintaPicture(3)), &window);
    button.setGeometry(10, 10, 80, 60);
    button.show();
    if (paintedBefore) button.grab();
    change(button);
    return button.grab().toImage();
  };
  const QImage fresh = face(false), repainted = face(true);
  QCOMPARE(repainted, fresh);
}

void RepaintTest::pictureBoxFollowsItsState_data() {
  QTest::addColumn<BoxChange>("change");
  QTest::newRow("focused") << BoxChange([](CaixaImatge& b) { b.setFocus(); });
  QTest::newRow("scale") << BoxChange([](CaixaImatge& b) { b.setScale(1.5); });
  QTest::newRow("size") << BoxChange([](CaixaImatge& b) { b.resize(b.size() + QSize(7, 3)); });
  QTest::newRow("border colour") << BoxChange([](CaixaImatge& b) {
    QPalette palette = b.palette();
    palette.setColor(QPalette::WindowText, Qt::yellow);
    b.setPalette(palette);
  });
}

void RepaintTest::pictureBoxFollowsItsState() {
  QFETCH(BoxChange, change);
  QWidget window;
  window.resize(120, 120);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  auto face = [&](bool paintedBefore) {
    CaixaImatge box(pixmapOf(Picture::Ull), 1, &window);
    box.setFocusPolicy(Qt::StrongFocus);
    box.setGeometry(10, 10, 40, 40);
    box.show();
    if (paintedBefore) box.grab();
    change(box);
    return box.grab().toImage();
  };
  const QImage fresh = face(false), repainted = face(true);
  QCOMPARE(repainted, fresh);
}

// Where a press on a bar lands: one of its arrows.
QPoint arrow(const QScrollBar& bar, QStyle::SubControl which) { return test::scrollBarPart(bar, which).center(); }

// The pointer come to rest over a bar's up arrow.
void hoverUpArrow(QScrollBar& bar) {
  const QPointF at = arrow(bar, QStyle::SC_ScrollBarSubLine);
  for (QEvent::Type type : {QEvent::HoverEnter, QEvent::HoverMove}) {
    QHoverEvent hover(type, at, bar.mapToGlobal(at), QPointF(-1, -1));
    QCoreApplication::sendEvent(&bar, &hover);
  }
}

void RepaintTest::barFollowsItsState_data() {
  QTest::addColumn<BarChange>("change");
  QTest::newRow("as it starts") << BarChange([](QScrollBar&) {});
  QTest::newRow("moved down") << BarChange([](QScrollBar& b) { b.setValue(1); });
  QTest::newRow("focused") << BarChange([](QScrollBar& b) { b.setFocus(); });
  QTest::newRow("disabled") << BarChange([](QScrollBar& b) { b.setEnabled(false); });
  QTest::newRow("down arrow held") << BarChange([](QScrollBar& b) {
    QTest::mousePress(&b, Qt::LeftButton, {}, arrow(b, QStyle::SC_ScrollBarAddLine));
  });
  QTest::newRow("down arrow let go") << BarChange([](QScrollBar& b) {
    QTest::mouseClick(&b, Qt::LeftButton, {}, arrow(b, QStyle::SC_ScrollBarAddLine));
  });
  QTest::newRow("up arrow held, after moving down") << BarChange([](QScrollBar& b) {
    b.setValue(1);
    b.grab();
    QTest::mousePress(&b, Qt::LeftButton, {}, arrow(b, QStyle::SC_ScrollBarSubLine));
  });
  QTest::newRow("hovered") << BarChange(hoverUpArrow);
  QTest::newRow("size") << BarChange([](QScrollBar& b) { b.resize(b.size() + QSize(4, 9)); });
  // The style's gradients shift by a shade with the device pixel they start on.
  for (const QRect& place : {QRect(6, 140, 11, 28), QRect(7, 161, 11, 28), QRect(31, 13, 12, 30)})
    QTest::addRow("small, at %d,%d", place.x(), place.y()) << BarChange([place](QScrollBar& b) { b.setGeometry(place); });
  QTest::newRow("palette") << BarChange([](QScrollBar& b) {
    QPalette palette = b.palette();
    palette.setColor(QPalette::Button, Qt::yellow);
    b.setPalette(palette);
  });
}

// The direction bar, painted before a change or not, must leave on screen what a stock scroll bar
// with the same track, painted by the style each time, leaves on black in the same state and place.
void RepaintTest::barFollowsItsState() {
  QFETCH(BarChange, change);
  auto onBlack = [&](auto makeBar, bool paintedBefore) {
    QWidget window;
    window.resize(600, 450);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    QScrollBar* bar = makeBar(&window);
    bar->setRange(0, 1);
    bar->setPageStep(1);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setGeometry(10, 10, 17, 41);
    window.show();
    if (!QTest::qWaitForWindowActive(&window)) return QImage();
    if (paintedBefore) bar->grab();
    change(*bar);
    bar->repaint();
    const auto* screen = dynamic_cast<const QImage*>(window.backingStore()->paintDevice());
    const qreal ratio = window.devicePixelRatioF();
    const QRect place(bar->pos() * ratio, bar->size() * ratio);
    const QImage image = screen ? screen->copy(place).convertToFormat(QImage::Format_RGB32) : QImage();
    QTest::mouseRelease(bar, Qt::LeftButton);
    return image;
  };
  const auto stock = [](QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    auto* style = new EstilPista;
    style->setParent(bar);
    bar->setStyle(style);
    return bar;
  };
  const auto ours = [](QWidget* parent) -> QScrollBar* { return new BarraDesplacament(Qt::Vertical, parent); };
  const QImage expected = onBlack(stock, false);
  QVERIFY(!expected.isNull());
  QCOMPARE(onBlack(ours, false), expected);
  QCOMPARE(onBlack(ours, true), expected);
}

void RepaintTest::ownChangeLeavesSurface_data() {
  QTest::addColumn<Touch>("before");
  QTest::addColumn<Touch>("touch");
  const auto bar = [](Form1& f) { return qobject_cast<QScrollBar*>(f.widget(Ctl::VSllum)); };
  const Touch nothing = [](Form1&) { return nullptr; };
  QTest::newRow("direction bar hovered") << nothing << Touch([bar](Form1& f) -> QWidget* {
    hoverUpArrow(*bar(f));
    return bar(f);
  });
  QTest::newRow("direction bar focused") << nothing << Touch([bar](Form1& f) -> QWidget* {
    bar(f)->setFocus();
    return bar(f);
  });
  // The press turns the lamp down, and repaints the surface; the release is the bar's alone.
  QTest::newRow("direction bar's arrow let go") << Touch([bar](Form1& f) -> QWidget* {
    QTest::mousePress(bar(f), Qt::LeftButton, {}, arrow(*bar(f), QStyle::SC_ScrollBarAddLine));
    return nullptr;
  }) << Touch([bar](Form1& f) -> QWidget* {
    QTest::mouseRelease(bar(f), Qt::LeftButton, {}, arrow(*bar(f), QStyle::SC_ScrollBarAddLine));
    return bar(f);
  });
  QTest::newRow("graphical button held") << nothing << Touch([](Form1& f) -> QWidget* {
    QWidget* b = f.widget(Ctl::cmdAnalisi);
    QTest::mousePress(b, Qt::LeftButton);
    return b;
  });
  QTest::newRow("picture box focused") << nothing << Touch([](Form1& f) -> QWidget* {
    f.widget(Ctl::Picture1)->setFocus();
    return f.widget(Ctl::Picture1);
  });
}

// An opaque control over the ray that repaints for a change of its own leaves the surface
// beneath it as it is.
void RepaintTest::ownChangeLeavesSurface() {
  QFETCH(Touch, before);
  QFETCH(Touch, touch);
  Window win;
  QVERIFY(QTest::qWaitForWindowActive(&win.form));
  QVERIFY(act(win, "cmdBlanca"));
  before(win.form);
  settle();
  PaintCounter paints(win.form.client());
  QWidget* touched = touch(win.form);
  settle();
  QVERIFY(touched);
  QVERIFY(paints[touched] > 0);
  QCOMPARE(paints[&win.form.llenc()], 0);
}

void RepaintTest::releaseShowsWithItsClick_data() {
  QTest::addColumn<QPoint>("release");  // from the button's centre
  QTest::addColumn<bool>("clicks");
  QTest::newRow("on the button") << QPoint(0, 0) << true;
  QTest::newRow("beyond its edge") << QPoint(60, 0) << false;
}

// A button let go repaints once, with what its click changes (here its own face too); let go
// beyond it, it only comes back up.
void RepaintTest::releaseShowsWithItsClick() {
  QFETCH(QPoint, release);
  QFETCH(bool, clicks);
  Window win;
  QVERIFY(QTest::qWaitForWindowActive(&win.form));
  QVERIFY(act(win, "cmdBlanca"));
  QWidget* button = win.form.widget(Ctl::cmdAnalisi);
  const auto analisi = win.form.banc().estat().analisi;
  QTest::mousePress(button, Qt::LeftButton);
  settle();
  PaintCounter paints(win.form.client());
  QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center() + release);
  settle();
  QCOMPARE(win.form.banc().estat().analisi != analisi, clicks);
  QCOMPARE(paints[button], 1);
  QCOMPARE(paints[&win.form.llenc()] > 0, clicks);
  QVERIFY(!static_cast<QAbstractButton*>(button)->isDown());
}

void RepaintTest::picturesAreThePngs_data() {
  QTest::addColumn<int>("picture");
  QTest::addColumn<QString>("file");
  const QList<QPair<Picture, const char*>> files = {
      {Picture::Icona, "icona"}, {Picture::Llum, "llum"}, {Picture::LlumAvall, "llum_avall"},
      {Picture::Ull, "ull"}, {Picture::BuidaPot, "buida_pot"}, {Picture::Pinta, "pinta"},
      {tintaPicture(0), "tinta_vermell"}, {tintaPicture(1), "tinta_blanc"}, {tintaPicture(2), "tinta_negre"},
      {tintaPicture(3), "tinta_cian"}, {tintaPicture(4), "tinta_magenta"}, {tintaPicture(5), "tinta_groc"},
      {tintaPicture(6), "tinta_verd"}, {tintaPicture(7), "tinta_blau"}};
  for (const auto& [picture, file] : files) QTest::newRow(file) << int(picture) << QString::fromLatin1(file);
}

void RepaintTest::picturesAreThePngs() {
  QFETCH(int, picture);
  QFETCH(QString, file);
  const QImage png(QStringLiteral(CORVANI_ASSETS_DIR "/%1.png").arg(file));
  QVERIFY(!png.isNull());
  const QImage compiled = pixmapOf(Picture(picture)).toImage();
  QCOMPARE(compiled.size(), png.size());
  QCOMPARE(compiled.convertToFormat(QImage::Format_RGB32), png.convertToFormat(QImage::Format_RGB32));
}

void RepaintTest::captionsInTheListedFace_data() {
  QTest::addColumn<Ctl>("c");
  for (const ControlLayout& r : controlTable)
    if (!r.caption.empty() && (r.kind == Kind::Button || r.kind == Kind::GraphicalButton || r.kind == Kind::Label))
      QTest::newRow(qPrintable(controlName(r.id))) << r.id;
}

// Each caption asks for one installed face, so that Qt searches no substitutes, and shows the
// pixels it shows when asked for by the whole list of caption families.
void RepaintTest::captionsInTheListedFace() {
  QFETCH(Ctl, c);
  Window win;
  QVERIFY(QTest::qWaitForWindowExposed(&win.form));
  QWidget* w = win.form.widget(c);
  const QStringList families = w->font().families();
  QCOMPARE(families.size(), 1);
  QVERIFY2(!QFontDatabase::styles(families.first()).isEmpty(), qPrintable(families.first() + " is not installed"));
  const QImage resolved = w->grab().toImage();
  QFont listed = w->font();
  listed.setFamilies(captionFamilies());
  w->setFont(listed);
  QCOMPARE(w->grab().toImage(), resolved);
}

QTEST_MAIN(RepaintTest)
#include "repaint_test.moc"
