// The window's control table.
#include "model/layout.h"

#include <algorithm>

#include "model/textos.h"

namespace corvani {
namespace {

namespace t = textos;
using namespace colors;

constexpr ControlLayout lampButton(Ctl id, int i, int left, Color c, Color ink = black) {
  return {.id = id, .name = "cmdLlum", .index = i, .kind = Kind::GraphicalButton, .rect = {left, 720, 375, 495},
          .caption = t::llum[i], .tooltip = t::encenLlum[i], .purpose = t::encenLlumColor[i], .back = c, .fore = ink};
}
constexpr ControlLayout offButton(Ctl id, int i, int left, Color c, Color ink = black) {
  return {.id = id, .name = "cmdLlumOff", .index = i, .kind = Kind::GraphicalButton,
          .rect = {left, 1200, 375, 255}, .caption = t::llumOff, .purpose = t::apagaLlumColor[i], .back = c, .fore = ink,
          .visible = false};
}
constexpr ControlLayout inkButton(Ctl id, int i, TwipRect r, Color c, bool visible) {
  return {.id = id, .name = "cmdTinta", .index = i, .kind = Kind::GraphicalButton, .rect = r,
          .purpose = t::nomTinta[i], .picture = tintaPicture(i), .back = c, .visible = visible};
}
constexpr ControlLayout filterButton(Ctl id, int i, int left, int top, Color c, Color ink = black) {
  return {.id = id, .name = "cmdfiltre", .index = i, .kind = Kind::GraphicalButton,
          .rect = {left, top, 615, 615}, .caption = t::filtre[i], .purpose = t::posaFiltre[i], .back = c,
          .fore = ink};
}
constexpr ControlLayout filterSlot(Ctl id, int s, int left) {
  return {.id = id, .name = "shpFiltre", .index = s, .kind = Kind::Shape, .rect = {left, 960, 135, 4815},
          .back = red, .border = red, .borderWidth = 1, .visible = false};
}
constexpr ControlLayout lampPicture(Ctl id, std::string_view name, Picture p, std::string_view purpose, bool visible) {
  return {.id = id, .name = name, .kind = Kind::PictureBox, .rect = {480, 2640, 855, 855}, .purpose = purpose,
          .picture = p, .back = black, .visible = visible};
}

constexpr Layout table = {{
    lampPicture(Ctl::PicAvall, "PicAvall", Picture::LlumAvall, t::nomLlumAvall, false),
    {.id = Ctl::cmdForaFiltres, .name = "cmdForaFiltres", .kind = Kind::GraphicalButton,
     .rect = {2040, 8880, 2055, 255}, .caption = t::retiraFiltres, .back = white, .fore = black,
     .visible = false},
    inkButton(Ctl::cmdTinta7, 7, {11880, 1320, 950, 975}, blue, false),
    inkButton(Ctl::cmdTinta6, 6, {11880, 240, 950, 975}, green, false),
    {.id = Ctl::cmdBuidaPot, .name = "cmdBuidaPot", .kind = Kind::GraphicalButton, .rect = {6240, 1440, 735, 735},
     .purpose = t::nomBuidaPot, .picture = Picture::BuidaPot},
    {.id = Ctl::cmdPinta, .name = "cmdPinta", .kind = Kind::GraphicalButton, .rect = {8160, 1440, 615, 795},
     .purpose = t::nomPinta, .picture = Picture::Pinta, .back = white},
    {.id = Ctl::VSllum, .name = "VSllum", .kind = Kind::ScrollBar, .rect = {120, 3000, 255, 615},
     .purpose = t::nomDireccio},
    offButton(Ctl::cmdLlumOff2, 2, 1080, blue, white),
    offButton(Ctl::cmdLlumOff1, 1, 720, green),
    offButton(Ctl::cmdLlumOff0, 0, 360, red),
    {.id = Ctl::cmdTorna, .name = "cmdTorna", .kind = Kind::Button, .rect = {360, 5520, 975, 855},
     .caption = t::borraTot, .purpose = t::nomTorna},
    lampPicture(Ctl::Picture2, "Picture2", Picture::Llum, t::nomLlumRecta, true),
    {.id = Ctl::cmdBlanca, .name = "cmdBlanca", .kind = Kind::GraphicalButton, .rect = {360, 1440, 1095, 615},
     .caption = t::llumBlanca, .tooltip = t::interruptorLlumBlanca, .back = white, .fore = black},
    lampButton(Ctl::cmdLlum2, 2, 1080, blue, white),
    lampButton(Ctl::cmdLlum1, 1, 720, green),
    lampButton(Ctl::cmdLlum0, 0, 360, red),
    {.id = Ctl::cmdAnalisi, .name = "cmdAnalisi", .kind = Kind::GraphicalButton, .rect = {1680, 1560, 1215, 495},
     .caption = t::analisiDeLaLlum, .back = lightGreen, .fore = black},
    {.id = Ctl::Picture1, .name = "Picture1", .kind = Kind::PictureBox, .rect = {12605, 2880, 480, 480},
     .tooltip = t::ull, .purpose = t::ull, .picture = Picture::Ull, .back = black, .borderWidth = 1},
    inkButton(Ctl::cmdTinta5, 5, {8160, 120, 960, 975}, yellow, true),
    inkButton(Ctl::cmdTinta4, 4, {7080, 120, 960, 975}, magenta, true),
    inkButton(Ctl::cmdTinta3, 3, {6000, 120, 960, 975}, cyan, true),
    inkButton(Ctl::cmdTinta2, 2, {10800, 1320, 950, 975}, black, false),
    inkButton(Ctl::cmdTinta1, 1, {9720, 240, 950, 975}, white, false),
    inkButton(Ctl::cmdTinta0, 0, {10800, 240, 950, 975}, red, false),
    {.id = Ctl::cmdFull, .name = "cmdFull", .kind = Kind::GraphicalButton, .rect = {6000, 7920, 975, 735},
     .caption = t::fullNou, .purpose = t::nomFull, .back = white, .fore = black},
    filterButton(Ctl::cmdfiltre5, 5, 3480, 8160, yellow),
    filterButton(Ctl::cmdfiltre4, 4, 2760, 8160, magenta),
    filterButton(Ctl::cmdfiltre3, 3, 2040, 8160, cyan),
    filterButton(Ctl::cmdfiltre2, 2, 3480, 7440, blue, white),
    filterButton(Ctl::cmdfiltre1, 1, 2760, 7440, green),
    filterButton(Ctl::cmdfiltre0, 0, 2040, 7440, red),
    {.id = Ctl::frmFiltres, .name = "frmFiltres", .kind = Kind::Frame, .rect = {1920, 7080, 2295, 2175},
     .caption = t::filtresMarc, .back = black, .fore = white},
    {.id = Ctl::shpMescla, .name = "shpMescla", .kind = Kind::Shape, .rect = {7080, 1920, 975, 255},
     .backOpaque = false, .fill = liquidGreen, .borderWidth = 1},
    {.id = Ctl::shpPotMescla, .name = "shpPotMescla", .kind = Kind::Shape, .rect = {7080, 1154, 1000, 1030},
     .back = potGrey, .border = white, .borderWidth = 2},
    {.id = Ctl::shpPaper, .name = "shpPaper", .kind = Kind::Shape, .rect = {5002, 5150, 3401, 1030},
     .back = white, .border = white, .borderWidth = 1},
    {.id = Ctl::Label2, .name = "Label2", .kind = Kind::Label, .rect = {4920, 120, 975, 375},
     .caption = t::tintaEtiqueta, .back = black, .fore = white},
    filterSlot(Ctl::shpFiltre2, 2, 3401),
    filterSlot(Ctl::shpFiltre1, 1, 3201),
    filterSlot(Ctl::shpFiltre0, 0, 3001),
}};

constexpr bool inStackingOrder() {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (ord(table[i].id) != i) return false;
  return true;
}
static_assert(inStackingOrder(), "the table's rows must follow the order of Ctl");

}  // namespace

const Layout controlTable = table;

std::string accessibleName(std::string_view caption, std::string_view purpose) {
  std::string name;
  for (std::size_t at = 0; at < caption.size();) {
    const std::size_t start = caption.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(caption.find(' ', start), caption.size());
    if (!name.empty()) name += ' ';
    name += caption.substr(start, end - start);
    at = end;
  }
  if (!name.empty() && !purpose.empty()) name += t::separadorNom;
  return name += purpose;
}

std::string accessibleNameFor(Ctl c, std::string_view caption) {
  struct Said {
    Ctl id;
    std::string_view caption, purpose;
  };
  static constexpr std::array<Said, 4> byCaption = {{
      {Ctl::cmdBlanca, t::llumBlanca, t::encenLlumBlanca},
      {Ctl::cmdBlanca, t::apagaLlum, t::apagaLlumBlanca},
      {Ctl::cmdAnalisi, t::analisiDeLaLlum, t::analitzaLlum},
      {Ctl::cmdAnalisi, t::normal, t::tornaLlumNormal},
  }};
  for (const Said& s : byCaption)
    if (s.id == c && s.caption == caption) return accessibleName(caption, s.purpose);
  return accessibleName(caption, layoutOf(c).purpose);
}

}  // namespace corvani
