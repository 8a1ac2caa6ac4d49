// Corvani's entry point: one window, nothing read or saved; --help and --version answer without it.
#include <QApplication>
#include <QStyleFactory>

#include "model/textos.h"
#include "ui/arrencada.h"
#include "ui/form1.h"
#include "ui/ordres.h"

int main(int argc, char* argv[]) {
  // Before QApplication, which needs a display: --help and --version must answer without one.
  if (const auto status = corvani::llegeixOrdres(argc, argv)) return *status;
  corvani::Arrencada arrencada(argc, argv);
  QApplication app(argc, argv);
  arrencada.llesta();
  // The same look on every desktop, unless the user asks Qt for another.
  if (!arrencada.estilTriat()) QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setApplicationName(QString::fromUtf8(corvani::textos::nomPrograma.data()));
  QApplication::setApplicationVersion(QStringLiteral(CORVANI_VERSIO));
  // The desktop entry's name without ".desktop": on Wayland this ties the window to its launcher.
  QGuiApplication::setDesktopFileName(QStringLiteral(CORVANI_APP_ID));
  corvani::Form1 form;
  form.show();
  return QApplication::exec();
}
