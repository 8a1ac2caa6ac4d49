// The page printed, as a teacher prints the bench for a worksheet: Chromium prints it to PDF on A4
// with a centimetre's margins, as its print dialog does, and poppler's pdftocairo turns the PDF into
// pixels, antialiased as a print preview's are. On one sheet, landscape or portrait, the whole bench, scaled to fit the printable area and
// centred, in the colours of the screen whether or not the browser prints backgrounds, the ray and
// the filters on it without a seam where the screen's strips meet, and nothing else: no menu bar,
// no black around the bench.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { navegador, COLORS } = require('./banc.js');

const { withPage } = navegador();
const { black, red, green, blue, yellow, cyan, magenta, white } = COLORS;

const PUNTS = 100; // of the rasterized sheet, an inch
const MARGE = PUNTS / 2.54; // a centimetre
const TE_PDFTOCAIRO = (() => {
  try {
    execFileSync('pdftocairo', ['-v'], { stdio: 'ignore' });
    return true;
  } catch {
    return false;
  }
})();

const unpack = (c) => [c & 255, (c >> 8) & 255, (c >> 16) & 255];
const prop = (a, b, tolerance) => a.every((v, i) => Math.abs(v - b[i]) <= tolerance);

// A PNG image of 8-bit RGB or RGBA, not interlaced, as pdftocairo and Chromium write them.
function png(data) {
  const [width, height] = [data.readUInt32BE(16), data.readUInt32BE(20)];
  const [depth, type, , , interlace] = data.subarray(24, 29);
  assert.ok(depth === 8 && (type === 2 || type === 6) && interlace === 0, 'an 8-bit RGB PNG');
  const idat = [];
  for (let at = 8; at < data.length; at += 12 + data.readUInt32BE(at)) {
    if (data.toString('latin1', at + 4, at + 8) === 'IDAT') idat.push(data.subarray(at + 8, at + 8 + data.readUInt32BE(at)));
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const bpp = type === 6 ? 4 : 3;
  const stride = width * bpp;
  const pixels = Buffer.alloc(height * stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1);
    const out = pixels.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? pixels.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    for (let i = 0; i < stride; ++i) {
      const [a, b, c] = [i >= bpp ? out[i - bpp] : 0, up[i], i >= bpp ? up[i - bpp] : 0];
      const [pa, pb, pc] = [Math.abs(b - c), Math.abs(a - c), Math.abs(a + b - 2 * c)];
      const paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      out[i] = (line[i] + [0, a, b, (a + b) >> 1, paeth][filter]) & 255;
    }
  }
  return {
    width,
    height,
    at: (x, y) => {
      const i = bpp * (Math.round(y) * width + Math.round(x));
      return [pixels[i], pixels[i + 1], pixels[i + 2]];
    },
  };
}

// The page printed: each sheet's pixels.
async function imprimeix(page, landscape) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-paper-'));
  try {
    const pdf = path.join(folder, 'banc.pdf');
    fs.writeFileSync(pdf, await page.pdf({ format: 'A4', landscape, margin: { top: '1cm', right: '1cm', bottom: '1cm', left: '1cm' } }));
    execFileSync('pdftocairo', ['-png', '-r', String(PUNTS), pdf, path.join(folder, 'full')]);
    return fs.readdirSync(folder).filter((name) => name.endsWith('.png')).sort().map((name) => png(fs.readFileSync(path.join(folder, name))));
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// The most frequent colour in a rectangle of a picture (x, y, width, height).
function moda(picture, [x0, y0, w, h]) {
  const count = new Map();
  for (let y = Math.ceil(y0); y < y0 + h; ++y) {
    for (let x = Math.ceil(x0); x < x0 + w; ++x) {
      const c = picture.at(x, y).join();
      count.set(c, (count.get(c) || 0) + 1);
    }
  }
  return [...count].sort((a, b) => b[1] - a[1])[0][0].split(',').map(Number);
}

// The mean colour of a rectangle of a picture.
function mitjana(picture, [x0, y0, w, h]) {
  const sum = [0, 0, 0];
  let n = 0;
  for (let y = Math.ceil(y0); y < y0 + h; ++y) {
    for (let x = Math.ceil(x0); x < x0 + w; ++x, ++n) picture.at(x, y).forEach((c, i) => { sum[i] += c; });
  }
  return sum.map((c) => Math.round(c / n));
}

// The middle of a rectangle: its inner half each way.
const mig = ([x, y, w, h]) => [x + w / 4, y + h / 4, w / 2, h / 2];

const rows = [
  ['A4 landscape, from a laptop', { width: 1366, height: 694 }, true],
  ['A4 portrait, from a laptop', { width: 1366, height: 694 }, false],
  ['A4 landscape, from a projector at twice the pixels', { width: 1280, height: 720, ratio: 2 }, true],
  ['A4 portrait, from a narrow window', { width: 700, height: 700 }, false],
];
for (const [name, viewport, landscape] of rows) {
  test(`printed on ${name}: the whole bench in its colours on one sheet`, { skip: !TE_PDFTOCAIRO && 'pdftocairo is missing (make test-deps installs poppler-utils)' }, () => withPage(async (banc) => {
    // Red and green light through the yellow and the cyan filter: a yellow ray, green past them.
    await banc.juga(['cmdLlum(0)', 'cmdLlum(1)', 'cmdfiltre(5)', 'cmdfiltre(3)']);
    const v = await banc.vista();
    const { screen, canvas, controls } = await banc.page.evaluate(() => {
      const c = document.getElementById('llenc');
      const box = c.getBoundingClientRect();
      const ratio = window.devicePixelRatio;
      const rect = (e) => {
        const r = e.getBoundingClientRect();
        return [(r.left - box.left) * ratio, (r.top - box.top) * ratio, r.width * ratio, r.height * ratio];
      };
      return {
        screen: { width: c.width, height: c.height },
        canvas: [box.left * ratio, box.top * ratio],
        controls: Object.fromEntries([...document.querySelectorAll('#client [data-control]:not([hidden])')]
          .map((e) => [e.dataset.control, rect(e)])),
      };
    });
    // The screen's pixels, the canvas's corner at 0, 0, to compare the sheet with.
    const pantalla = png(Buffer.from(await banc.page.screenshot({ type: 'png' })));
    const vist = { at: (x, y) => pantalla.at(x + canvas[0], y + canvas[1]) };

    const fulls = await imprimeix(banc.page, landscape);
    assert.equal(fulls.length, 1, 'sheets');
    const [full] = fulls;
    // The bench on the screen, its controls whole, and where it must be on the sheet: the
    // printable area's largest scale, centred.
    const [l, t, r, b] = Object.values(controls).reduce(([l0, t0, r0, b0], [x, y, w, h]) =>
      [Math.min(l0, x), Math.min(t0, y), Math.max(r0, x + w), Math.max(b0, y + h)],
    [v.x, v.y, screen.width - v.x, screen.height - v.y]);
    const banc0 = { x: l, y: t, w: r - l, h: b - t };
    const area = { w: full.width - 2 * MARGE, h: full.height - 2 * MARGE };
    const s = Math.min(area.w / banc0.w, area.h / banc0.h);
    const left = MARGE + (area.w - banc0.w * s) / 2, top = MARGE + (area.h - banc0.h * s) / 2;
    const paper = ([x, y, w = 0, h = 0]) => [left + (x - banc0.x) * s, top + (y - banc0.y) * s, w * s, h * s];
    const [bx, by, bw, bh] = paper([banc0.x, banc0.y, banc0.w, banc0.h]);

    // Nothing but white around the bench: no menu bar, no black beyond it.
    let fora = 0;
    for (let y = 0; y < full.height; ++y) {
      for (let x = 0; x < full.width; ++x) {
        const dins = x > bx - 2 && x < bx + bw + 1 && y > by - 2 && y < by + bh + 1;
        if (!dins && !prop(full.at(x, y), unpack(white), 0)) ++fora;
      }
    }
    assert.equal(fora, 0, 'pixels not white outside the bench');
    // Black to the bench's every corner, where the screen's canvas ends short of them too: in a
    // narrow window the eye stands past the canvas's right edge.
    const [x0, x1, y0, y1] = [Math.ceil(bx) + 1, Math.floor(bx + bw) - 2, Math.ceil(by) + 1, Math.floor(by + bh) - 2];
    for (const [corner, x, y] of [['top left', x0, y0], ['top right', x1, y0], ['bottom left', x0, y1], ['bottom right', x1, y1]]) {
      assert.ok(prop(full.at(x, y), unpack(black), 8), `the bench's ${corner} corner: ${full.at(x, y)}`);
    }

    // The lamps' and the light's buttons in their faces' colours as on the screen, each filter in
    // its colour; the eye's picture and an ink's as on the screen, give or take the blending of
    // pixels scaled.
    for (const nom of ['cmdLlumOff(0)', 'cmdLlumOff(1)', 'cmdLlum(2)', 'cmdBlanca', 'cmdAnalisi']) {
      assert.deepEqual(moda(full, paper(mig(controls[nom]))), moda(vist, mig(controls[nom])), nom);
    }
    [red, green, blue, cyan, magenta, yellow].forEach((color, i) => {
      assert.deepEqual(moda(full, paper(mig(controls[`cmdfiltre(${i})`]))), unpack(color), `cmdfiltre(${i})`);
    });
    // What of them the screen shows: in a narrow window the eye stands past its edge.
    const mostrat = ([x, y, w, h]) => [x, y, Math.min(w, screen.width - x), Math.min(h, screen.height - y)];
    for (const nom of ['Picture1', 'cmdTinta(3)']) {
      const [a, b] = [mitjana(full, paper(mostrat(controls[nom]))), mitjana(vist, mostrat(controls[nom]))];
      assert.ok(prop(a, b, 20), `${nom}: ${a} on the sheet, ${b} on the screen`);
    }

    // The ray lit: yellow before the filters, green after them, a few of the sheet's pixels thick.
    const unitat = ([ux, uy]) => [v.x + ux * v.perUnitX * v.scale, v.y + uy * v.perUnitY * v.scale];
    for (const [lloc, point, color] of [['before the filters', [2000, 3000], yellow], ['after them', [8000, 3000], green]]) {
      const [x, y] = paper(unitat(point));
      const column = Array.from({ length: 9 }, (_, k) => full.at(x, y - 4 + k));
      assert.ok(column.some((c) => prop(c, unpack(color), 8)), `the ray ${lloc}: ${JSON.stringify(column)}`);
    }

    // The yellow and the cyan filter in the ray, each a bar across many of the screen's strips: on
    // the sheet, every pixel down its middle is its colour.
    for (const [slot, color] of [[0, yellow], [1, cyan]]) {
      const [x0, y0] = unitat([3067 + 200 * slot, 1500]);
      const es = (x, y) => prop(vist.at(x, y), unpack(color), 0);
      let [a, z] = [x0, x0];
      while (es(a - 1, y0)) --a;
      while (es(z + 1, y0)) ++z;
      const x = (a + z) / 2;
      const rows = [];
      for (let y = 0; y < screen.height; ++y) if (es(x, y)) rows.push(y);
      assert.ok(rows.length > 100, `the filter in slot ${slot} on the screen`);
      const [, ya] = paper([x, rows[0]]), [px, yz] = paper([x, rows.at(-1)]);
      const wrong = [];
      for (let y = Math.ceil(ya) + 2; y < yz - 2; ++y) if (!prop(full.at(px, y), unpack(color), 8)) wrong.push(`${y}: ${full.at(px, y)}`);
      assert.deepEqual(wrong, [], `the filter in slot ${slot} on the sheet`);
    }

    // Printed, the page is as it was.
    assert.equal(await banc.page.$('#impres'), null);
  }, viewport));
}
