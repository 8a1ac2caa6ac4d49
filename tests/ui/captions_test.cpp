// Captions keep their size relative to the bench whatever the desktop's dots per inch and Qt's
// high-DPI settings. Run once as the window opens by default, writing each caption's extent in
// the bench's pixels to the file CORVANI_CAPTIONS (CORVANI_CAPTIONS_WRITE set), then under other
// settings, comparing with it.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QtTest>
#include <map>

#include "ui/botografic.h"
#include "ui/form1.h"
#include "ui/qttext.h"

using namespace corvani;

namespace {

// The rectangle of the pixels that are not `back` within `area`, in the widget's pixels.
QRectF ink(const QImage& image, QColor back, const QRect& area, qreal ratio) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) != back) box |= QRect(x, y, 1, 1);
  return {box.x() / ratio, box.y() / ratio, box.width() / ratio, box.height() / ratio};
}

// Each caption's extent: the graphical buttons' within their bevel and focus rectangle, and the label's.
std::map<QString, QSizeF> captions(Form1& f) {
  std::map<QString, QSizeF> out;
  for (const ControlLayout& row : controlTable) {
    QWidget* w = f.widget(row.id);
    if (!w || !w->isVisible() || row.caption.empty()) continue;
    const qreal ratio = w->devicePixelRatioF();
    const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRectF box;
    if (auto* b = dynamic_cast<BotoGrafic*>(w))
      box = ink(image, b->back(), image.rect().adjusted(4 * ratio, 4 * ratio, -4 * ratio, -4 * ratio), ratio);
    else if (row.kind == Kind::Label)
      box = ink(image, Qt::black, image.rect(), ratio);
    else
      continue;
    out[controlName(row.id)] = box.size();
  }
  return out;
}

}  // namespace

class CaptionsTest : public QObject {
  Q_OBJECT
private slots:
  void sameSizeAsAt96Dpi();
};

void CaptionsTest::sameSizeAsAt96Dpi() {
  const QString path = qEnvironmentVariable("CORVANI_CAPTIONS");
  QVERIFY2(!path.isEmpty(), "CORVANI_CAPTIONS names the file of the captions' extents");
  QApplication::setStyle(QStringLiteral("Fusion"));
  Form1 form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  const std::map<QString, QSizeF> now = captions(form);
  QVERIFY(now.size() >= 10);
  QFile file(path);
  if (qEnvironmentVariableIsSet("CORVANI_CAPTIONS_WRITE")) {
    QCOMPARE(form.logicalDpiY(), 96);
    QCOMPARE(form.devicePixelRatioF(), 1.0);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const auto& [name, size] : now) file.write(QStringLiteral("%1 %2 %3\n").arg(name).arg(size.width()).arg(size.height()).toUtf8());
    return;
  }
  QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path + QStringLiteral(" is missing: the 96-dpi run writes it")));
  std::map<QString, QSizeF> before;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() == 3) before[QString::fromUtf8(fields[0])] = QSizeF(fields[1].toDouble(), fields[2].toDouble());
  }
  QCOMPARE(now.size(), before.size());
  // Glyphs hinted on another grid of device pixels may reach a pixel further or less, and lines of
  // a wrapped caption lie a little further apart; a caption drawn at the desktop's dots per inch
  // rather than the bench's is a quarter or a half off.
  const auto close = [](qreal a, qreal at96) { return std::abs(a - at96) <= 1 + 0.1 * at96; };
  for (const auto& [name, size] : now) {
    const QSizeF at96 = before[name];
    QVERIFY2(close(size.width(), at96.width()) && close(size.height(), at96.height()),
             qPrintable(QStringLiteral("%1: caption %2 x %3 bench pixels, at 96 dpi %4 x %5 (%6 dpi, device pixel ratio %7)")
                            .arg(name).arg(size.width()).arg(size.height()).arg(at96.width()).arg(at96.height())
                            .arg(form.logicalDpiY()).arg(form.devicePixelRatioF())));
  }
}

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
