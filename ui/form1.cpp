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
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QWindow>

#include <algorithm>
#include <cmath>

#include "model/layout.h"
#include "model/textos.h"
#include "ui/accessibles.h"
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

// Qt 6.4's bridge sends a name or description change with the object where the new text belongs,
// and Orca drops it; Qt 6.8 sends the text, which Orca speaks when the control has the focus.
constexpr bool qtTellsFocusedChanges = QT_VERSION >= QT_VERSION_CHECK(6, 8, 0);

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

QPalette legibleHighlight(QPalette palette) {
  constexpr int steps = 64;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const Color text = fromQColor(palette.color(group, QPalette::HighlightedText));
    const QColor from = palette.color(group, QPalette::Highlight);
    const QColor to = luminance(text) > luminance(fromQColor(from)) ? Qt::black : Qt::white;
    QColor back = from;
    for (int step = 1; step <= steps && contrast(fromQColor(back), text) < legible; ++step) {
      const auto mix = [&](int a, int b) { return a + (b - a) * step / steps; };
      back = QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
    }
    palette.setColor(group, QPalette::Highlight, back);
  }
  return palette;
}

void Form1::Missatges::message(std::string_view text) { form_.messageHandler_(qs(text)); }

Form1::Form1(QWidget* parent)
    : QMainWindow(parent),
      client_(new QWidget),
      llenc_(new Llenc(client_)),
      missatges_(*this),
      banc_(*llenc_, missatges_, &pintaraig),
      messageHandler_([this](const QString& text) { showMessageBox(text); }) {
  installControlAccessibility();
  installSurfaceAccessibility();
  setWindowTitle(qs(textos::titolFinestra));
  setWindowIcon(pixmapOf(Picture::Icona));
  createClient();
  createMenus();
  createControls();
  createShortcuts();
  banc_.controls().setObserver(this);
  banc_.Form_Load();
  llegit_ = llegeix(banc_.estat(), banc_.controls());
  widget(Ctl::Picture1)->setAccessibleDescription(qs(llegit_.ull));
  llenc_->setAvis(qs(llegit_.ull));
  widget(focusInicial)->setFocus();
  // On a screen too small for it (a netbook's 1024 × 600), smaller, in proportion; the frame is
  // not known until the window is shown, when fitToScreen() allows for it.
  const int menu = menuBar()->sizeHint().height();
  const QSize client = clientThatFits(screen()->availableGeometry().size(), menu, {});
  resize(client.width(), client.height() + menu);
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
      // Queued: a message box an item opens comes once its menu has closed and given the window
      // back its focus, so that a screen reader hears the box once, after the window.
      connect(
          action, &QAction::triggered, this,
          [this, m] {
            banc_.choose(m);
            informaLector();
          },
          Qt::QueuedConnection);
  };
  menuBar()->setPalette(legibleHighlight(menuBar()->palette()));
  for (const MenuBarEntry& entry : barraMenus) {
    if (entry.id) {
      add(menuBar()->addAction(qs(entry.text)), *entry.id);
      continue;
    }
    // Named by its title in the accessibility tree; its items say it too.
    QMenu* menu = menuBar()->addMenu(qs(entry.text));
    menu->setAccessibleName(qs(entry.text).remove(u'&'));
    menu->setPalette(legibleHighlight(menu->palette()));
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
    if (!row->purpose.empty()) w->setAccessibleName(qs(accessibleNameFor(row->id, row->caption)));
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
      auto* b = new BotoGrafic(qs(row.caption), back, toQColor(row.fore.value_or(colors::black)), pixmapOf(row.picture),
                               client_);
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
      pal.setColor(QPalette::WindowText, toQColor(row.fore.value_or(colors::white)));
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

QSize clientThatFits(QSize available, int menuBar, QMargins frame) {
  const double width = available.width() - frame.left() - frame.right();
  const double height = available.height() - frame.top() - frame.bottom() - menuBar;
  const double scale =
      std::clamp(std::min({width / escala::client.width(), height / escala::client.height(), 1.0}), 0.5, 1.0);
  return {int(std::floor(escala::client.width() * scale)), int(std::floor(escala::client.height() * scale))};
}

void Form1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (QWindow* window = windowHandle(); window && !event->spontaneous()) window->installEventFilter(this);
}

void Form1::fitToScreen() {
  if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  const QRect available = screen()->availableGeometry();
  const QRect frame = frameGeometry();
  if (available.contains(frame)) return;
  const QMargins margins = windowHandle()->frameMargins();
  const QSize client = clientThatFits(available.size(), menuBar()->height(), margins);
  resize(client.width(), client.height() + menuBar()->height());
  const QSize whole = size().grownBy(margins);
  move(std::clamp(frame.x(), available.left(), std::max(available.left(), available.right() + 1 - whole.width())),
       std::clamp(frame.y(), available.top(), std::max(available.top(), available.bottom() + 1 - whole.height())));
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) surtPantallaCompleta_->setEnabled(isFullScreen());
  QMainWindow::changeEvent(event);
}

void Form1::informaLector() {
  Lectura ara = llegeix(banc_.estat(), banc_.controls());
  if (ara.ull != llegit_.ull) widget(Ctl::Picture1)->setAccessibleDescription(qs(ara.ull));
  canviaFormes(*llenc_, llegit_.formes, ara.formes);
  const std::string text = avis(llegit_, ara, sentits());
  llegit_ = std::move(ara);
  if (!text.empty()) anuncia(*llenc_, qs(text));
}

std::vector<Ctl> Form1::sentits() const {
  if (!qtTellsFocusedChanges) return {};
  for (std::size_t i = 0; i < controlCount; ++i)
    if (widgets_[i] && widgets_[i]->hasFocus()) return {static_cast<Ctl>(i)};
  return {};
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
  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    // The name first, so that the caption's own name change already carries the new name.
    const QString name = qs(accessibleNameFor(c, s.caption));
    if (w->accessibleName() != name) w->setAccessibleName(name);
    b->setText(QString::fromStdString(s.caption));
  }
  if (auto* b = dynamic_cast<BotoGrafic*>(w); b && layoutOf(c).back) b->setBack(toQColor(s.back));
  if (auto* bar = qobject_cast<QScrollBar*>(w)) {
    if (bar->value() != s.value) {
      const QSignalBlocker quiet(bar);
      bar->setValue(s.value);
    }
    const QString words = qs(descripcioDireccio(s.value));
    if (bar->accessibleDescription() != words) bar->setAccessibleDescription(words);
  }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) relayout();
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    watched->removeEventFilter(this);
    fitToScreen();
  }
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
    font.setPointSizeF(font.pointSizeF() * scale_ * escala::pointsFor(*client_));
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
  box.exec();
}

void Form1::mnuSortir_Click() { QCoreApplication::exit(0); }

}  // namespace corvani
