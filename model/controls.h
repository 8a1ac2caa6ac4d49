// The toolkit-free description of the window's controls: which control is which, and the
// run-time state (visibility, enabled, caption, colours, extent, value) the handlers set on them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/color.h"

namespace corvani {

// Every control, in the window's stacking order: topmost first among the buttons, picture
// boxes, scroll bar and frame (PicAvall .. frmFiltres), then among the shapes and the label.
enum class Ctl : std::uint8_t {
  PicAvall, cmdForaFiltres, cmdTinta7, cmdTinta6, cmdBuidaPot, cmdPinta, VSllum,
  cmdLlumOff2, cmdLlumOff1, cmdLlumOff0, cmdTorna, Picture2, cmdBlanca,
  cmdLlum2, cmdLlum1, cmdLlum0, cmdAnalisi, Picture1,
  cmdTinta5, cmdTinta4, cmdTinta3, cmdTinta2, cmdTinta1, cmdTinta0, cmdFull,
  cmdfiltre5, cmdfiltre4, cmdfiltre3, cmdfiltre2, cmdfiltre1, cmdfiltre0, frmFiltres,
  shpMescla, shpPotMescla, shpPaper, Label2, shpFiltre2, shpFiltre1, shpFiltre0,
};
inline constexpr std::size_t controlCount = static_cast<std::size_t>(Ctl::shpFiltre0) + 1;

constexpr std::size_t ord(Ctl c) { return static_cast<std::size_t>(c); }

// The control arrays, by the index the program has always given their members.
inline constexpr int lampCount = 3;
inline constexpr int filterCount = 6;
inline constexpr int inkCount = 8;
inline constexpr int slotCount = 3;

constexpr Ctl offset(Ctl base, int back) { return static_cast<Ctl>(static_cast<int>(base) - back); }
constexpr Ctl cmdLlum(int i) { return offset(Ctl::cmdLlum0, i); }
constexpr Ctl cmdLlumOff(int i) { return offset(Ctl::cmdLlumOff0, i); }
constexpr Ctl cmdfiltre(int i) { return offset(Ctl::cmdfiltre0, i); }
constexpr Ctl shpFiltre(int s) { return offset(Ctl::shpFiltre0, s); }
constexpr Ctl cmdTinta(int i) {
  return i == 6 ? Ctl::cmdTinta6 : i == 7 ? Ctl::cmdTinta7 : offset(Ctl::cmdTinta0, i);
}

struct ControlState {
  bool visible = true;
  bool enabled = true;
  std::string caption;
  Color back = colors::black;
  Color fill = colors::black;
  // Set at run time in drawing units; empty while the control keeps its laid-out rectangle.
  std::optional<float> top;
  std::optional<float> height;
  std::int16_t value = 0;  // the scroll bar's position
};

// Told of every change, as it happens, so that a view can show the state mid-operation.
class ControlsObserver {
public:
  virtual ~ControlsObserver() = default;
  virtual void controlChanged(Ctl c) = 0;
};

class Controls {
public:
  // The states of the window as it opens.
  Controls();

  const ControlState& operator[](Ctl c) const { return states_[ord(c)]; }
  bool visible(Ctl c) const { return (*this)[c].visible; }
  bool enabled(Ctl c) const { return (*this)[c].enabled; }
  const std::string& caption(Ctl c) const { return (*this)[c].caption; }

  void show(Ctl c) { set(c, &ControlState::visible, true); }
  void hide(Ctl c) { set(c, &ControlState::visible, false); }
  void setVisible(Ctl c, bool v) { set(c, &ControlState::visible, v); }
  void enable(Ctl c) { set(c, &ControlState::enabled, true); }
  void disable(Ctl c) { set(c, &ControlState::enabled, false); }
  void setCaption(Ctl c, std::string_view text) { set(c, &ControlState::caption, std::string(text)); }
  void setBack(Ctl c, Color color) { set(c, &ControlState::back, color); }
  void setFill(Ctl c, Color color) { set(c, &ControlState::fill, color); }
  void setTop(Ctl c, float units) { set(c, &ControlState::top, std::optional<float>(units)); }
  void setHeight(Ctl c, float units) { set(c, &ControlState::height, std::optional<float>(units)); }
  void setValue(Ctl c, std::int16_t v) { set(c, &ControlState::value, v); }

  void setObserver(ControlsObserver* observer) { observer_ = observer; }

private:
  template <typename T>
  void set(Ctl c, T ControlState::*field, T value) {
    auto& slot = states_[ord(c)].*field;
    if (slot == value) return;
    slot = std::move(value);
    if (observer_) observer_->controlChanged(c);
  }

  std::array<ControlState, controlCount> states_;
  ControlsObserver* observer_ = nullptr;
};

}  // namespace corvani
