// The page in a contrast theme, Windows' among them (forced colours), as Chromium shows it with the
// media feature emulated through its DevTools protocol: the bench, its faces, pictures and ray keep
// their colours to the pixel; its text, the system's push button, the direction bar, the menus and
// the message box take the system's colours; the focus ring stays white and black.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador } = require('./banc.js');

const { withPage } = navegador();
const LAPTOP = { width: 1366, height: 768 };

const lamp = (i) => `cmdLlum(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;
const tinta = (i) => `cmdTinta(${i})`;

async function contrastAlt(banc) {
  const cdp = await banc.page.createCDPSession();
  await cdp.send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
  assert.ok(await banc.page.evaluate(() => matchMedia('(forced-colors: active)').matches));
}

const pantalla = (banc) => banc.captura();

describe('in a contrast theme', () => {
  test('the bench keeps its colours, its text and the system\'s controls on it aside', () => withPage(async (banc) => {
    await banc.juga([lamp(0), lamp(1), filtre(5), tinta(3), tinta(4), 'cmdAnalisi', 'down']);
    await banc.page.evaluate(() => document.activeElement.blur());
    const abans = await pantalla(banc);
    await contrastAlt(banc);
    const despres = await pantalla(banc);
    // The client area, less what takes the system's colours, and the pixel around it, where the
    // browser may draw a text's ground a little beyond its box.
    const { client, sistema } = await banc.page.evaluate(() => {
      const box = (e) => {
        const r = e.getBoundingClientRect();
        return [Math.floor(r.left), Math.floor(r.top), Math.ceil(r.right), Math.ceil(r.bottom)];
      };
      return {
        client: box(document.getElementById('client')),
        sistema: [...document.querySelectorAll('#client .sistema, #client .etiqueta, #client .marc legend, #client .barra')]
          .filter((e) => e.getClientRects().length).map(box).map(([l, t, r, b]) => [l - 2, t - 2, r + 2, b + 2]),
      };
    });
    const differ = [];
    for (let y = client[1]; y < client[3]; ++y) {
      for (let x = client[0]; x < client[2]; ++x) {
        if (sistema.some(([l, t, r, b]) => x >= l && x < r && y >= t && y < b)) continue;
        const k = y * abans.width + x;
        if (abans.colors[k] !== despres.colors[k]) differ.push(`${x},${y}`);
      }
    }
    assert.deepEqual(differ.slice(0, 5), [], `${differ.length} pixels of the bench change`);
    assert.ok(new Set(despres.colors).size > 10, 'the bench in colour');
  }, LAPTOP));

  // Where the system's colours show: an element, a point within it from its corner (negative from
  // the far side), what to do first, and the system colour the screen shows there.
  const rows = [
    ['the menu bar', '#menus', [-4, 4], [], 'Canvas'],
    ['BORRA TOT', '[data-control="cmdTorna"]', [3, 3], [], 'ButtonFace'],
    ['the label TINTA, on the ground of the system\'s text', '[data-control="Label2"]', [-3, -3], [], 'Canvas'],
    ['an arrow of the direction bar', '[data-control="VSllum"] .amunt', [2, 2], [], 'ButtonFace'],
    ['the direction bar\'s thumb', '[data-control="VSllum"] .polze', [3, 2], [], 'ButtonText'],
    ['the highlighted item of a menu', '[data-menu="Només &Filtres"]', [3, 3], ['Alt+O'], 'Highlight'],
    ['a message box', '#missatge', [3, -3], ['cmdBuidaPot'], 'Canvas'],
  ];
  for (const [name, selector, [dx, dy], first, sistema] of rows) {
    test(`${name} takes the system's ${sistema}`, () => withPage(async (banc) => {
      await contrastAlt(banc);
      for (const a of first) {
        if (a.includes('+')) await banc.tecles(a);
        else await banc.clica(a);
      }
      // Beside it, in a corner of the screen, the system colour shown on the system's ground, as
      // a highlight, which may let the ground through, is shown on a menu.
      const { x, y } = await banc.page.evaluate((sel, px, py, color) => {
        const r = document.querySelector(sel).getBoundingClientRect();
        const sonda = document.createElement('div');
        sonda.style.cssText = 'position: fixed; right: 0; bottom: 0; width: 4px; height: 4px; z-index: 1000; ' +
          `forced-color-adjust: none; background: Canvas; box-shadow: inset 0 0 0 4px ${color}`;
        document.body.append(sonda);
        return { x: px < 0 ? r.right + px : r.left + px, y: py < 0 ? r.bottom + py : r.top + py };
      }, selector, dx, dy, sistema);
      const { width, colors } = await pantalla(banc);
      const esperat = colors[(colors.length / width - 2) * width + width - 2];
      assert.equal(colors[Math.floor(y) * width + Math.floor(x)], esperat);
    }, LAPTOP));
  }

  for (const nom of [filtre(0), 'cmdTorna', 'VSllum', 'Picture1']) {
    test(`the focus ring on ${nom} stays white and black`, () => withPage(async (banc) => {
      await contrastAlt(banc);
      await banc.enfoca(nom);
      await banc.tecles('Tab', 'Shift+Tab');
      assert.deepEqual(await banc.vores(nom), { outer: 'white', inner: 'black' });
    }, LAPTOP));
  }
});
