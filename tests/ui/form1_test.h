// The window's test suite: one class whose cases live in form1_test.cpp (the window as it opens,
// menus, modes, focus) and bench_test.cpp (lamps, ray, filters, direction, analysis, pot, paper).
#pragma once

#include <QImage>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QtTest>
#include <functional>

#include "model/layout.h"
#include "ui/escala.h"
#include "ui/form1.h"
#include "ui/qttext.h"

Q_DECLARE_METATYPE(corvani::Ctl)
Q_DECLARE_METATYPE(corvani::Menu)

namespace corvani::test {

inline QColor rgb(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

// A shown window whose message boxes are recorded instead of opened; whileOpen runs inside
// the box, while the window stands as the user would see it behind the box.
struct Window {
  Form1 form;
  QStringList messages;
  std::function<void()> whileOpen;

  Window() {
    form.setMessageHandler([this](const QString& text) {
      messages << text;
      if (whileOpen) whileOpen();
    });
    form.show();
  }
  bool exposed() { return QTest::qWaitForWindowExposed(&form); }
  QWidget* w(Ctl c) const { return form.widget(c); }
  bool shown(Ctl c) const { return w(c) ? !w(c)->isHidden() : form.banc().controls().visible(c); }
  void click(Ctl c) { QTest::mouseClick(w(c), Qt::LeftButton); }
  void click(const QList<Ctl>& cs) {
    for (Ctl c : cs) click(c);
  }
  QString nameOf(QWidget* widget) const {
    for (std::size_t i = 0; i < controlCount; ++i)
      if (form.widget(Ctl(i)) == widget) return corvani::controlName(Ctl(i));
    return widget->metaObject()->className();
  }
  QImage shot() const { return form.client()->grab().toImage(); }
  QColor at(int x, int y) const { return shot().pixelColor(x, y); }
};

#define OPEN_WINDOW(win) \
  Window win;            \
  QVERIFY(win.exposed())

}  // namespace corvani::test

class Form1Test : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();

  // form1_test.cpp
  void window();
  void tableRows_data();
  void tableRows();
  void faceColour_data();
  void faceColour();
  void overlapping_data();
  void overlapping();
  void stackingFollowsTable();
  void hiddenAtStart_data();
  void hiddenAtStart();
  void surfaceAtStart();
  void menuItems_data();
  void menuItems();
  void modes_data();
  void modes();
  void focusAndTabChain_data();
  void focusAndTabChain();
  void firstInstalledFamily_data();
  void firstInstalledFamily();
  void clientFitsScreen_data();
  void clientFitsScreen();
  void captionInk_data();
  void captionInk();
  void menuHighlight_data();
  void menuHighlight();
  void legibleHighlight_data();
  void legibleHighlight();

  // bench_test.cpp
  void lamps_data();
  void lamps();
  void rayEndsUnderPictures_data();
  void rayEndsUnderPictures();
  void linesUnderFilterShapes_data();
  void linesUnderFilterShapes();
  void filters_data();
  void filters();
  void fourthFilterMessage();
  void direction_data();
  void direction();
  void analysis_data();
  void analysis();
  void potAndPaper_data();
  void potAndPaper();
};
