// The main window's construction and the wiring of its events.
#include "ui/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>

#include "model/layout.h"
#include "model/textos.h"
#include "ui/botografic.h"
#include "ui/escala.h"
#include "ui/imatges.h"
#include "ui/lector.h"
#include "ui/qtcolor.h"
#include "ui/qttext.h"
#include "view/menus.h"
#include "view/raig.h"

namespace corvani {
namespace {

// Resolved once. Asked for by the list, Qt finds the first family missing and asks fontconfig
// for its substitutes, and for those of the face it settles on; asked for by that face alone,
// it asks for neither.
QFont sansSerif(int points) {
  static const QStringList families = firstInstalled(captionFamilies());
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(points);
  return font;
}

}  // namespace

const QStringList& captionFamilies() {
  static const QStringList families{QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                                    QStringLiteral("Liberation Sans")};
  return families;
}

// Qt takes the first family of a list that its font database holds, whatever the script, as
// the face; only where none is does it turn to fontconfig's substitutes.
QStringList firstInstalled(const QStringList& families) {
  for (const QString& family : families)
    if (!QFontDatabase::styles(family).isEmpty()) return {family};
  return families;
}

void Form1::Missatges::message(std::string_view text) { form_.messageHandler_(qs(text)); }

Form1::Form1(QWidget* parent)
    : QMainWindow(parent),
      client_(new QWidget),
      llenc_(new Llenc(client_)),
      missatges_(*this),
      banc_(*llenc_, missatges_, &pintaraig),
      messageHandler_([this](const QString& text) { showMessageBox(text); }) {
  installPictureAccessibility();
  installSurfaceAccessibility();
  setWindowTitle(qs(textos::titolFinestra));
  setWindowIcon(pixmapOf(Picture::Icona));
  createClient();
  createMenus();
  createControls();
  createShortcuts();
  banc_.controls().setObserver(this);
  banc_.Form_Load();
  widget(Ctl::Picture1)->setAccessibleDescription(qs(descripcioUll(llumAlUll(banc_.estat()))));
  formesDescrites_ = formesVisibles(banc_.estat(), banc_.controls());
  widget(focusInicial)->setFocus();
  resize(escala::client.width(), escala::client.height() + menuBar()->sizeHint().height());
}

Form1::~Form1() { banc_.controls().setObserver(nullptr); }

// The client area opens at 867 × 618 and may then be resized: the bench keeps its proportions,
// centred on black.
void Form1::createClient() {
  client_->setMinimumSize(escala::client / 2);
  client_->setAutoFillBackground(true);
  QPalette black = client_->palette();
  black.setColor(QPalette::Window, Qt::black);
  client_->setPalette(black);
  client_->installEventFilter(this);
  setCentralWidget(client_);
  llenc_->setControls(&banc_.controls());
  llenc_->setEstat(&banc_.estat());
  llenc_->setAccessibleName(qs(textos::nomBanc));
}

void Form1::createMenus() {
  auto add = [this](QAction* action, Menu m) {
    actions_[static_cast<std::size_t>(m)] = action;
    if (m == Menu::mnuSortir)
      connect(action, &QAction::triggered, this, &Form1::mnuSortir_Click);
    else
      connect(action, &QAction::triggered, this, [this, m] {
        banc_.choose(m);
        informaLector();
      });
  };
  for (const MenuBarEntry& entry : barraMenus) {
    if (entry.id) {
      add(menuBar()->addAction(qs(entry.text)), *entry.id);
      continue;
    }
    QMenu* menu = menuBar()->addMenu(qs(entry.text));
    for (const MenuItem& item : entry.items) add(menu->addAction(qs(item.text)), item.id);
  }
}

// From the bottom of the stack up, so that each widget lies over the ones before it and the
// Tab order runs in the reverse of the table's.
void Form1::createControls() {
  for (auto row = controlTable.rbegin(); row != controlTable.rend(); ++row) {
    QWidget* w = createControl(*row);
    widgets_[ord(row->id)] = w;
    if (!w) continue;
    w->setObjectName(controlName(row->id));
    w->setGeometry(escala::toPixels(row->rect));
    fonts_[ord(row->id)] = w->font();
    if (!row->tooltip.empty()) w->setToolTip(qs(row->tooltip));
    if (!row->accessibleName.empty()) w->setAccessibleName(qs(row->accessibleName));
    if (!row->accessibleDescription.empty()) w->setAccessibleDescription(qs(row->accessibleDescription));
    if (auto* button = qobject_cast<QAbstractButton*>(w))
      connect(button, &QAbstractButton::clicked, this, [this, c = row->id] {
        // Only a control the bench shows as usable may act, however the click was queued.
        if (banc_.controls().visible(c) && banc_.controls().enabled(c)) banc_.click(c);
        informaLector();
      });
  }
  for (std::size_t i = 0; i < controlCount; ++i) controlChanged(static_cast<Ctl>(i));
}

QWidget* Form1::createControl(const ControlLayout& row) {
  switch (row.kind) {
    case Kind::Shape:
      return nullptr;
    case Kind::GraphicalButton: {
      const QColor back = row.back ? toQColor(*row.back) : palette().color(QPalette::Button);
      auto* b = new BotoGrafic(qs(row.caption), back, pixmapOf(row.picture), client_);
      b->setFont(sansSerif(8));
      return b;
    }
    case Kind::Button: {
      auto* b = new BotoSistema(qs(row.caption), client_);
      b->setFont(sansSerif(8));
      return b;
    }
    case Kind::PictureBox: {
      auto* p = new CaixaImatge(pixmapOf(row.picture), row.borderWidth, client_);
      p->setFocusPolicy(Qt::StrongFocus);
      return p;
    }
    case Kind::ScrollBar: {
      auto* s = new BarraDesplacament(Qt::Vertical, client_);
      s->setRange(0, 1);
      s->setSingleStep(1);
      s->setPageStep(1);
      s->setFocusPolicy(Qt::StrongFocus);
      connect(s, &QScrollBar::valueChanged, this, [this](int value) {
        banc_.VSllum_Change(static_cast<std::int16_t>(value));
        informaLector();
      });
      return s;
    }
    case Kind::Frame: {
      auto* f = new QGroupBox(qs(row.caption), client_);
      QPalette pal = f->palette();
      pal.setColor(QPalette::Window, toQColor(row.back.value_or(colors::black)));
      pal.setColor(QPalette::WindowText, toQColor(row.fore.value_or(colors::white)));
      f->setPalette(pal);
      f->setAutoFillBackground(true);
      f->setAttribute(Qt::WA_TransparentForMouseEvents);
      return f;
    }
    case Kind::Label: {
      auto* l = new QLabel(qs(row.caption), client_);
      l->setFont(sansSerif(12));
      QPalette pal = l->palette();
      pal.setColor(QPalette::Window, toQColor(row.back.value_or(colors::black)));
      pal.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
      l->setPalette(pal);
      l->setAutoFillBackground(true);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return l;
    }
  }
  return nullptr;
}

// The platform's full-screen key toggles full screen, for the projector; Escape leaves it. The
// bench scales with the client area as it does when the window is resized.
void Form1::createShortcuts() {
  auto* pantallaCompleta = new QShortcut(this);
  QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::FullScreen);
  if (!keys.contains(QKeySequence(Qt::Key_F11))) keys.prepend(QKeySequence(Qt::Key_F11));
  pantallaCompleta->setKeys(keys);
  connect(pantallaCompleta, &QShortcut::activated, this, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
  surtPantallaCompleta_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  surtPantallaCompleta_->setEnabled(false);
  connect(surtPantallaCompleta_, &QShortcut::activated, this,
          [this] { setWindowState(windowState() & ~Qt::WindowFullScreen); });
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) surtPantallaCompleta_->setEnabled(isFullScreen());
  QMainWindow::changeEvent(event);
}

void Form1::informaLector() {
  QWidget* ull = widget(Ctl::Picture1);
  const QString llum = qs(descripcioUll(llumAlUll(banc_.estat())));
  if (llum != ull->accessibleDescription()) {
    ull->setAccessibleDescription(llum);
    anunciaLlumAlUll(*llenc_);
  }
  std::vector<FormaVisible> formes = formesVisibles(banc_.estat(), banc_.controls());
  if (formes != formesDescrites_) {
    formesDescrites_ = std::move(formes);
    anunciaFormes(*llenc_);
  }
}

// Shows one control as the bench describes it now.
void Form1::controlChanged(Ctl c) {
  const ControlState& s = banc_.controls()[c];
  QWidget* w = widget(c);
  if (!w) {
    llenc_->shapeChanged(c);
    return;
  }
  w->setVisible(s.visible);
  w->setEnabled(s.enabled);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(QString::fromStdString(s.caption));
  if (auto* b = dynamic_cast<BotoGrafic*>(w); b && layoutOf(c).back) b->setBack(toQColor(s.back));
  if (auto* bar = qobject_cast<QScrollBar*>(w); bar && bar->value() != s.value) {
    const QSignalBlocker quiet(bar);
    bar->setValue(s.value);
  }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) relayout();
  return QMainWindow::eventFilter(watched, event);
}

// Every rectangle, font and picture at the largest scale that fits the client area.
void Form1::relayout() {
  const escala::Vista view = escala::fit(client_->width(), client_->height());
  scale_ = view.scale;
  llenc_->setGeometry(client_->rect());
  llenc_->setView(QPointF(view.x, view.y), scale_);
  for (const ControlLayout& row : controlTable) {
    QWidget* w = widget(row.id);
    if (!w) continue;
    w->setGeometry(escala::toQRect(escala::place(escala::pixelRect(row.rect), view)));
    QFont font = fonts_[ord(row.id)];
    font.setPointSizeF(font.pointSizeF() * scale_);
    w->setFont(font);
    if (auto* b = dynamic_cast<BotoGrafic*>(w)) b->setScale(scale_);
    if (auto* p = dynamic_cast<CaixaImatge*>(w)) p->setScale(scale_);
  }
}

void Form1::setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

void Form1::showMessageBox(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, qs(textos::nomPrograma), text, QMessageBox::Ok, this);
  box.button(QMessageBox::Ok)->setText(qs(textos::botoAcord));
  box.setAccessibleName(qs(textos::nomPrograma));
  box.setAccessibleDescription(text);
  box.exec();
}

void Form1::mnuSortir_Click() { QCoreApplication::exit(0); }

}  // namespace corvani
