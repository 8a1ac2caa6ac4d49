// Start-up child with the real window: the steps of ui/main.cpp, until the first frame that
// paints the drawing surface is finished. Keep it in step with ui/main.cpp.
#include <QStyleFactory>

#include "model/textos.h"
#include "start_report.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  const auto entered = bench::Clock::now();
  bench::ProbeApp app(argc, argv);
  app.onFrame([entered](bench::Clock::time_point frame) { bench::reportFirstFrame(entered, frame); });
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setApplicationName(QString::fromUtf8(corvani::textos::nomPrograma.data()));
  corvani::Form1 form;
  app.watch(&form.llenc());
  form.show();
  return QApplication::exec();
}
