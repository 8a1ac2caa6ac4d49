// The ray drawing: every event pintaraig sends to a recording surface, in order, and the channels it leaves.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <utility>
#include <vector>

#include "view/raig.h"

namespace corvani {
namespace {

enum class Kind { clear, width, line, repaint };

struct Event {
  Kind kind = Kind::clear;
  Point from{}, to{};
  Color value = 0;  // a line's packed colour, or the pixels of a width change
  Ctl shape{};
  friend bool operator==(const Event&, const Event&) = default;
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
  switch (e.kind) {
    case Kind::clear: return os << "clear";
    case Kind::width: return os << "width " << e.value;
    case Kind::line:
      return os << "line (" << e.from.x << "," << e.from.y << ")-(" << e.to.x << "," << e.to.y << ") " << e.value;
    case Kind::repaint: return os << "repaint shape " << static_cast<int>(e.shape);
  }
  return os;
}

Event clearEv() { return {Kind::clear}; }
Event widthEv(int px) { return {Kind::width, {}, {}, px}; }
Event lineEv(Point a, Point b, Color c) { return {Kind::line, a, b, c}; }
Event repaintEv(int slot) { return {Kind::repaint, {}, {}, 0, shpFiltre(slot)}; }

struct Recorder : Surface {
  std::vector<Event> events;
  void clear() override { events.push_back(clearEv()); }
  void setLineWidth(int px) override { events.push_back(widthEv(px)); }
  void line(Point a, Point b, Color c) override { events.push_back(lineEv(a, b, c)); }
  void repaintShape(Ctl s) override { events.push_back({Kind::repaint, {}, {}, 0, s}); }
};

// The stretches of the four sequences, written out rather than taken from the view's geometry so
// that a wrong constant there shows up here.
using Seg = std::pair<Point, Point>;
constexpr std::array<Seg, 4> segA = {{{{500, 3000}, {3000, 3000}},
                                      {{3000, 3000}, {3200, 3000}},
                                      {{3200, 3000}, {3400, 3000}},
                                      {{3400, 3000}, {12900, 3000}}}};
constexpr std::array<Seg, 12> segB = {{{{500, 2900}, {3000, 2900}},    {{500, 3000}, {3000, 3000}},
                                       {{500, 3100}, {3000, 3100}},    {{3000, 2900}, {3200, 2900}},
                                       {{3000, 3000}, {3200, 3000}},   {{3000, 3100}, {3200, 3100}},
                                       {{3200, 2900}, {3400, 2900}},   {{3200, 3000}, {3400, 3000}},
                                       {{3200, 3100}, {3400, 3100}},   {{3400, 2900}, {12900, 2900}},
                                       {{3400, 3000}, {12900, 3000}},  {{3400, 3100}, {12900, 3100}}}};
constexpr std::array<Seg, 5> segC = {{{{500, 3000}, {3000, 4008}},
                                      {{3000, 4008}, {3200, 4089}},
                                      {{3200, 4089}, {3400, 4169}},
                                      {{3400, 4169}, {6700, 5500}},
                                      {{6700, 5500}, {12900, 3000}}}};
constexpr std::array<Seg, 15> segD = {{{{500, 2900}, {3000, 3908}},    {{500, 3000}, {3000, 4008}},
                                       {{500, 3100}, {3000, 4108}},    {{3000, 3908}, {3200, 3989}},
                                       {{3000, 4008}, {3200, 4089}},   {{3000, 4108}, {3200, 4189}},
                                       {{3200, 3989}, {3400, 4069}},   {{3200, 4089}, {3400, 4169}},
                                       {{3200, 4189}, {3400, 4269}},   {{3400, 4069}, {6948, 5500}},
                                       {{3400, 4169}, {6700, 5500}},   {{3400, 4269}, {6452, 5500}},
                                       {{6948, 5500}, {12900, 3100}},  {{6700, 5500}, {12900, 3000}},
                                       {{6452, 5500}, {12900, 2900}}}};

constexpr Color no = -1;  // the stretch is not drawn
constexpr Color K = colors::black, W = colors::white, R = colors::red, G = colors::green, B = colors::blue,
                Y = colors::yellow;

// One colour per stretch, in sequence order; the count must match the sequence.
template <std::size_t N, std::size_t M>
std::vector<Event> traca(const std::array<Seg, N>& segs, const Color (&c)[M]) {
  static_assert(N == M, "one colour per stretch");
  std::vector<Event> out;
  for (std::size_t i = 0; i < N; ++i)
    if (c[i] != no) out.push_back(lineEv(segs[i].first, segs[i].second, c[i]));
  return out;
}
template <std::size_t M> std::vector<Event> A(const Color (&c)[M]) { return traca(segA, c); }
template <std::size_t M> std::vector<Event> Bs(const Color (&c)[M]) { return traca(segB, c); }
template <std::size_t M> std::vector<Event> C(const Color (&c)[M]) { return traca(segC, c); }
template <std::size_t M> std::vector<Event> D(const Color (&c)[M]) { return traca(segD, c); }

// Everything pintaraig must send, around the lines of one drawing.
std::vector<Event> emmarca(const std::vector<Event>& lines, int nfiltres) {
  std::vector<Event> out = {clearEv(), widthEv(3)};
  out.insert(out.end(), lines.begin(), lines.end());
  out.push_back(widthEv(1));
  for (int s = 0; s < nfiltres; ++s) out.push_back(repaintEv(s));
  return out;
}

struct Terna {
  std::int16_t r, g, b;
};
// Filters by what they let through.
constexpr Terna fVermell{1, 0, 0}, fVerd{0, 1, 0}, fBlau{0, 0, 1}, fCian{0, 1, 1}, fMagenta{1, 0, 1},
    fGroc{1, 1, 0};
constexpr Terna pBlanc{255, 255, 255}, pGroc{255, 255, 0}, pCian{0, 255, 255}, pMig{128, 255, 255};

// The state as the program leaves it on start: empty slots pass everything, the paper is white.
Estat arrencada() {
  Estat e;
  e.passaR = e.passaG = e.passaB = {1, 1, 1, 0};
  e.paperR = e.paperG = e.paperB = 255;
  return e;
}

struct Escena {
  const char* name;
  std::int16_t llums, direccio, analisi;
  std::vector<Terna> filtres;  // into slots 0, 1, 2 in turn
  Terna paper;
  std::vector<Event> lines;
  std::array<std::int32_t, 3> after;
};

Estat prepara(const Escena& s) {
  Estat e = arrencada();
  e.llums = s.llums;
  e.direccio = s.direccio;
  e.analisi = s.analisi;
  for (const Terna& f : s.filtres) {
    e.passaR[e.nfiltres] = f.r, e.passaG[e.nfiltres] = f.g, e.passaB[e.nfiltres] = f.b;
    ++e.nfiltres;
  }
  e.paperR = s.paper.r, e.paperG = s.paper.g, e.paperB = s.paper.b;
  return e;
}

std::ostream& operator<<(std::ostream& os, const Escena& s) { return os << s.name; }

constexpr std::int16_t off = fals, on = cert;

const Escena escenes[] = {
    {"WhiteStraight", 7, 0, off, {}, pBlanc, A({W, W, W, W}), {255, 255, 255}},
    {"WhiteStraightAnalysis", 7, 0, on, {}, pBlanc, Bs({R, G, B, R, G, B, R, G, B, R, G, B}), {255, 255, 255}},
    {"RedStraightAnalysis", 4, 0, on, {}, pBlanc, Bs({R, K, K, R, K, K, R, K, K, R, K, K}), {255, 0, 0}},
    {"WhiteSlot0Red", 7, 0, off, {fVermell}, pBlanc, A({W, R, R, R}), {255, 0, 0}},
    // Each slot is passed right after its own stretch, not before it.
    {"WhiteYellowThenRed", 7, 0, off, {fGroc, fVermell}, pBlanc, A({W, Y, R, R}), {255, 0, 0}},
    {"ThreeSlotsAnalysis", 7, 0, on, {fMagenta, fBlau, fVerd}, pBlanc,
     Bs({R, G, B, R, K, B, K, K, B, K, K, K}), {0, 0, 0}},
    {"StraightIgnoresPaper", 7, 0, off, {}, pGroc, A({W, W, W, W}), {255, 255, 255}},
    {"WhiteDown", 7, 1, off, {}, pBlanc, C({W, W, W, W, W}), {255, 255, 255}},
    {"WhiteDownAnalysis", 7, 1, on, {}, pBlanc, D({R, G, B, R, G, B, R, G, B, R, G, B, R, G, B}), {255, 255, 255}},
    {"DownRedGreenEmpty", 7, 1, off, {fVermell, fVerd}, pBlanc, C({W, R, K, no, no}), {0, 0, 0}},
    {"DownYellowPaper", 7, 1, off, {}, pGroc, C({W, W, W, W, Y}), {255, 255, 0}},
    {"DownYellowPaperAnalysis", 7, 1, on, {}, pGroc, D({R, G, B, R, G, B, R, G, B, R, G, B, R, G, no}),
     {255, 255, 0}},
    // Red reaches the paper, which absorbs it: the way down is drawn, the way up is not.
    {"RedDownCyanPaper", 4, 1, off, {}, pCian, C({R, R, R, R, no}), {0, 0, 0}},
    {"RedDownCyanPaperAnalysis", 4, 1, on, {}, pCian, D({R, K, K, R, K, K, R, K, K, R, no, no, no, no, no}),
     {0, 0, 0}},
    {"BlueDownAnalysis", 1, 1, on, {}, pBlanc, D({K, K, B, K, K, B, K, K, B, no, no, B, no, no, B}), {0, 0, 255}},
    {"DownGreenAtSlot2Analysis", 7, 1, on, {fGroc, fGroc, fVerd}, pBlanc,
     D({R, G, B, R, G, K, R, G, K, no, G, no, no, G, no}), {0, 255, 0}},
    {"DownCyanFilterAnalysis", 7, 1, on, {fCian}, pCian, D({R, G, B, K, G, B, K, G, B, no, G, B, no, G, B}),
     {0, 255, 255}},
    {"DownHalfRedPaper", 7, 1, off, {}, pMig, C({W, W, W, W, packColor(128, 255, 255)}), {128, 255, 255}},
    {"DownHalfRedPaperAnalysis", 7, 1, on, {}, pMig,
     D({R, G, B, R, G, B, R, G, B, R, G, B, packColor(128, 0, 0), G, B}), {128, 255, 255}},
    {"DarkStraight", 0, 0, off, {}, pBlanc, A({K, K, K, K}), {0, 0, 0}},
    {"DarkStraightAnalysis", 0, 0, on, {}, pBlanc, Bs({K, K, K, K, K, K, K, K, K, K, K, K}), {0, 0, 0}},
    {"DarkDown", 0, 1, off, {}, pBlanc, C({K, K, K, no, no}), {0, 0, 0}},
    {"DarkDownAnalysis", 0, 1, on, {}, pBlanc, D({K, K, K, K, K, K, K, K, K, no, no, no, no, no, no}), {0, 0, 0}},
};

class Drawing : public ::testing::TestWithParam<Escena> {};

// Channels left by an earlier drawing, sane or not, must not leak into this one.
TEST_P(Drawing, SendsExactlyTheseEventsAndLeavesTheseChannels) {
  const Escena& s = GetParam();
  const std::array<std::int32_t, 3> abans[] = {{0, 0, 0}, {255, 255, 255}, {-7, 999, 123456}};
  for (const auto& [r, g, b] : abans) {
    SCOPED_TRACE(testing::Message() << "raig before: " << r << "," << g << "," << b);
    Estat e = prepara(s);
    e.raigR = r, e.raigG = g, e.raigB = b;
    Recorder rec;
    pintaraig(e, rec);
    EXPECT_EQ(rec.events, emmarca(s.lines, static_cast<int>(s.filtres.size())));
    EXPECT_EQ((std::array<std::int32_t, 3>{e.raigR, e.raigG, e.raigB}), s.after);
  }
}

INSTANTIATE_TEST_SUITE_P(Raig, Drawing, ::testing::ValuesIn(escenes),
                         [](const auto& info) { return std::string(info.param.name); });

struct Llums {
  const char* name;
  std::int16_t llums;
  Color color;
};

void PrintTo(const Llums& l, std::ostream* os) { *os << l.name << " (llums " << l.llums << ", colour " << l.color << ")"; }

class Lamps : public ::testing::TestWithParam<Llums> {};

TEST_P(Lamps, GiveThisColourAndTheseChannels) {
  const Llums& l = GetParam();
  Estat e = arrencada();
  e.llums = l.llums;
  Recorder rec;
  pintaraig(e, rec);
  EXPECT_EQ(rec.events, emmarca(A({l.color, l.color, l.color, l.color}), 0));
  EXPECT_EQ(e.raigR, redOf(l.color));
  EXPECT_EQ(e.raigG, greenOf(l.color));
  EXPECT_EQ(e.raigB, blueOf(l.color));
}

INSTANTIATE_TEST_SUITE_P(Raig, Lamps,
                         ::testing::Values(Llums{"None", 0, 0}, Llums{"Blue", 1, 16711680},
                                           Llums{"Green", 2, 65280}, Llums{"GreenBlue", 3, 16776960},
                                           Llums{"Red", 4, 255}, Llums{"RedBlue", 5, 16711935},
                                           Llums{"RedGreen", 6, 65535}, Llums{"All", 7, 16777215}),
                         [](const auto& info) { return std::string(info.param.name); });

// Occupied slots are repainted over the lines whatever was drawn, and only those.
struct Marc {
  const char* name;
  std::int16_t direccio, analisi, nfiltres;
  std::vector<Event> lines;
};

void PrintTo(const Marc& m, std::ostream* os) {
  *os << m.name << " (direccio " << m.direccio << ", analisi " << m.analisi << ", " << m.nfiltres << " filters)";
}

class Frame : public ::testing::TestWithParam<Marc> {};

TEST_P(Frame, ClearsSetsWidthsAndRepaintsOccupiedSlots) {
  const Marc& m = GetParam();
  Estat e = arrencada();
  e.llums = 7;
  e.direccio = m.direccio;
  e.analisi = m.analisi;
  e.nfiltres = m.nfiltres;  // slots hold filters that pass everything, so the lines stay white
  Recorder rec;
  pintaraig(e, rec);
  EXPECT_EQ(rec.events, emmarca(m.lines, m.nfiltres));
}

INSTANTIATE_TEST_SUITE_P(
    Raig, Frame,
    ::testing::Values(Marc{"StraightOneSlot", 0, off, 1, A({W, W, W, W})},
                      Marc{"StraightTwoSlots", 0, off, 2, A({W, W, W, W})},
                      Marc{"DownThreeSlots", 1, off, 3, C({W, W, W, W, W})},
                      Marc{"DownAnalysisThreeSlots", 1, on, 3,
                           D({R, G, B, R, G, B, R, G, B, R, G, B, R, G, B})},
                      Marc{"Direccio2", 2, off, 0, {}}, Marc{"Direccio2Slots", 2, on, 2, {}},
                      Marc{"DireccioMinus1", -1, off, 1, {}}, Marc{"Analisi1Straight", 0, 1, 3, {}},
                      Marc{"Analisi1Down", 1, 1, 0, {}}, Marc{"Analisi2Down", 1, 2, 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvani
