// The page's surface against the desktop's at scale 1: after the same actions, every pixel that
// differs has the other's colour within one pixel, on both sides, so the ray's lines and the
// shapes stand where the desktop paints them. And the surface holds no colour the bench did not draw.
#include <QScrollBar>
#include <QtTest>
#include <set>

#include "model/layout.h"
#include "tests/web/tela.h"
#include "ui/form1.h"
#include "web/pagina.h"

using namespace corvani;

Q_DECLARE_METATYPE(corvani::Ctl)

namespace {

struct Silenci : Dialogs {
  void message(std::string_view) override {}
};

// A click on a control, or the direction bar moved to a value (control VSllum).
struct Pas {
  Ctl control;
  int value = 0;
};

QColor rgb(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

}  // namespace

Q_DECLARE_METATYPE(QList<Pas>)

class EscriptoriTest : public QObject {
  Q_OBJECT
private slots:
  void sameSurface_data();
  void sameSurface();
};

void EscriptoriTest::sameSurface_data() {
  QTest::addColumn<QList<Pas>>("passos");
  const Pas R{cmdLlum(0)}, V{cmdLlum(1)}, B{cmdLlum(2)}, blanca{Ctl::cmdBlanca}, analisi{Ctl::cmdAnalisi};
  const Pas avall{Ctl::VSllum, 1}, cian{cmdfiltre(3)}, groc{cmdfiltre(5)}, magenta{cmdfiltre(4)};
  const Pas tintaCian{cmdTinta(3)}, pinta{Ctl::cmdPinta};
  QTest::newRow("red and green, straight") << QList<Pas>{R, V};
  QTest::newRow("white through cyan and yellow filters") << QList<Pas>{blanca, cian, groc};
  QTest::newRow("three filters, components") << QList<Pas>{R, V, B, magenta, cian, groc, analisi};
  QTest::newRow("white down at the paper") << QList<Pas>{blanca, avall};
  QTest::newRow("components down at a cyan paper") << QList<Pas>{tintaCian, pinta, blanca, avall, analisi};
  QTest::newRow("components down through a yellow filter") << QList<Pas>{B, V, groc, avall, analisi};
}

void EscriptoriTest::sameSurface() {
  QFETCH(QList<Pas>, passos);
  Form1 form;
  form.setMessageHandler([](const QString&) {});
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.scale(), 1.0);
  Silenci silenci;
  web::Pagina pagina(silenci, {});
  pagina.vista(escala::clientWidth, escala::clientHeight);

  for (const Pas& pas : passos) {
    if (pas.control == Ctl::VSllum) {
      qobject_cast<QScrollBar*>(form.widget(Ctl::VSllum))->setValue(pas.value);
      pagina.barra(pas.value);
    } else {
      QTest::mouseClick(form.widget(pas.control), Qt::LeftButton);
      QVERIFY(pagina.click(pas.control));
    }
  }
  const QImage desktop = form.llenc().grab().toImage().convertToFormat(QImage::Format_RGB32);
  web::Superficie& surface = pagina.superficie();
  Tela tela(surface);
  tela.pinta(surface);
  QCOMPARE(desktop.size(), QSize(surface.width(), surface.height()));

  const auto page = [&](int x, int y) { return rgb(tela.at(x, y)); };
  const auto near = [](int x, int y, auto colourAt, QColor wanted, QSize size) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < size.width() && ny < size.height() && colourAt(nx, ny) == wanted) return true;
      }
    return false;
  };
  std::set<QRgb> drawn;
  int differing = 0;
  for (int y = 0; y < desktop.height(); ++y)
    for (int x = 0; x < desktop.width(); ++x) {
      const QColor d = desktop.pixelColor(x, y), p = page(x, y);
      drawn.insert(d.rgb());
      if (d == p) continue;
      ++differing;
      const auto onDesktop = [&](int nx, int ny) { return desktop.pixelColor(nx, ny); };
      if (!near(x, y, onDesktop, p, desktop.size()) || !near(x, y, page, d, desktop.size()))
        QFAIL(qPrintable(QStringLiteral("at (%1, %2) the page has %3 and the desktop %4, with neither's colour "
                                        "beside the other's")
                             .arg(x).arg(y).arg(p.name(), d.name())));
    }
  // Off by one pixel here and there, at the ends and steps of slanted lines, not along a line.
  QVERIFY2(differing < 100, qPrintable(QString::number(differing) + " pixels differ"));
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x)
      QVERIFY2(drawn.count(page(x, y).rgb()), qPrintable(QStringLiteral("a colour the desktop does not show at (%1, %2)").arg(x).arg(y)));
}

QTEST_MAIN(EscriptoriTest)
#include "escriptori_test.moc"
