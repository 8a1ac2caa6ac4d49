// The main window: every control built from the window's table, the menus, and the wiring of
// each control's event to the bench. Widgets follow the bench's control description as it changes.
#pragma once

#include <QFont>
#include <QMargins>
#include <QMainWindow>
#include <QPalette>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "model/banc.h"
#include "model/controls.h"
#include "model/layout.h"
#include "ui/llenc.h"
#include "view/descripcio.h"

class QAction;
class QShortcut;

namespace corvani {

// The captions' families, in order of preference: the face the window was laid out in, then
// faces with its metrics, so that the captions fit the buttons.
const QStringList& captionFamilies();
// The first of `families` that is installed, alone: the face Qt would choose from the whole
// list. The whole list where none is, for Qt to find a substitute.
QStringList firstInstalled(const QStringList& families);

// The largest client area, at most the opening size and in its proportions, at which the window
// (client area, menu bar of `menuBar` pixels and the window system's `frame`) fits `available`;
// never less than the smallest the window allows, half the opening size.
QSize clientThatFits(QSize available, int menuBar, QMargins frame);

// `palette` with its highlight, in each colour group, moved towards black (or white, where the
// highlighted text is the darker) until the highlighted text reads against it, as the menus'
// highlighted items need: Fusion's white on #308cc6 reads at 3.7 : 1.
QPalette legibleHighlight(QPalette palette);

class Form1 : public QMainWindow, private ControlsObserver {
public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  const Banc& banc() const { return banc_; }
  Llenc& llenc() { return *llenc_; }
  QWidget* client() const { return client_; }
  // The bench's scale: 1 at the client area's opening size of 867 × 618 pixels.
  double scale() const { return scale_; }
  // The widget that shows a control; null for the shapes, which the surface paints.
  QWidget* widget(Ctl c) const { return widgets_[ord(c)]; }
  QAction* action(Menu m) const { return actions_[static_cast<std::size_t>(m)]; }

  // Every message box goes through here; tests answer them by replacing it. The default opens
  // a modal box and returns when the user has closed it.
  using MessageHandler = std::function<void(const QString& text)>;
  void setMessageHandler(MessageHandler handler);
  void showMessageBox(const QString& text);

private:
  class Missatges : public Dialogs {
  public:
    explicit Missatges(Form1& form) : form_(form) {}
    void message(std::string_view text) override;

  private:
    Form1& form_;
  };

  void createClient();
  void createMenus();
  void createControls();
  void createShortcuts();
  QWidget* createControl(const ControlLayout& row);
  void controlChanged(Ctl c) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Once the window system has framed the window: shrinks and moves it, if need be, to lie whole
  // on its screen's available area.
  void fitToScreen();
  // After every action: tells screen readers what has changed on the bench, in one notice.
  void informaLector();
  // The controls whose own change of name or description a screen reader hears by itself.
  std::vector<Ctl> sentits() const;
  void relayout();
  void mnuSortir_Click();

  QWidget* client_ = nullptr;
  Llenc* llenc_ = nullptr;
  Missatges missatges_;
  Banc banc_;
  MessageHandler messageHandler_;
  std::array<QWidget*, controlCount> widgets_{};
  std::array<QFont, controlCount> fonts_{};  // at scale 1
  double scale_ = 1;
  std::array<QAction*, 7> actions_{};
  QShortcut* surtPantallaCompleta_ = nullptr;  // Escape, only while in full screen
  Lectura llegit_;  // what screen readers were last told
};

}  // namespace corvani
