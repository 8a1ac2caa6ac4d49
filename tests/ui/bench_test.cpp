// The bench on screen: lamps and the ray's pixels, filters and their messages, direction,
// analysis, the ink pot and the paper, all through clicks on the real widgets.
#include <QScrollBar>

#include "form1_test.h"
#include "view/raig.h"

using namespace corvani;
using namespace corvani::test;

namespace {

const QColor black(0, 0, 0), red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), white(255, 255, 255),
    yellow(255, 255, 0), cyan(0, 255, 255), magenta(255, 0, 255), potGrey(48, 48, 48);
const QColor filterColour[filterCount] = {red, green, blue, cyan, magenta, yellow};

constexpr int rayY = 206;   // 3000 units
constexpr int pastSlots = 300;  // between the last filter slot and the paper's left edge
const QPoint paperMiddle(446, 377);

QScrollBar* bar(Window& win) { return qobject_cast<QScrollBar*>(win.w(Ctl::VSllum)); }

QList<bool> mask(const char* bits) {
  QList<bool> m;
  for (; *bits; ++bits) m << (*bits == '1');
  return m;
}

}  // namespace

void Form1Test::lamps_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<QColor>("ray");
  QTest::addColumn<QList<bool>>("lampEnabled");
  QTest::addColumn<QList<bool>>("offShown");
  QTest::addColumn<QString>("blanca");
  const QString on = QStringLiteral("Apaga Llum"), off = QStringLiteral("Llum Blanca");
  const Ctl B = Ctl::cmdBlanca;
  QTest::newRow("R") << QList{cmdLlum(0)} << red << mask("011") << mask("100") << off;
  QTest::newRow("V") << QList{cmdLlum(1)} << green << mask("101") << mask("010") << off;
  QTest::newRow("R V") << QList{cmdLlum(0), cmdLlum(1)} << yellow << mask("001") << mask("110") << off;
  QTest::newRow("R V B") << QList{cmdLlum(0), cmdLlum(1), cmdLlum(2)} << white << mask("000") << mask("111") << off;
  QTest::newRow("R V B, Off R") << QList{cmdLlum(0), cmdLlum(1), cmdLlum(2), cmdLlumOff(0)} << cyan << mask("100")
                                << mask("011") << off;
  QTest::newRow("B, Off B") << QList{cmdLlum(2), cmdLlumOff(2)} << black << mask("111") << mask("000") << off;
  QTest::newRow("Blanca") << QList{B} << white << mask("000") << mask("000") << on;
  QTest::newRow("Blanca twice") << QList{B, B} << black << mask("111") << mask("000") << off;
  QTest::newRow("R, Blanca") << QList{cmdLlum(0), B} << white << mask("000") << mask("000") << on;
  QTest::newRow("Blanca twice, R") << QList{B, B, cmdLlum(0)} << red << mask("011") << mask("100") << off;
  QTest::newRow("R, Blanca twice") << QList{cmdLlum(0), B, B} << black << mask("111") << mask("000") << off;
}

// The ray is 3 pixels wide on row 206; two rows further out on either side stay black.
void Form1Test::lamps() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QColor, ray);
  QFETCH(QList<bool>, lampEnabled);
  QFETCH(QList<bool>, offShown);
  QFETCH(QString, blanca);
  OPEN_WINDOW(win);
  win.click(clicks);
  const QImage img = win.shot();
  for (int y : {rayY - 1, rayY, rayY + 1}) QCOMPARE(img.pixelColor(pastSlots, y), ray);
  for (int y : {rayY - 3, rayY + 3}) QCOMPARE(img.pixelColor(pastSlots, y), black);
  for (int i = 0; i < lampCount; ++i) {
    QCOMPARE(win.w(cmdLlum(i))->isEnabled(), lampEnabled[i]);
    QVERIFY(win.shown(cmdLlum(i)));
    QCOMPARE(win.shown(cmdLlumOff(i)), offShown[i]);
    if (offShown[i]) QVERIFY(win.w(cmdLlumOff(i))->isEnabled());
  }
  QCOMPARE(qobject_cast<QPushButton*>(win.w(Ctl::cmdBlanca))->text(), blanca);
  if (clicks.endsWith(Ctl::cmdBlanca) && ray == black) QVERIFY(win.form.llenc().traces().empty());
}

void Form1Test::rayEndsUnderPictures_data() {
  QTest::addColumn<Ctl>("picture");
  QTest::addColumn<int>("under");    // an x under the picture
  QTest::addColumn<int>("outside");  // an x just clear of it
  QTest::newRow("lamp, Picture2") << Ctl::Picture2 << 40 << 90;
  QTest::newRow("eye, Picture1") << Ctl::Picture1 << 850 << 838;
}

void Form1Test::rayEndsUnderPictures() {
  QFETCH(Ctl, picture);
  QFETCH(int, under);
  QFETCH(int, outside);
  OPEN_WINDOW(win);
  win.click(cmdLlum(0));
  const auto& traces = win.form.llenc().traces();
  QVERIFY(!traces.empty());
  QCOMPARE(traces.front().from, (Point{geometria::xLlum, geometria::yRecte}));
  QCOMPARE(traces.back().to, (Point{geometria::xUll, geometria::yRecte}));
  QWidget* p = win.w(picture);
  const QImage img = win.shot();
  const QColor own = p->grab().toImage().pixelColor(QPoint(under, rayY) - p->pos());
  QCOMPARE(img.pixelColor(under, rayY), own);
  QVERIFY(own != red);
  QCOMPARE(img.pixelColor(outside, rayY), red);
}

void Form1Test::linesUnderFilterShapes_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<QColor>("before");  // x 100, lamp to slot 0
  QTest::addColumn<QColor>("inSlot");  // x 204, inside slot 0
  QTest::addColumn<QColor>("after");   // x 300
  QTest::addColumn<int>("repaints");
  const Ctl B = Ctl::cmdBlanca;
  QTest::newRow("white light, then vermell") << QList{B, cmdfiltre(0)} << white << red << red << 1;
  QTest::newRow("vermell, then white light") << QList{cmdfiltre(0), B} << white << red << red << 1;
  // The stretch after a cian slot under red light is drawn black: only the repaint shows the slot.
  QTest::newRow("red light, then cian") << QList{cmdLlum(0), cmdfiltre(3)} << red << cyan << black << 1;
  QTest::newRow("cian, then red light") << QList{cmdfiltre(3), cmdLlum(0)} << red << cyan << black << 1;
  QTest::newRow("vermell without light") << QList{cmdfiltre(0)} << black << red << black << 0;
  QTest::newRow("white light, vermell, verd") << QList{B, cmdfiltre(0), cmdfiltre(1)} << white << red << black << 2;
}

void Form1Test::linesUnderFilterShapes() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QColor, before);
  QFETCH(QColor, inSlot);
  QFETCH(QColor, after);
  QFETCH(int, repaints);
  OPEN_WINDOW(win);
  win.click(clicks);
  const QImage img = win.shot();
  QCOMPARE(img.pixelColor(100, rayY), before);
  QCOMPARE(img.pixelColor(204, rayY), inSlot);
  QCOMPARE(img.pixelColor(pastSlots, rayY), after);
  // Every repaint comes after every line, slot by slot.
  const auto& traces = win.form.llenc().traces();
  int seen = 0;
  for (const auto& t : traces)
    if (t.shape) QCOMPARE(*t.shape, shpFiltre(seen++));
    else QCOMPARE(seen, 0);
  QCOMPARE(seen, repaints);
}

void Form1Test::filters_data() {
  QTest::addColumn<bool>("light");
  QTest::addColumn<QList<int>>("picks");  // filter buttons; -1 for "Retira Filtres"
  QTest::addColumn<QList<int>>("occupied");  // the filter in each occupied slot
  QTest::addColumn<int>("messages");
  QTest::addColumn<QColor>("ray");  // at x 300
  QTest::newRow("vermell") << false << QList{0} << QList{0} << 0 << black;
  QTest::newRow("three") << false << QList{0, 1, 2} << QList{0, 1, 2} << 0 << black;
  QTest::newRow("four") << false << QList{0, 1, 2, 3} << QList{0, 1, 3} << 1 << black;
  QTest::newRow("five") << false << QList{0, 1, 2, 3, 4} << QList{0, 1, 4} << 2 << black;
  QTest::newRow("two, retira") << false << QList{0, 1, -1} << QList<int>{} << 0 << black;
  QTest::newRow("three, retira, groc") << false << QList{0, 1, 2, -1, 5} << QList{5} << 0 << black;
  QTest::newRow("white light, groc") << true << QList{5} << QList{5} << 0 << yellow;
  QTest::newRow("white light, groc, cian") << true << QList{5, 3} << QList{5, 3} << 0 << green;
  QTest::newRow("white light, verd, magenta") << true << QList{1, 4} << QList{1, 4} << 0 << black;
  QTest::newRow("white light, vermell, retira") << true << QList{0, -1} << QList<int>{} << 0 << white;
  QTest::newRow("white light, four") << true << QList{3, 5, 0, 1} << QList{3, 5, 1} << 1 << green;
}

void Form1Test::filters() {
  QFETCH(bool, light);
  QFETCH(QList<int>, picks);
  QFETCH(QList<int>, occupied);
  QFETCH(int, messages);
  QFETCH(QColor, ray);
  OPEN_WINDOW(win);
  if (light) win.click(Ctl::cmdBlanca);
  for (int f : picks) win.click(f < 0 ? Ctl::cmdForaFiltres : cmdfiltre(f));
  QCOMPARE(win.messages, QStringList(messages, QStringLiteral("només podem posar fins a 3 filtres alhora")));
  QCOMPARE(win.shown(Ctl::cmdForaFiltres), !occupied.isEmpty());
  const QImage img = win.shot();
  for (int s = 0; s < slotCount; ++s) {
    const Ctl slot = shpFiltre(s);
    const bool used = s < occupied.size();
    QCOMPARE(win.shown(slot), used);
    const int x = win.form.llenc().shapeRect(slot).center().x();
    QCOMPARE(img.pixelColor(x, 100), used ? filterColour[occupied[s]] : black);
    if (used) QCOMPARE(rgb(win.form.banc().controls()[slot].back), filterColour[occupied[s]]);
  }
  QCOMPARE(img.pixelColor(pastSlots, rayY), ray);
}

// The box opens with the third slot still holding its old filter; the new one goes in after.
void Form1Test::fourthFilterMessage() {
  OPEN_WINDOW(win);
  win.click({cmdfiltre(0), cmdfiltre(1), cmdfiltre(2)});
  const int x2 = win.form.llenc().shapeRect(shpFiltre(2)).center().x();
  bool retiraShown = false;
  QColor slot2Back, slot2Pixel;
  win.whileOpen = [&] {
    retiraShown = win.shown(Ctl::cmdForaFiltres);
    slot2Back = rgb(win.form.banc().controls()[shpFiltre(2)].back);
    slot2Pixel = win.at(x2, 100);
  };
  win.click(cmdfiltre(5));
  QCOMPARE(win.messages, QStringList{QStringLiteral("només podem posar fins a 3 filtres alhora")});
  QVERIFY(retiraShown);
  QCOMPARE(slot2Back, blue);
  QCOMPARE(slot2Pixel, blue);
  QCOMPARE(rgb(win.form.banc().controls()[shpFiltre(2)].back), yellow);
  QCOMPARE(win.at(x2, 100), yellow);
}

void Form1Test::direction_data() {
  QTest::addColumn<QList<Ctl>>("lamps");
  QTest::addColumn<QStringList>("steps");  // "1" / "0": setValue; "arrow": a click on the bottom arrow
  QTest::addColumn<bool>("down");
  QTest::addColumn<QColor>("straight");  // (300, 206)
  QTest::addColumn<QColor>("toEye");     // x 830, on the line from the paper to the eye
  QTest::addColumn<QColor>("atPaper");   // the paper's middle, where the downward ray meets it
  const QList<Ctl> whiteLight{Ctl::cmdBlanca}, redLight{cmdLlum(0)};
  QTest::newRow("white light, down") << whiteLight << QStringList{"1"} << true << black << white << white;
  QTest::newRow("white light, bottom arrow") << whiteLight << QStringList{"arrow"} << true << black << white << white;
  QTest::newRow("white light, bottom arrow twice") << whiteLight << QStringList{"arrow", "arrow"} << true << black
                                                   << white << white;
  QTest::newRow("red light, down") << redLight << QStringList{"1"} << true << black << red << red;
  QTest::newRow("down, then white light") << QList<Ctl>{} << QStringList{"1", "lamps"} << true << black << white
                                          << white;
  QTest::newRow("white light, down and back") << whiteLight << QStringList{"1", "0"} << false << white << black
                                              << white;
  QTest::newRow("no light, down") << QList<Ctl>{} << QStringList{"1"} << true << black << black << white;
}

void Form1Test::direction() {
  QFETCH(QList<Ctl>, lamps);
  QFETCH(QStringList, steps);
  QFETCH(bool, down);
  QFETCH(QColor, straight);
  QFETCH(QColor, toEye);
  QFETCH(QColor, atPaper);
  OPEN_WINDOW(win);
  win.click(lamps);
  QScrollBar* s = bar(win);
  for (const QString& step : steps) {
    if (step == "arrow") QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 3));
    else if (step == "lamps") win.click(Ctl::cmdBlanca);
    else s->setValue(step.toInt());
  }
  QCOMPARE(s->value(), int(down));
  QCOMPARE(win.form.banc().controls()[Ctl::VSllum].value, down);
  QCOMPARE(win.shown(Ctl::Picture2), !down);
  QCOMPARE(win.shown(Ctl::PicAvall), down);
  // Where the line from the paper to the eye crosses x = 830.
  using namespace geometria;
  const double ux = 830 / escala::pixelsPerUnitX, t = (ux - paper.x) / double(xUll - paper.x);
  const int y = int((paper.y + t * (yRecte - paper.y)) * escala::pixelsPerUnitY);
  const QImage img = win.shot();
  QCOMPARE(img.pixelColor(pastSlots, rayY), straight);
  QCOMPARE(img.pixelColor(830, y), toEye);
  QCOMPARE(img.pixelColor(paperMiddle), atPaper);
}

void Form1Test::analysis_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QList<QColor>>("rays");  // at x 300 on rows 199, 206, 213
  const Ctl A = Ctl::cmdAnalisi, B = Ctl::cmdBlanca;
  const QString normal = QStringLiteral("normal"), analisi = QStringLiteral("Anàlisi de la llum");
  QTest::newRow("white, analysed") << QList{B, A} << normal << QList{red, green, blue};
  QTest::newRow("analysed, then white") << QList{A, B} << normal << QList{red, green, blue};
  QTest::newRow("white, analysed twice") << QList{B, A, A} << analisi << QList{black, white, black};
  QTest::newRow("red, analysed") << QList{cmdLlum(0), A} << normal << QList{red, black, black};
  QTest::newRow("white through cian, analysed") << QList{B, cmdfiltre(3), A} << normal << QList{black, green, blue};
}

void Form1Test::analysis() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QString, caption);
  QFETCH(QList<QColor>, rays);
  OPEN_WINDOW(win);
  win.click(clicks);
  QCOMPARE(qobject_cast<QPushButton*>(win.w(Ctl::cmdAnalisi))->text(), caption);
  const QImage img = win.shot();
  for (int k = 0; k < 3; ++k) QCOMPARE(img.pixelColor(pastSlots, escala::unitsToPixelsY(2900 + 100 * k)), rays[k]);
}

void Form1Test::potAndPaper_data() {
  QTest::addColumn<QList<Ctl>>("clicks");
  QTest::addColumn<QStringList>("messages");
  QTest::addColumn<int>("level");     // drawing units of liquid
  QTest::addColumn<QColor>("liquid");
  QTest::addColumn<QColor>("paper");
  const Ctl C = cmdTinta(3), M = cmdTinta(4), Y = cmdTinta(5), P = Ctl::cmdPinta, E = Ctl::cmdBuidaPot,
            F = Ctl::cmdFull;
  const QString full = QStringLiteral("el pot de mescla ja està ple"),
                nothingToEmpty = QStringLiteral("No hi ha tinta al pot de les mescles. No hi ha res que buidar"),
                nothingToPaint = QStringLiteral(
                    "no hi ha tinta al pot de la mescla.Posa-n'hi primer tinta cian, magenta , blava o una mescla");
  QTest::newRow("cian") << QList{C} << QStringList{} << 300 << cyan << white;
  QTest::newRow("cian, magenta") << QList{C, M} << QStringList{} << 600 << blue << white;
  QTest::newRow("cian, magenta, groc") << QList{C, M, Y} << QStringList{} << 900 << black << white;
  QTest::newRow("a fourth pour") << QList{C, M, Y, C} << QStringList{full} << 900 << black << white;
  QTest::newRow("blue, pinta") << QList{C, M, P} << QStringList{} << 600 << blue << blue;
  QTest::newRow("blue, pinta, buida") << QList{C, M, P, E} << QStringList{} << 0 << QColor() << blue;
  QTest::newRow("buida twice") << QList{C, E, E} << QStringList{nothingToEmpty} << 0 << QColor() << white;
  QTest::newRow("pinta, empty pot") << QList{P} << QStringList{nothingToPaint} << 0 << QColor() << white;
  QTest::newRow("blue, pinta, full nou") << QList{C, M, P, F} << QStringList{} << 600 << blue << white;
  QTest::newRow("groc, pinta, buida, pinta") << QList{Y, P, E, P} << QStringList{nothingToPaint} << 0 << QColor()
                                             << white;
}

void Form1Test::potAndPaper() {
  QFETCH(QList<Ctl>, clicks);
  QFETCH(QStringList, messages);
  QFETCH(int, level);
  QFETCH(QColor, liquid);
  QFETCH(QColor, paper);
  OPEN_WINDOW(win);
  win.click(clicks);
  QCOMPARE(win.messages, messages);
  const QImage img = win.shot();
  QCOMPARE(img.pixelColor(paperMiddle), paper);
  const QRect pot = win.form.llenc().shapeRect(Ctl::shpPotMescla).adjusted(2, 2, -2, -2);
  if (!liquid.isValid()) {
    for (int y = pot.top(); y <= pot.bottom(); y += 4) QCOMPARE(img.pixelColor(pot.center().x(), y), potGrey);
    return;
  }
  // The liquid keeps its bottom at 2100 units and rises by 300 a pour.
  const QRect r = win.form.llenc().shapeRect(Ctl::shpMescla);
  QCOMPARE(r.top(), escala::unitsToPixelsY(2100 - level));
  QCOMPARE(r.bottom() + 1, escala::unitsToPixelsY(2100));
  QCOMPARE(img.pixelColor(r.center()), liquid);
  QCOMPARE(img.pixelColor(r.center().x(), r.top() - 2), potGrey);
  if (level == 600) QCOMPARE(r, QRect(472, 103, 65, 41));
}
