// Start-up: the graphical platforms Qt will try, and the one Catalan line saying what is missing
// when none of them opens.
#include <QtTest>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/textos.h"
#include "ui/arrencada.h"
#include "ui/qttext.h"

using namespace corvani;

using Vars = std::map<std::string, QString>;
Q_DECLARE_METATYPE(Vars)

class ArrencadaTest : public QObject {
  Q_OBJECT
private slots:
  void platformsAsked_data();
  void platformsAsked();
  void whatIsMissing_data();
  void whatIsMissing();
};

void ArrencadaTest::platformsAsked_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<Vars>("vars");
  QTest::addColumn<QStringList>("platforms");
  const QStringList x{"xcb"};
  QTest::newRow("nothing said: X") << QStringList{} << Vars{} << x;
  QTest::newRow("a Wayland session: Wayland, then X") << QStringList{} << Vars{{"XDG_SESSION_TYPE", "wayland"}}
                                                      << QStringList{"wayland", "xcb"};
  QTest::newRow("the variable, a list in capitals") << QStringList{} << Vars{{"QT_QPA_PLATFORM", "Wayland;XCB"}}
                                                    << QStringList{"wayland", "xcb"};
  QTest::newRow("-platform over the variable, without its arguments")
      << QStringList{"-platform", "vnc:size=800x600"} << Vars{{"QT_QPA_PLATFORM", "garbage"}} << QStringList{"vnc"};
  QTest::newRow("--platform, two dashes") << QStringList{"--platform", "bogus"} << Vars{} << QStringList{"bogus"};
  QTest::newRow("-platform as the last argument, no value") << QStringList{"-platform"} << Vars{} << x;
  QTest::newRow("another option's value is not a platform") << QStringList{"-style", "-platform"} << Vars{} << x;
}

void ArrencadaTest::platformsAsked() {
  QFETCH(QStringList, arguments);
  QFETCH(Vars, vars);
  QFETCH(QStringList, platforms);
  for (const char* name : {"QT_QPA_PLATFORM", "XDG_SESSION_TYPE"}) {
    const auto v = vars.find(name);
    if (v == vars.end()) qunsetenv(name); else qputenv(name, v->second.toLocal8Bit());
  }
  std::vector<QByteArray> storage{"corvani"};
  for (const QString& a : arguments) storage.push_back(a.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& s : storage) argv.push_back(s.data());
  QCOMPARE(plataformesDemanades(int(argv.size()), argv.data()), platforms);
  qunsetenv("QT_QPA_PLATFORM");
  qunsetenv("XDG_SESSION_TYPE");
}

void ArrencadaTest::whatIsMissing_data() {
  QTest::addColumn<QStringList>("platforms");
  QTest::addColumn<QStringList>("installed");
  QTest::addColumn<Vars>("vars");
  QTest::addColumn<QString>("display");  // -display's value
  QTest::addColumn<QString>("line");
  const QStringList x{"xcb"}, both{"wayland", "xcb"};
  QTest::newRow("no display") << x << x << Vars{} << QString() << qs(textos::senseDisplay).arg("DISPLAY");
  QTest::newRow("a display nothing answers on") << x << x << Vars{{"DISPLAY", ":5"}} << QString()
                                                << qs(textos::pantallaInabastable).arg(":5");
  QTest::newRow("-display over DISPLAY") << x << x << Vars{{"DISPLAY", ":5"}} << QString(":7")
                                         << qs(textos::pantallaInabastable).arg(":7");
  QTest::newRow("X's plugin not installed") << x << QStringList{} << Vars{{"DISPLAY", ":5"}} << QString()
                                            << qs(textos::plataformaAbsent).arg("xcb");
  QTest::newRow("no Wayland plugin: X is what failed") << both << x << Vars{{"DISPLAY", ":5"}} << QString()
                                                       << qs(textos::pantallaInabastable).arg(":5");
  QTest::newRow("a Wayland session without its compositor")
      << both << both << Vars{{"DISPLAY", ":5"}} << QString() << qs(textos::senseDisplay).arg("WAYLAND_DISPLAY");
  QTest::newRow("an unknown platform") << QStringList{"bogus"} << x << Vars{} << QString()
                                       << qs(textos::plataformaAbsent).arg("bogus");
  QTest::newRow("an installed platform that did not open") << QStringList{"eglfs"} << QStringList{"eglfs", "xcb"}
                                                           << Vars{{"DISPLAY", ":0"}} << QString()
                                                           << qs(textos::plataformaFallida).arg("eglfs");
}

void ArrencadaTest::whatIsMissing() {
  QFETCH(QStringList, platforms);
  QFETCH(QStringList, installed);
  QFETCH(Vars, vars);
  QFETCH(QString, display);
  QFETCH(QString, line);
  const auto has = [&](const QString& p) { return installed.contains(p); };
  const auto env = [&](const char* name) {
    const auto v = vars.find(name);
    return v == vars.end() ? QString() : v->second;
  };
  QCOMPARE(queFalta(platforms, has, env, display), line);
}

QTEST_APPLESS_MAIN(ArrencadaTest)
#include "arrencada_test.moc"
