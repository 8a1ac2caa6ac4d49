// The drawing surface for screen readers: one accessible child per visible shape and one notice.
#include "ui/lector.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <map>
#include <optional>

#include "model/layout.h"
#include "model/textos.h"
#include "ui/escala.h"
#include "ui/llenc.h"
#include "ui/qttext.h"
#include "view/descripcio.h"

namespace corvani {
namespace {

// A rectangle of the bench at scale 1, where it now stands on the screen.
QRect enPantalla(const Llenc& llenc, QRect bench) {
  const QPointF topLeft = llenc.origin() + QPointF(bench.topLeft()) * llenc.scale();
  return {llenc.mapToGlobal(topLeft.toPoint()), (QSizeF(bench.size()) * llenc.scale()).toSize()};
}

// A shape of the surface, or (without a shape) the notice, shown where the eye is. Neither is a
// QObject: both are drawn by the surface, which owns them for screen readers.
class Part : public QAccessibleInterface {
public:
  Part(Llenc* llenc, std::optional<Ctl> forma) : llenc_(llenc), forma_(forma) {}

  bool isValid() const override { return !llenc_.isNull() && llenc_->estat() && llenc_->controls(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return llenc_ ? llenc_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(llenc_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::Role role() const override { return forma_ ? QAccessible::Graphic : QAccessible::Notification; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return {};
    if (!forma_) return llenc_->avis();
    for (const FormaVisible& f : formesVisibles(*llenc_->estat(), *llenc_->controls()))
      if (f.forma == *forma_) return qs(f.nom);
    return {};
  }

  QRect rect() const override {
    if (!isValid()) return {};
    return enPantalla(*llenc_, forma_ ? llenc_->shapeRect(*forma_) : escala::toPixels(layoutOf(Ctl::Picture1).rect));
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    s.invisible = forma_ && isValid() && !llenc_->controls()->visible(*forma_);
    return s;
  }

private:
  QPointer<Llenc> llenc_;
  std::optional<Ctl> forma_;
};

class LlencAccessible : public QAccessibleWidget {
public:
  explicit LlencAccessible(Llenc* llenc) : QAccessibleWidget(llenc, QAccessible::Canvas) {}
  ~LlencAccessible() override {
    for (const auto& [forma, id] : parts_) QAccessible::deleteAccessibleInterface(id);
    if (avis_) QAccessible::deleteAccessibleInterface(avis_);
  }

  int childCount() const override { return static_cast<int>(formes().size()) + 1; }
  QAccessibleInterface* child(int index) const override {
    const std::vector<FormaVisible> visibles = formes();
    if (index < 0 || index > static_cast<int>(visibles.size())) return nullptr;
    if (index == static_cast<int>(visibles.size())) return avis();
    return part(visibles[static_cast<std::size_t>(index)].forma);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int k = 0; k < childCount(); ++k)
      if (this->child(k) == child) return k;
    return -1;
  }

  QAccessibleInterface* avis() const {
    if (!avis_) avis_ = QAccessible::registerAccessibleInterface(new Part(llenc(), std::nullopt));
    return QAccessible::accessibleInterface(avis_);
  }
  QAccessibleInterface* part(Ctl forma) const {
    auto [at, nou] = parts_.try_emplace(forma, QAccessible::Id{});
    if (nou) at->second = QAccessible::registerAccessibleInterface(new Part(llenc(), forma));
    return QAccessible::accessibleInterface(at->second);
  }

private:
  Llenc* llenc() const { return static_cast<Llenc*>(widget()); }
  std::vector<FormaVisible> formes() const {
    const Llenc* l = llenc();
    if (!l->estat() || !l->controls()) return {};
    return formesVisibles(*l->estat(), *l->controls());
  }

  mutable std::map<Ctl, QAccessible::Id> parts_;
  mutable QAccessible::Id avis_ = 0;
};

LlencAccessible* accessible(Llenc& llenc) {
  return dynamic_cast<LlencAccessible*>(QAccessible::queryAccessibleInterface(&llenc));
}

bool conte(const std::vector<FormaVisible>& formes, Ctl forma) {
  return std::any_of(formes.begin(), formes.end(), [forma](const FormaVisible& f) { return f.forma == forma; });
}

}  // namespace

void installSurfaceAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
      if (auto* llenc = dynamic_cast<Llenc*>(object)) return new LlencAccessible(llenc);
      return nullptr;
    });
    return true;
  }();
  (void)installed;
}

// The notice is one object whose name is the latest notice: its new name is told before it is
// shown, as a screen reader that keeps objects' names (Orca 48 does) would otherwise speak the
// first notice ever shown. Nothing is built or sent while no assistive technology listens.
void anuncia(Llenc& llenc, const QString& text) {
  llenc.setAvis(text);
  if (!QAccessible::isActive()) return;
  if (LlencAccessible* surface = accessible(llenc)) {
    for (const QAccessible::Event type : {QAccessible::NameChanged, QAccessible::ObjectShow}) {
      QAccessibleEvent event(surface->avis(), type);
      QAccessible::updateAccessibility(&event);
    }
  }
}

// A shape's child is told created or destroyed as it comes or goes, each a well-formed
// children-changed event; Qt 6.4 sends a reorder of the surface with a malformed signature.
void canviaFormes(Llenc& llenc, const std::vector<FormaVisible>& abans, const std::vector<FormaVisible>& ara) {
  if (!QAccessible::isActive()) return;
  LlencAccessible* surface = accessible(llenc);
  if (!surface) return;
  const auto tell = [surface](Ctl forma, QAccessible::Event type) {
    QAccessibleEvent event(surface->part(forma), type);
    QAccessible::updateAccessibility(&event);
  };
  for (const FormaVisible& f : abans)
    if (!conte(ara, f.forma)) tell(f.forma, QAccessible::ObjectDestroyed);
  for (const FormaVisible& f : ara) {
    if (!conte(abans, f.forma))
      tell(f.forma, QAccessible::ObjectCreated);
    else if (std::find(abans.begin(), abans.end(), f) == abans.end())
      tell(f.forma, QAccessible::NameChanged);
  }
}

}  // namespace corvani
