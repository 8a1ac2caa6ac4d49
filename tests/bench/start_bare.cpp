// Start-up child with the bare window: the real window's size, menus and tree of controls (one
// per row of the control table), from stock widgets only, with no bench, pictures, colours or
// painting of its own, so that the comparison shows what Corvani's own code adds.
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>

#include "model/layout.h"
#include "model/textos.h"
#include "start_report.h"
#include "ui/escala.h"

namespace {

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

class BareWindow : public QMainWindow {
public:
  BareWindow() {
    namespace t = corvani::textos;
    setWindowTitle(qs(t::titolFinestra));
    auto* client = new QWidget;
    client->setFixedSize(corvani::escala::client);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    canvas_ = new QWidget(client);
    canvas_->setGeometry(QRect(QPoint(0, 0), corvani::escala::client));
    canvas_->setAutoFillBackground(true);

    menuBar()->addAction(qs(t::mnuSortir));
    QMenu* info = menuBar()->addMenu(qs(t::mnuInfo));
    for (auto text : {t::mnusobre, t::mnuComFunciona, t::mnuMesInfo}) info->addAction(qs(text));
    QMenu* opcions = menuBar()->addMenu(qs(t::mnuOpcions));
    for (auto text : {t::mnuFiltres, t::mnuTintes, t::mnuComplet}) opcions->addAction(qs(text));

    // In the real window's order, so that the widgets stack the same way.
    for (auto row = corvani::controlTable.rbegin(); row != corvani::controlTable.rend(); ++row) {
      QWidget* w = nullptr;
      switch (row->kind) {
        case corvani::Kind::Button:
        case corvani::Kind::GraphicalButton: w = new QPushButton(qs(row->caption), client); break;
        case corvani::Kind::PictureBox: w = new QLabel(client); break;
        case corvani::Kind::ScrollBar: w = new QScrollBar(Qt::Vertical, client); break;
        case corvani::Kind::Frame: w = new QGroupBox(qs(row->caption), client); break;
        case corvani::Kind::Label: w = new QLabel(qs(row->caption), client); break;
        case corvani::Kind::Shape: w = new QWidget(client); break;
      }
      w->setGeometry(corvani::escala::toPixels(row->rect));
      w->setVisible(row->visible);
      ++controls_;
    }
  }
  QWidget* canvas() const { return canvas_; }
  int controls() const { return controls_; }

private:
  QWidget* canvas_ = nullptr;
  int controls_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  const auto entered = bench::Clock::now();
  bench::ProbeApp app(argc, argv);
  app.onFrame([entered](bench::Clock::time_point frame) { bench::reportFirstFrame(entered, frame); });
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setApplicationName(qs(corvani::textos::nomPrograma));
  BareWindow window;
  if (window.controls() != static_cast<int>(corvani::controlCount)) return 3;
  app.watch(window.canvas());
  window.show();
  return QApplication::exec();
}
