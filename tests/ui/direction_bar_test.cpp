// The direction bar's track, at every window size and, run under several QT_SCALE_FACTORs, every
// scale: the thumb shorter than its groove, at the top at 0 and at the bottom at 1, and a click
// in the track beside the thumb or on an arrow moving the lamp one step, delivered through the
// window as the platform delivers a click.
#include <QApplication>
#include <QScrollBar>
#include <QtTest>

#include "scroll_bar_part.h"
#include "ui/form1.h"

Q_DECLARE_METATYPE(QStyle::SubControl)

using namespace corvani;

using test::scrollBarPart;

class DirectionBarTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }
  void click_data();
  void click();
};

void DirectionBarTest::click_data() {
  QTest::addColumn<QSize>("client");
  QTest::addColumn<int>("start");
  QTest::addColumn<QStyle::SubControl>("where");
  QTest::addColumn<int>("value");
  const struct {
    const char* name;
    QSize client;
  } sizes[] = {{"smallest window", {434, 309}},
               {"opening window", {867, 618}},
               {"one and a half", {1300, 927}},
               {"double", {1734, 1236}},
               {"projector, wide", {2601, 1500}}};
  for (const auto& s : sizes) {
    QTest::addRow("%s: at the eye, the track below the thumb", s.name) << s.client << 0 << QStyle::SC_ScrollBarAddPage << 1;
    QTest::addRow("%s: at the paper, the track above the thumb", s.name) << s.client << 1 << QStyle::SC_ScrollBarSubPage << 0;
    QTest::addRow("%s: at the eye, the down arrow", s.name) << s.client << 0 << QStyle::SC_ScrollBarAddLine << 1;
    QTest::addRow("%s: at the paper, the up arrow", s.name) << s.client << 1 << QStyle::SC_ScrollBarSubLine << 0;
    QTest::addRow("%s: at the eye, the thumb", s.name) << s.client << 0 << QStyle::SC_ScrollBarSlider << 0;
  }
}

void DirectionBarTest::click() {
  QFETCH(QSize, client);
  QFETCH(int, start);
  QFETCH(QStyle::SubControl, where);
  QFETCH(int, value);
  Form1 form;
  form.setMessageHandler([](const QString&) {});
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.resize(form.size() + client - form.client()->size());
  QTRY_COMPARE(form.client()->size(), client);
  auto* bar = qobject_cast<QScrollBar*>(form.widget(Ctl::VSllum));
  bar->setValue(start);

  const QRect groove = scrollBarPart(*bar, QStyle::SC_ScrollBarGroove), thumb = scrollBarPart(*bar, QStyle::SC_ScrollBarSlider);
  QVERIFY2(thumb.height() < groove.height(), "the thumb fills its groove: there is no track to click");
  QVERIFY(groove.contains(thumb));
  QCOMPARE(start == 0 ? thumb.top() : thumb.bottom(), start == 0 ? groove.top() : groove.bottom());

  const QRect target = scrollBarPart(*bar, where);
  QVERIFY2(!target.isEmpty(), "nothing to click there");
  QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, bar->mapTo(&form, target.center()));
  QCOMPARE(bar->value(), value);
  QCOMPARE(int(form.banc().estat().direccio), value);
}

QTEST_MAIN(DirectionBarTest)
#include "direction_bar_test.moc"
