// The accessible interfaces of the push buttons, picture boxes, direction bar and menu items.
#include "ui/accessibles.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>

#include "model/textos.h"
#include "ui/botografic.h"
#include "ui/qttext.h"

namespace corvani {
namespace {

// A push button: its accessible name, and a description only where one is given. The tooltip,
// which Qt would give as the description, says what the name already says, and a screen reader
// would speak it after the name. Made for every push button, the message boxes' too: Qt asks for
// a button's interface while the QPushButton is being built, before the window's own button
// class is there to be told apart.
class BotoAccessible : public QAccessibleWidget {
public:
  explicit BotoAccessible(QPushButton* b) : QAccessibleWidget(b, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) return widget()->accessibleDescription();
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return boto().text().remove(u'&');
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.pressed = boto().isDown();
    return s;
  }
  QStringList actionNames() const override {
    QStringList names;
    if (widget()->isEnabled()) names << pressAction();
    return names + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action != pressAction()) return QAccessibleWidget::doAction(action);
    if (widget()->isEnabled()) boto().click();
  }

private:
  QPushButton& boto() const { return *static_cast<QPushButton*>(widget()); }
};

// An item of a drop-down menu, as Qt's own, but that its description says which menu it belongs
// to: Orca names no menu of Qt's as the focus enters it, only the item.
class ElementMenu : public QAccessibleInterface, public QAccessibleActionInterface {
public:
  ElementMenu(QMenu* menu, QAction* action) : menu_(menu), action_(action) {}

  bool isValid() const override { return menu_ && action_; }
  QObject* object() const override { return action_; }
  QWindow* window() const override { return menu_ ? menu_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(menu_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::Role role() const override { return action_->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem; }

  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    switch (t) {
      case QAccessible::Name:
        return QString(action_->text()).remove(u'&');
      case QAccessible::Description:
        return qs(textos::menu) + menu_->title().remove(u'&');
      case QAccessible::Accelerator: {
        const QKeySequence letter = QKeySequence::mnemonic(action_->text());
        return letter.isEmpty() ? QString() : letter.toString(QKeySequence::NativeText);
      }
      default:
        return {};
    }
  }
  QRect rect() const override {
    if (!isValid()) return {};
    return menu_->actionGeometry(action_).translated(menu_->mapToGlobal(QPoint(0, 0)));
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) return s;
    s.invisible = !menu_->isVisible() || !action_->isVisible();
    s.focused = menu_->activeAction() == action_;
    s.disabled = action_->isSeparator() || !action_->isEnabled();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override {
    return isValid() && !action_->isSeparator() ? QStringList{pressAction()} : QStringList();
  }
  void doAction(const QString& name) override {
    if (name == pressAction() && isValid() && action_->isEnabled()) action_->trigger();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
  QPointer<QMenu> menu_;
  QPointer<QAction> action_;
};

}  // namespace

// The picture boxes are announced as pictures. The direction bar, the program's one scroll bar,
// has no value for screen readers, whose number would mean nothing: its description says where
// the lamp points. (Told apart by Qt's class, as Qt may ask while the QScrollBar is being built.)
void installControlAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
      if (auto* box = dynamic_cast<CaixaImatge*>(object)) return new QAccessibleWidget(box, QAccessible::Graphic);
      if (auto* button = qobject_cast<QPushButton*>(object)) return new BotoAccessible(button);
      if (auto* bar = qobject_cast<QScrollBar*>(object)) return new QAccessibleWidget(bar, QAccessible::ScrollBar);
      if (auto* action = qobject_cast<QAction*>(object); action && !action->menu())
        for (QObject* owner : action->associatedObjects())
          if (auto* menu = qobject_cast<QMenu*>(owner)) return new ElementMenu(menu, action);
      return nullptr;
    });
    return true;
  }();
  (void)installed;
}

}  // namespace corvani
