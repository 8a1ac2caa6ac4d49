// The window at a device pixel ratio other than one (run with QT_SCALE_FACTOR set): the device
// pixels just outside every control show the surface beneath it, black where no shape or line
// lies, as the window at ratio one, scaled, shows them. Nothing of a control's face strays there.
#include <QAbstractButton>
#include <QApplication>
#include <QBackingStore>
#include <QtTest>
#include <cmath>
#include <functional>
#include <optional>

#include "ui/escala.h"
#include "ui/form1.h"

using namespace corvani;

// Brings the window to a state; the window is shown and exposed.
using Step = std::function<void(Form1&)>;
Q_DECLARE_METATYPE(Step)

namespace {

void settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

Step clicks(std::initializer_list<Ctl> controls) {
  return [list = std::vector<Ctl>(controls)](Form1& f) {
    for (Ctl c : list) QTest::mouseClick(f.widget(c), Qt::LeftButton);
  };
}

// What a device pixel spans, in the window's logical pixels.
QRectF span(int x, int y, qreal ratio) { return {x / ratio, y / ratio, 1 / ratio, 1 / ratio}; }

// Strictly overlapping: rectangles that only touch do not.
bool overlaps(const QRectF& a, const QRectF& b) {
  return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// In the window's logical pixels: every other shown control, and what the surface shows beyond
// black, the shapes and each line's reach (its bounding box and pen, plus a pixel).
QList<QRectF> notBackground(Form1& f, const QWidget* except) {
  QList<QRectF> out;
  const QPoint client = f.client()->mapTo(&f, QPoint());
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = Ctl(i);
    QWidget* w = f.widget(c);
    if (w == except) continue;
    if (w && w->isVisible()) out << QRectF(w->geometry().translated(client));
    if (!w && f.banc().controls().visible(c)) out << QRectF(f.llenc().shapeRect(c).translated(client));
  }
  const Llenc& surface = f.llenc();
  for (const Llenc::Trace& t : surface.traces()) {
    if (t.shape) continue;
    const QPointF a = surface.origin() + escala::toPixels(t.from) * surface.scale();
    const QPointF b = surface.origin() + escala::toPixels(t.to) * surface.scale();
    const qreal pad = t.width * surface.scale() / 2 + 1;
    out << QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad).translated(client);
  }
  return out;
}

// How many pixels inside its edges a control's face is the program's own outline, the same at
// every ratio: a graphical button's bevel, a picture box's border. Elsewhere the style draws, or
// a picture scaled by the bench, whose pixels fall apart differently at each ratio.
int outlineWidth(Ctl c) {
  const ControlLayout& row = layoutOf(c);
  if (row.kind == Kind::GraphicalButton) return 2;
  if (row.kind == Kind::PictureBox) return row.borderWidth;
  return 0;
}

// The logical pixel a device pixel lies wholly within, if it does.
std::optional<QPoint> within(int x, int y, qreal ratio) {
  const auto cell = [ratio](int d) -> std::optional<int> {
    const int from = int(std::floor(d / ratio)), to = int(std::ceil((d + 1) / ratio)) - 1;
    if (from != to) return std::nullopt;
    return from;
  };
  const auto cx = cell(x), cy = cell(y);
  if (!cx || !cy) return std::nullopt;
  return QPoint(*cx, *cy);
}

// The first device pixel, around and along the edges of control `c`, that differs from the window
// at ratio one: two device pixels past each edge, which must be black where no other control,
// shape or line reaches, and the device pixels of its outline, which must be what the face at
// ratio one has there. Empty if none.
QString strayAround(Form1& f, Ctl c, const QImage& screen, qreal ratio) {
  QWidget* w = f.widget(c);
  const int outline = outlineWidth(c);
  const QRect face(w->mapTo(&f, QPoint()), w->size());
  const QList<QRectF> others = notBackground(f, w);
  const QRectF client(f.client()->mapTo(&f, QPoint()), f.client()->size());
  QImage one(w->size(), QImage::Format_RGB32);
  if (outline > 0) w->render(&one);
  const QRect inner = face.adjusted(outline, outline, -outline, -outline);
  const int left = int(std::floor(face.left() * ratio)) - 2, top = int(std::floor(face.top() * ratio)) - 2;
  const int right = int(std::ceil((face.right() + 1) * ratio)) + 1, bottom = int(std::ceil((face.bottom() + 1) * ratio)) + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      if (!screen.rect().contains(x, y)) continue;
      const QRectF pixel = span(x, y, ratio);
      if (!client.contains(pixel) ||
          std::any_of(others.begin(), others.end(), [&](const QRectF& o) { return overlaps(pixel, o); }))
        continue;
      QColor expected = Qt::black;
      if (overlaps(pixel, face)) {
        const auto at = within(x, y, ratio);
        if (!at || inner.contains(*at)) continue;
        expected = one.pixelColor(*at - face.topLeft());
      }
      const QColor colour = screen.pixelColor(x, y);
      if (colour != expected)
        return QStringLiteral("%1: device pixel (%2,%3) is %4, not %5; the control spans device x %6..%7, y %8..%9")
            .arg(w->objectName()).arg(x).arg(y).arg(colour.name(), expected.name())
            .arg(face.left() * ratio).arg((face.right() + 1) * ratio).arg(face.top() * ratio).arg((face.bottom() + 1) * ratio);
    }
  return {};
}

}  // namespace

class RatioTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void nothingStraysOutsideControls_data();
  void nothingStraysOutsideControls();
};

static QtMessageHandler forward = nullptr;

void RatioTest::initTestCase() {
  QApplication::setStyle(QStringLiteral("Fusion"));
  forward = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints"))) forward(type, context, text);
  });
  QVERIFY2(qEnvironmentVariableIsSet("QT_SCALE_FACTOR"), "run with QT_SCALE_FACTOR set, as CTest does");
}

void RatioTest::nothingStraysOutsideControls_data() {
  QTest::addColumn<double>("scale");  // the bench's, from the window's size
  QTest::addColumn<Step>("step");
  const QList<QPair<const char*, Step>> states = {
      {"as opened", [](Form1&) {}},
      {"lamp button held down", [](Form1& f) { QTest::mousePress(f.widget(cmdLlum(0)), Qt::LeftButton); }},
      {"lamps on, their Off buttons shown", clicks({cmdLlum(0), cmdLlum(1), cmdLlum(2)})},
      {"white light on: Apaga Llum", clicks({Ctl::cmdBlanca})},
      {"analysis, lit", clicks({Ctl::cmdBlanca, Ctl::cmdAnalisi})},
      {"filters in, focus on the last", clicks({cmdfiltre(0), cmdfiltre(3), cmdfiltre(5)})},
      {"ink in the pot, focus on the ink", clicks({cmdTinta(3), cmdTinta(4)})},
      {"the eye focused", [](Form1& f) { f.widget(Ctl::Picture1)->setFocus(); }},
  };
  for (double scale : {1.0, 1.3})
    for (const auto& [name, step] : states) QTest::addRow("%s, bench at %gx", name, scale) << scale << step;
}

void RatioTest::nothingStraysOutsideControls() {
  QFETCH(double, scale);
  QFETCH(Step, step);
  Form1 form;
  form.setMessageHandler([](const QString&) {});
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  if (scale != 1) {
    form.resize(form.size() + escala::client * scale - escala::client);
    QTRY_VERIFY(std::abs(form.scale() - scale) < 0.01);
  }
  settle();
  step(form);
  settle();
  const qreal ratio = form.devicePixelRatioF();
  QVERIFY2(ratio != 1, "the device pixel ratio is 1: nothing to test");
  const auto* store = dynamic_cast<const QImage*>(form.backingStore()->paintDevice());
  QVERIFY(store);
  const QImage screen = store->convertToFormat(QImage::Format_RGB32);
  int checked = 0;
  for (std::size_t i = 0; i < controlCount; ++i) {
    QWidget* w = form.widget(Ctl(i));
    if (!w || !w->isVisible()) continue;
    const QString stray = strayAround(form, Ctl(i), screen, ratio);
    QVERIFY2(stray.isEmpty(), qPrintable(QStringLiteral("at ratio %1: %2").arg(ratio).arg(stray)));
    ++checked;
  }
  QVERIFY(checked > 20);
}

QTEST_MAIN(RatioTest)
#include "ratio_test.moc"
