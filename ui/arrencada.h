// Starting Qt: the session bus and runtime directory it is given, so that nothing is started or
// left behind, and one Catalan line and status 1, not Qt's abort, when no window can be opened.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace corvani {

// The graphical platforms Qt will try, in order, from -platform, QT_QPA_PLATFORM or its default;
// lower case, without their arguments.
QStringList plataformesDemanades(int argc, char* argv[]);

// What is missing when none of `platforms` could be opened; `installed` says whether Qt has a
// plugin for a platform, `env` reads an environment variable, `display` is -display's value.
QString queFalta(const QStringList& platforms, const std::function<bool(const QString&)>& installed,
                 const std::function<QString(const char*)>& env, const QString& display);

class Arrencada {
public:
  // Before QApplication. Gives Qt the user's runtime directory where the environment names none
  // or one Qt refuses, and, where no session bus runs, an address that reaches none: libdbus would
  // otherwise start one (dbus-launch and a dbus-daemon that outlive the program). From here until
  // llesta(), Qt's messages are held, and a platform that cannot be opened ends the program.
  Arrencada(int argc, char* argv[]);
  // After QApplication: passes on the messages held, and removes the runtime directory that Qt made
  // in the temporary folder, empty, where it found none.
  void llesta();
  // Whether the user chose a style for Qt: -style NAME, -style=NAME or QT_STYLE_OVERRIDE.
  bool estilTriat() const { return estilTriat_; }

private:
  bool estilTriat_ = false;
};

}  // namespace corvani
