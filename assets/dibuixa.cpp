// Draws the program's fourteen pixel-art pictures and the desktop's larger icons, as PNG files and one SVG, in a folder.
#include <QColor>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <string_view>

namespace {

using Inside = std::function<bool(double, double)>;  // tested at pixel centres

constexpr QRgb black = 0xff000000, white = 0xffffffff, grey = 0xff808080;

void pixel(QImage &img, int x, int y, QRgb c)
{
    if (img.valid(x, y))
        img.setPixel(x, y, c);
}

void fillWhere(QImage &img, const Inside &in, QRgb c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (in(x + 0.5, y + 0.5))
                img.setPixel(x, y, c);
}

// Euclidean distance (pixels) from pixel (x, y) to the nearest pixel outside the shape, capped at 4.
double depth(const Inside &in, int x, int y)
{
    double best = 4;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx)
            if (!in(x + dx + 0.5, y + dy + 0.5))
                best = std::min(best, std::hypot(dx, dy));
    return best;
}

// Pixel font: '#' is ink, rows separated by '/'. Capitals are 5 rows; lowercase are 6 rows
// (ascender row, four x-height rows, descender row) so both share a top line.
struct Glyph { char c; std::string_view rows; };

constexpr Glyph font[] = {
    {'A', ".#./#.#/###/#.#/#.#"}, {'B', "##./#.#/##./#.#/##."}, {'C', ".##/#../#../#../.##"},
    {'D', "##./#.#/#.#/#.#/##."}, {'E', "###/#../##./#../###"}, {'I', "###/.#./.#./.#./###"},
    {'L', "#../#../#../#../###"}, {'N', "#..#/##.#/#.##/#..#/#..#"}, {'O', ".#./#.#/#.#/#.#/.#."},
    {'P', "##./#.#/##./#../#.."}, {'R', "##./#.#/##./#.#/#.#"}, {'T', "###/.#./.#./.#./.#."},
    {'U', "#.#/#.#/#.#/#.#/###"}, {'V', "#.#/#.#/#.#/#.#/.#."}, {' ', "../../../../.."},
    {'a', ".../.##/#.#/#.#/.##/..."}, {'b', "#../##./#.#/#.#/##./..."},
    {'c', ".../.##/#../#../.##/..."}, {'d', "..#/.##/#.#/#.#/.##/..."},
    {'e', ".../.#./###/#../.##/..."}, {'g', ".../.##/#.#/.##/..#/##."},
    {'i', "#/./#/#/#/."}, {'l', "#/#/#/#/#/."}, {'m', "...../##.#./#.#.#/#.#.#/#.#.#/....."},
    {'n', ".../##./#.#/#.#/#.#/..."}, {'o', ".../.#./#.#/#.#/.#./..."},
    {'r', ".../#.#/##./#../#../..."}, {'t', ".#./###/.#./.#./..#/..."},
    {'u', ".../#.#/#.#/#.#/.##/..."}, {'v', ".../#.#/#.#/#.#/.#./..."},
};

const Glyph &glyph(char c)
{
    for (const Glyph &g : font)
        if (g.c == c)
            return g;
    std::fprintf(stderr, "no glyph for '%c'\n", c);
    std::exit(2);
}

int glyphWidth(const Glyph &g) { return int(g.rows.find('/')); }

// Calls put(gx, gy) for every ink pixel of g, in glyph coordinates.
template <class Put> void eachInk(const Glyph &g, Put put)
{
    int gx = 0, gy = 0;
    for (char ch : g.rows) {
        if (ch == '/') { ++gy; gx = 0; continue; }
        if (ch == '#') put(gx, gy);
        ++gx;
    }
}

int textWidth(std::string_view s)
{
    int w = -1;
    for (char c : s)
        w += glyphWidth(glyph(c)) + 1;
    return std::max(w, 0);
}

void text(QImage &img, std::string_view s, int x, int y, QRgb c)
{
    for (char ch : s) {
        const Glyph &g = glyph(ch);
        eachInk(g, [&](int gx, int gy) { pixel(img, x + gx, y + gy, c); });
        x += glyphWidth(g) + 1;
    }
}

void textCentred(QImage &img, std::string_view s, double cx, int y, QRgb c)
{
    text(img, s, int(std::lround(cx - textWidth(s) / 2.0)), y, c);
}

// Lowercase text turned a quarter-turn clockwise (reads downwards, letter tops to the right), its
// centre line at column cx + lean * (y - cy) so the letters step sideways along a slanted axis.
void textDown(QImage &img, std::string_view s, double cx, double cy, double lean, QRgb c)
{
    constexpr int rows = 6;
    double y = cy - textWidth(s) / 2.0;
    for (char ch : s) {
        const Glyph &g = glyph(ch);
        const int w = glyphWidth(g);
        const int x0 = int(std::lround(cx + lean * (y + w / 2.0 - cy) - rows / 2.0));
        const int y0 = int(std::lround(y));
        eachInk(g, [&](int gx, int gy) { pixel(img, x0 + rows - 1 - gy, y0 + gx, c); });
        y += w + 1;
    }
}

QRgb mix(QRgb a, QRgb b, double t)
{
    auto ch = [t](int p, int q) { return int(std::lround(p + (q - p) * std::clamp(t, 0.0, 1.0))); };
    return qRgb(ch(qRed(a), qRed(b)), ch(qGreen(a), qGreen(b)), ch(qBlue(a), qBlue(b)));
}

QImage canvas(int w, int h, QRgb field)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(field);
    img.setDotsPerMeterX(3780);  // 96 dpi, fixed so the files do not depend on the screen
    img.setDotsPerMeterY(3780);
    return img;
}

QImage lamp(const QPolygonF &tube)
{
    constexpr QRgb tubeColour = qRgb(173, 173, 239), speck = qRgb(181, 181, 247), rim = qRgb(123, 123, 198);
    QImage img = canvas(60, 60, black);
    const Inside in = [&](double x, double y) { return tube.containsPoint({x, y}, Qt::OddEvenFill); };
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            if (!in(x + 0.5, y + 0.5))
                continue;
            const bool edge = !in(x + 0.5, y - 0.5) || !in(x + 0.5, y + 1.5);
            const bool dither = y % 2 == 0 && (x + y / 2) % 3 == 0;
            img.setPixel(x, y, edge ? rim : dither ? speck : tubeColour);
        }
    return img;
}

QImage eye()
{
    QImage img = canvas(30, 30, black);
    constexpr double cx = 15, cy = 12, r = 11.6, bottom = 25;
    const Inside sclera = [&](double x, double y) {
        if (y < cy)
            return std::hypot(x - cx, y - cy) <= r;
        const double t = (y - cy) / (bottom - cy);  // 0 at the widest row, 1 at the lowest
        return t <= 1 && std::abs(x - cx) <= r * std::sqrt(1 - t) * (1 + 0.3 * t);
    };
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 30; ++x) {
            if (!sclera(x + 0.5, y + 0.5))
                continue;
            const double d = depth(sclera, x, y);  // 1 on the outermost ring
            img.setPixel(x, y, mix(qRgb(112, 112, 112), white, (d - 1) / 2.5));
            const double ri = std::hypot(x + 0.5 - cx, y + 0.5 - (cy + 0.5));
            if (ri <= 7.2)
                img.setPixel(x, y, mix(black, qRgb(40, 80, 255), (ri - 2.2) / 5.0));
        }
    return img;
}

struct Pot {
    double cx, cy, side, turn = 30;  // centre, side length and tilt (degrees clockwise), pixels
    QRgb ink, highlight, shade;      // body, upper-left edges, lower-right edges
};

// Pot-local coordinates: u along the pot's bottom edge, v from its mouth down to its base.
void local(const Pot &p, double x, double y, double &u, double &v)
{
    const double a = p.turn * std::numbers::pi / 180, dx = x - p.cx, dy = y - p.cy;
    u = dx * std::cos(a) + dy * std::sin(a);
    v = -dx * std::sin(a) + dy * std::cos(a);
}

void drawPot(QImage &img, const Pot &p)
{
    const double a = p.turn * std::numbers::pi / 180, h = p.side / 2;
    const double spoutX = p.cx + h * (std::cos(a) - std::sin(a)), spoutY = p.cy + h * (std::sin(a) + std::cos(a));
    for (int y = int(spoutY) - 1; y < img.height(); ++y) {  // falls in a parabola, leaving sideways
        const int x = int(std::floor(spoutX + 1.3 * std::sqrt(std::max(0.0, y - spoutY))));
        pixel(img, x - 1, y, p.ink);
        pixel(img, x, y, p.ink);
    }
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            double u, v;
            local(p, x + 0.5, y + 0.5, u, v);
            if (std::abs(u) > h || std::abs(v) > h)
                continue;
            const double e = h - 1.2;  // edges one pixel wide
            const QRgb c = (u < -e || v < -e) ? p.highlight : (u > e || v > e) ? p.shade : p.ink;
            img.setPixel(x, y, c);
        }
}

// A '|' in the name splits it over two lines.
QImage inkPot(std::string_view name, QRgb ink)
{
    const bool darkInk = qGray(ink) < 60;
    QImage img = canvas(60, 60, ink == black ? qRgb(51, 51, 51) : black);
    const Pot pot{27, 25, 28, 30, ink, white, mix(ink, black, 0.35)};
    if (ink == black) {  // a black pot needs a grey outline all round to show; its highlight goes inside it
        drawPot(img, {pot.cx, pot.cy, pot.side, pot.turn, ink, grey, grey});
        drawPot(img, {pot.cx, pot.cy, pot.side - 2.4, pot.turn, ink, white, ink});
    } else {
        drawPot(img, pot);
    }
    if (darkInk) {
        textCentred(img, name, pot.cx, int(pot.cy) - 3, white);
        return img;
    }
    const double lean = std::tan(15 * std::numbers::pi / 180);  // the pot's diagonal from top to bottom corner
    const auto split = name.find('|');
    if (split == std::string_view::npos) {
        textDown(img, name, pot.cx, pot.cy, lean, black);
    } else {  // turned clockwise, the second line lies to the left of the first; both start level
        const std::string_view first = name.substr(0, split), second = name.substr(split + 1);
        textDown(img, first, pot.cx + 4, pot.cy, lean, black);
        textDown(img, second, pot.cx - 4, pot.cy - (textWidth(first) - textWidth(second)) / 2.0, lean, black);
    }
    return img;
}

QImage emptyPot()
{
    QImage img = canvas(40, 50, qRgb(102, 102, 102));
    const QRgb green = qRgb(0, 153, 0);
    drawPot(img, {18, 20, 19, 30, green, qRgb(102, 204, 102), qRgb(0, 102, 0)});
    textCentred(img, "BUIDA", 20, 14, white);
    textCentred(img, "EL POT", 20, 21, white);
    return img;
}

// Distance (pixels) from point p to the segment a-b, and where along it (0 at a, 1 at b).
double segment(QPointF p, QPointF a, QPointF b, double &t)
{
    const QPointF ab = b - a;
    t = std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
    const QPointF q = a + t * ab - p;
    return std::hypot(q.x(), q.y());
}

QImage paint()
{
    QImage img = canvas(40, 50, qRgb(51, 0, 0));
    const QRgb paintColour = qRgb(153, 255, 0);
    const QPointF handleEnd(2, 11), ferrule(17, 26), bristles(21, 30), tip(30, 39);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 40; ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            double t;
            if (segment(p, handleEnd, ferrule, t) <= 1.6)
                img.setPixel(x, y, t < 0.15 ? qRgb(102, 34, 0) : qRgb(153, 51, 0));
            if (segment(p, ferrule, bristles, t) <= 2.3)
                img.setPixel(x, y, t > 0.5 ? qRgb(160, 160, 160) : qRgb(200, 200, 200));
            if (segment(p, bristles, tip, t) <= 2.6 - 1.8 * t * t)
                img.setPixel(x, y, t > 0.6 ? paintColour : white);
        }
    const Inside drop = [](double x, double y) {  // a round drop with a pointed top
        return std::hypot(x - 31, y - 45) <= 1.8 || (y < 45 && y > 41.5 && std::abs(x - 31) <= (y - 41.5) / 2);
    };
    fillWhere(img, drop, paintColour);
    textCentred(img, "PINTA", 21, 3, paintColour);
    return img;
}

QImage icon()
{
    const QList<QRgb> palette = {
        black, qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0), qRgb(0, 0, 128), qRgb(128, 0, 128),
        qRgb(0, 128, 128), qRgb(192, 192, 192), grey, qRgb(255, 0, 0), qRgb(0, 255, 0),
        qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), white};
    QImage img = canvas(32, 32, black);
    const QRgb bands[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    constexpr double slope = 14.0 / 24;  // from the lamp's mouth at column 7 to the lower right corner
    for (int x = 7; x < 32; ++x)
        for (int k = 0; k < 3; ++k)
            for (int r = 0; r < 3; ++r)
                pixel(img, x, int(std::floor(9 + 3 * k + r + slope * (x - 7) + 0.5)), bands[k]);
    const QRgb lampGrey = qRgb(192, 192, 192);
    fillWhere(img, [](double x, double y) { return x < 5 && y > 9 && y < 18; }, lampGrey);
    fillWhere(img, [](double x, double y) { return x > 5 && x < 7 && y > 7 && y < 20; }, lampGrey);
    fillWhere(img, [](double x, double y) { return x > 1 && x < 4 && y > 11 && y < 16; }, grey);
    text(img, "COR", 20, 1, white);
    text(img, "VANI", 15, 7, white);
    QImage indexed = img.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither | Qt::AvoidDither);
    indexed.setDotsPerMeterX(3780);
    indexed.setDotsPerMeterY(3780);
    return indexed;
}

// The window icon's design on its 32-pixel grid, for drawing afresh at other sizes: the lamp,
// bands and letters stay where they are, but the letters are strokes rather than font pixels.
// Earlier layers lie over later ones.
using Stroke = QList<QPointF>;  // a polyline on the 32-pixel grid, one grid pixel wide, round ends

struct IconDesign {
    QList<Stroke> strokes;                        // white, over everything
    struct Box { QRectF area; QRgb colour; };     // open rectangles: the lamp
    QList<Box> boxes;
    struct Band { double top; QRgb colour; };     // three grid pixels tall, from column 7 rightwards
    QList<Band> bands;
    static constexpr double bandStart = 7, slope = 14.0 / 24;  // top edge: top + slope * (x - 7.5)
};

IconDesign iconDesign()
{
    const auto arc = [](QPointF c, double rx, double ry, double from, double to) {  // degrees, y down
        Stroke s;
        for (int i = 0; i <= 24; ++i) {
            const double t = (from + (to - from) * i / 24) * std::numbers::pi / 180;
            s.append(c + QPointF(rx * std::cos(t), ry * std::sin(t)));
        }
        return s;
    };
    const auto join = [](Stroke a, const Stroke &b) { a.append(b); return a; };
    // Letter strokes in a cell whose ink pixels have their centres at 0.5 .. width - 0.5, 0.5 .. 4.5.
    const auto letter = [&](char c) -> QList<Stroke> {
        switch (c) {
        case 'C': return {arc({1.7, 2.5}, 1.2, 2.0, 300, 60)};
        case 'O': return {arc({1.5, 2.5}, 1.0, 2.0, 0, 360)};
        case 'R': return {join(join({{0.5, 4.5}, {0.5, 0.5}, {1.5, 0.5}}, arc({1.5, 1.5}, 1.0, 1.0, -90, 90)),
                               {{0.5, 2.5}}),
                          {{1.5, 2.5}, {2.5, 4.5}}};
        case 'V': return {{{0.5, 0.5}, {0.5, 3.0}, {1.5, 4.5}, {2.5, 3.0}, {2.5, 0.5}}};
        case 'A': return {join(join({{0.5, 4.5}}, arc({1.5, 1.5}, 1.0, 1.0, 180, 360)), {{2.5, 4.5}}),
                          {{0.5, 2.5}, {2.5, 2.5}}};
        case 'N': return {{{0.5, 4.5}, {0.5, 0.5}, {3.5, 4.5}, {3.5, 0.5}}};
        case 'I': return {{{0.5, 0.5}, {2.5, 0.5}}, {{1.5, 0.5}, {1.5, 4.5}}, {{0.5, 4.5}, {2.5, 4.5}}};
        }
        std::fprintf(stderr, "no stroke letter '%c'\n", c);
        std::exit(2);
    };
    IconDesign d;
    const auto word = [&](std::string_view s, double x, double y) {
        for (char c : s) {
            for (Stroke st : letter(c)) {
                for (QPointF &p : st)
                    p += QPointF(x, y);
                d.strokes.append(st);
            }
            x += glyphWidth(glyph(c)) + 1;
        }
    };
    word("COR", 20, 1);
    word("VANI", 15, 7);
    // The lamp's body is open on the left: it runs off the icon's edge.
    d.boxes = {{QRectF(QPointF(1, 11), QPointF(4, 16)), grey},
               {QRectF(QPointF(-1, 9), QPointF(5, 18)), qRgb(192, 192, 192)},
               {QRectF(QPointF(5, 7), QPointF(7, 20)), qRgb(192, 192, 192)}};
    d.bands = {{9, qRgb(255, 0, 0)}, {12, qRgb(0, 255, 0)}, {15, qRgb(0, 0, 255)}};
    return d;
}

// The design drawn at size x size pixels, every pixel the average of 4 x 4 samples, so slants and
// curves come out smooth instead of as enlarged pixels.
QImage largeIcon(int size)
{
    const IconDesign d = iconDesign();
    const auto colourAt = [&](double x, double y) -> QRgb {  // grid coordinates
        for (const Stroke &s : d.strokes)
            for (qsizetype i = 0; i + 1 < s.size(); ++i) {
                double t;
                if (segment({x, y}, s[i], s[i + 1], t) <= 0.5)
                    return white;
            }
        for (const IconDesign::Box &b : d.boxes)
            if (x > b.area.left() && x < b.area.right() && y > b.area.top() && y < b.area.bottom())
                return b.colour;
        if (x >= IconDesign::bandStart)
            for (const IconDesign::Band &b : d.bands) {
                const double top = b.top + IconDesign::slope * (x - 7.5);
                if (y >= top && y < top + 3)
                    return b.colour;
            }
        return black;
    };
    constexpr int n = 4;
    const double grid = 32.0 / size;
    QImage img = canvas(size, size, black);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            int r = 0, g = 0, b = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const QRgb c = colourAt((px + (sx + 0.5) / n) * grid, (py + (sy + 0.5) / n) * grid);
                    r += qRed(c), g += qGreen(c), b += qBlue(c);
                }
            img.setPixel(px, py, qRgb(r / (n * n), g / (n * n), b / (n * n)));
        }
    return img;
}

// The same design as scalable SVG in the 32-unit grid, painted from the bottom layer up.
QByteArray svgIcon()
{
    const IconDesign d = iconDesign();
    const auto num = [](double v) { return QByteArray::number(v, 'g', 6); };
    const auto hex = [](QRgb c) { return QColor(c).name().toLatin1(); };
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 32 32\">\n"
                     "  <title>Corvani</title>\n"
                     "  <rect width=\"32\" height=\"32\" fill=\"#000000\"/>\n";
    const double right = 32;
    for (const IconDesign::Band &b : d.bands) {
        const double x0 = IconDesign::bandStart, y0 = b.top + IconDesign::slope * (x0 - 7.5);
        const double y1 = b.top + IconDesign::slope * (right - 7.5);
        svg += "  <polygon fill=\"" + hex(b.colour) + "\" points=\"" + num(x0) + "," + num(y0) + " " + num(right) +
               "," + num(y1) + " " + num(right) + "," + num(y1 + 3) + " " + num(x0) + "," + num(y0 + 3) + "\"/>\n";
    }
    for (qsizetype i = d.boxes.size() - 1; i >= 0; --i) {
        const QRectF r = d.boxes[i].area.intersected(QRectF(0, 0, 32, 32));
        svg += "  <rect x=\"" + num(r.x()) + "\" y=\"" + num(r.y()) + "\" width=\"" + num(r.width()) +
               "\" height=\"" + num(r.height()) + "\" fill=\"" + hex(d.boxes[i].colour) + "\"/>\n";
    }
    svg += "  <g fill=\"none\" stroke=\"#ffffff\" stroke-width=\"1\" stroke-linecap=\"round\" "
           "stroke-linejoin=\"round\">\n";
    for (const Stroke &s : d.strokes) {
        svg += "    <polyline points=\"";
        for (qsizetype i = 0; i < s.size(); ++i)
            svg += (i ? " " : "") + num(s[i].x()) + "," + num(s[i].y());
        svg += "\"/>\n";
    }
    svg += "  </g>\n</svg>\n";
    return svg;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    // Tipped-down lamp: a 21-pixel tube at 16 degrees, its ends cut square to it.
    const double a = 16 * std::numbers::pi / 180, across = 21, along = 54.5 / std::cos(a);
    const QPointF start(6, 22), dir(std::cos(a), std::sin(a)), normal(-std::sin(a), std::cos(a));
    const QPolygonF tilted({start, start + along * dir, start + along * dir + across * normal, start + across * normal});
    const struct { const char *file; QImage image; } pictures[] = {
        {"icona.png", icon()},
        {"llum.png", lamp(QPolygonF({{0, 20}, {60, 20}, {60, 41}, {0, 41}}))},
        {"llum_avall.png", lamp(tilted)},
        {"ull.png", eye()},
        {"tinta_vermell.png", inkPot("vermell", qRgb(255, 0, 0))},
        {"tinta_blanc.png", inkPot("blanc", white)},
        {"tinta_negre.png", inkPot("negre", black)},
        {"tinta_cian.png", inkPot("cian", qRgb(0, 255, 255))},
        {"tinta_magenta.png", inkPot("magen|ta", qRgb(255, 0, 255))},
        {"tinta_groc.png", inkPot("groc", qRgb(255, 255, 0))},
        {"tinta_verd.png", inkPot("verd", qRgb(0, 255, 0))},
        {"tinta_blau.png", inkPot("blau", qRgb(0, 0, 255))},
        {"buida_pot.png", emptyPot()},
        {"pinta.png", paint()},
    };
    // The larger icons go with what installs the program, not among its pictures: the desktop
    // entry's, and the installable web page's at the sizes browsers ask of a web app.
    for (const char *folder : {"desktop", "web"})
        if (!QDir(out.filePath(QString::fromLatin1(folder))).exists() && !out.mkdir(QString::fromLatin1(folder))) {
            std::fprintf(stderr, "cannot create %s/%s\n", argv[1], folder);
            return 1;
        }
    const struct { const char *file; QImage image; } icons[] = {
        {"desktop/icona-48.png", largeIcon(48)},
        {"desktop/icona-64.png", largeIcon(64)},
        {"desktop/icona-128.png", largeIcon(128)},
        {"web/icona-192.png", largeIcon(192)},
        {"web/icona-512.png", largeIcon(512)},
    };
    int failures = 0;
    for (const auto &p : icons)
        if (!p.image.save(out.filePath(QString::fromLatin1(p.file)), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", p.file);
            ++failures;
        }
    QFile svg(out.filePath(QStringLiteral("desktop/icona.svg")));
    const QByteArray svgText = svgIcon();
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) || svg.write(svgText) != svgText.size()) {
        std::fprintf(stderr, "cannot write desktop/icona.svg\n");
        ++failures;
    }
    for (const auto &p : pictures)
        if (!p.image.save(out.filePath(QString::fromLatin1(p.file)), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", p.file);
            ++failures;
        }
    return failures == 0 ? 0 : 1;
}
