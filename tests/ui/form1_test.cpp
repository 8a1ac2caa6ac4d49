// The real window, on the offscreen platform.
#include <QtTest>

#include "ui/form1.h"

using namespace corvani;

class Form1Test : public QObject {
  Q_OBJECT
private slots:
  void titleAndClientSize() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Corvani (1)"));
    QCOMPARE(form.client()->size(), QSize(867, 618));
  }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
