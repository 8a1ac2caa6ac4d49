// The window as it opens: one row per control with its kind, rectangle, caption, picture,
// colours and initial visibility. The window is built from this table and checked against it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/color.h"
#include "model/controls.h"

namespace corvani {

enum class Kind : std::uint8_t { Button, GraphicalButton, PictureBox, ScrollBar, Frame, Shape, Label };
inline constexpr std::array<std::string_view, 7> kindNames = {"Button", "GraphicalButton", "PictureBox", "ScrollBar",
                                                              "Frame",  "Shape",           "Label"};
constexpr std::string_view kindName(Kind k) { return kindNames[static_cast<std::size_t>(k)]; }

enum class Picture : std::uint8_t {
  None, Icona, Llum, LlumAvall, Ull,
  Tinta0, Tinta1, Tinta2, Tinta3, Tinta4, Tinta5, Tinta6, Tinta7,  // by ink index
  BuidaPot, Pinta,
};
constexpr Picture tintaPicture(int ink) { return static_cast<Picture>(static_cast<int>(Picture::Tinta0) + ink); }

// Twips: 15 to a pixel, origin at the client area's top-left corner.
struct TwipRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct ControlLayout {
  Ctl id{};
  std::string_view name;
  int index = -1;  // member of a control array, or -1
  Kind kind{};
  TwipRect rect;
  std::string_view caption;
  std::string_view tooltip;
  // For screen readers: what the control does, where its caption does not say it; the whole
  // name of a control without a caption.
  std::string_view purpose;
  Picture picture = Picture::None;
  std::optional<Color> back;  // empty: the system's colour for the kind (button face)
  bool backOpaque = true;
  std::optional<Color> fore;  // the caption's ink; empty: the system's for the kind
  std::optional<Color> fill;  // shapes: shown only with a solid fill
  std::optional<Color> border;  // shapes: empty means the system's window-text colour
  int borderWidth = 0;  // pixels
  bool visible = true;
};

using Layout = std::array<ControlLayout, controlCount>;
extern const Layout controlTable;  // indexed by ord(Ctl), so in stacking order

inline const ControlLayout& layoutOf(Ctl c) { return controlTable[ord(c)]; }

// A name that starts with the caption as it reads on screen (its words, single-spaced, so that
// speech input finds the control by what it shows), then what the control does, where there is
// that to say; either alone where the other is empty.
std::string accessibleName(std::string_view caption, std::string_view purpose);

// The name screen readers give a control that shows this caption; the white-light switch and
// the analysis button, whose caption holds their state, say what they do for each caption.
std::string accessibleNameFor(Ctl c, std::string_view caption);

// The control that has the keyboard's focus as the window opens.
inline constexpr Ctl focusInicial = cmdfiltre(0);

}  // namespace corvani
