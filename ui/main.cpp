// Corvani's entry point: one window, no arguments, nothing read or saved.
#include <QApplication>
#include <QStyleFactory>

#include "model/textos.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setApplicationName(QString::fromUtf8(corvani::textos::nomPrograma.data()));
  corvani::Form1 form;
  form.show();
  return QApplication::exec();
}
