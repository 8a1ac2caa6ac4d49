// The captions with the browser's smallest text set to 14 pixels, a setting for low vision that
// Chromium applies to every text of a page: each caption and label stays whole inside its face, in
// as many lines as with the browser's defaults, at the sizes and ratios where the bench's text is
// smaller than that, and after the captions that change have changed.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, Banc } = require('./banc.js');

const MINIMA = 14;
const normal = navegador();
const gran = navegador({ preferencies: { webkit: { webprefs: { minimum_font_size: MINIMA } } } });

// Each control's text shown: its lines, and the parts of it outside its face by more than a
// hair, in CSS pixels. A button's face is within its border and padding, where its lines must fit
// across and down; a label's and a frame's one line must fit across the control, whose height is
// the line's.
async function textos(banc) {
  return banc.page.evaluate(() => {
    const out = {};
    for (const el of document.querySelectorAll('#client [data-control]:not([hidden])')) {
      if (!el.textContent.trim()) continue;
      const box = el.getBoundingClientRect();
      const scale = box.width / el.offsetWidth;
      const style = getComputedStyle(el);
      const inset = (side) => (el.tagName === 'BUTTON'
        ? (parseFloat(style[`border${side}Width`]) + parseFloat(style[`padding${side}`])) * scale : 0);
      const face = { left: box.left + inset('Left'), right: box.right - inset('Right'), top: box.top + inset('Top'), bottom: box.bottom - inset('Bottom') };
      const rects = [];
      const walker = document.createTreeWalker(el, NodeFilter.SHOW_TEXT);
      while (walker.nextNode()) {
        const range = document.createRange();
        range.selectNodeContents(walker.currentNode);
        rects.push(...range.getClientRects());
      }
      const fora = [];
      for (const r of rects) {
        const down = el.tagName === 'BUTTON' ? Math.max(face.top - r.top, r.bottom - face.bottom) : 0;
        const over = Math.max(face.left - r.left, r.right - face.right, down);
        if (over > 0.25) fora.push(`${over.toFixed(2)} px out`);
      }
      out[el.dataset.control] = { text: el.textContent, lines: new Set(rects.map((r) => Math.round(r.top))).size, fora };
    }
    return out;
  });
}

const rows = [
  ['a 1366 × 768 laptop', { width: 1366, height: 694 }, []],
  ['the bench at scale 1', { width: 867, height: 640 }, []],
  ['a small window', { width: 640, height: 480 }, []],
  ['a small window at ratio 1.25', { width: 640, height: 480, ratio: 1.25 }, []],
  ['white light and its analysis on', { width: 1366, height: 694 }, ['cmdBlanca', 'cmdAnalisi']],
];
for (const [name, viewport, actions] of rows) {
  test(`with text at ${MINIMA} px at the least, captions stay whole in their faces: ${name}`, async () => {
    const shown = [];
    for (const { browser } of [normal, gran]) {
      const banc = await Banc.obre(browser(), viewport);
      try {
        await banc.juga(actions);
        shown.push(await textos(banc));
        assert.deepEqual(banc.errors, []);
      } finally {
        await banc.tanca();
      }
    }
    const [abans, ara] = shown;
    for (const [nom, { text, lines, fora }] of Object.entries(ara)) {
      assert.deepEqual(abans[nom].fora, [], `${nom}: "${text}" with the browser's defaults`);
      assert.deepEqual(fora, [], `${nom}: "${text}"`);
      assert.equal(lines, abans[nom].lines, `${nom}: "${text}" in ${lines} lines, not ${abans[nom].lines}`);
    }
    assert.deepEqual(Object.keys(ara), Object.keys(abans));
  });
}

// The setting is in force: the browser shows a text set at 10 pixels at 14.
test(`the browser shows no text under ${MINIMA} px`, async () => {
  const banc = await Banc.obre(gran.browser());
  try {
    const px = await banc.page.evaluate(() => {
      const probe = document.createElement('p');
      probe.style.fontSize = '10px';
      document.body.append(probe);
      return getComputedStyle(probe).fontSize;
    });
    assert.equal(px, `${MINIMA}px`);
  } finally {
    await banc.tanca();
  }
});
