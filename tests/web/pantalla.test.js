// Full screen for the projector: the page's keys enter and leave it through the Fullscreen API,
// nothing on the bench changes but its scale, and the bench fills the screen it is given. Headless
// Chromium keeps the window's size in full screen and keeps F11 and Escape from its own handling, so
// the screen's size is given to the page as the browser would give it, and the keys reach the page.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, passos, clic } = require('./banc.js');

const { withPage } = navegador();

const pantallaCompleta = (banc) => banc.page.evaluate(() => document.fullscreenElement === document.documentElement);
const RAIG = [clic('cmdLlum(0)'), clic('cmdfiltre(5)')];

describe('the keys', () => {
  // Keys typed with the focus on a button, whether the page is in full screen after them.
  const rows = [
    ['F11 fills the screen', ['F11'], true],
    ['F11 again gives the window back', ['F11', 'F11'], false],
    ['Ctrl+F11, as the desktop offers it', ['Control+F11'], true],
    ['Alt+Enter, as the desktop offers it, without pressing the focused button', ['Alt+Enter'], true],
    ['Escape leaves full screen', ['F11', 'Escape'], false],
    ['Escape in a window does nothing', ['Escape'], false],
    ['Escape twice, then F11', ['F11', 'Escape', 'Escape', 'F11'], true],
    ['in full screen, Escape closes an open menu first', ['F11', 'Alt+O', 'Escape'], true],
    ['no full screen while a box is open', ['Alt+I', 'Enter', 'F11', 'Escape'], false],
  ];
  for (const [name, keys, fullScreen] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.clica('cmdLlum(0)');
      await banc.clica('cmdfiltre(5)');
      await banc.enfoca('cmdBlanca');
      await banc.tecles(...keys);
      assert.equal(await pantallaCompleta(banc), fullScreen);
      assert.equal(await banc.page.$$eval('#menus [role="menu"]:not([hidden])', (ms) => ms.length), 0);
      assert.equal(await banc.estat(), passos(RAIG).at(-1));
    }));
  }
});

describe('the bench at the screen\'s size', () => {
  const rows = [
    ['a 1366 × 768 laptop', 1366, 768, 1],
    ['a 1920 × 1080 projector', 1920, 1080, 1],
    ['a 4K projector at twice the pixels', 1920, 1080, 2],
    ['a 1024 × 768 projector, letterboxed', 1024, 768, 1],
  ];
  for (const [name, width, height, ratio] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.clica('cmdLlum(0)');
      await banc.tecles('F11');
      assert.equal(await pantallaCompleta(banc), true);
      await banc.page.setViewport({ width, height, deviceScaleFactor: ratio });
      await banc.page.waitForFunction((w) => document.getElementById('llenc').width === w, {}, width * ratio);
      const v = await banc.vista();
      const scale = Math.min(width / 867, (height - 22) / 618) * ratio;
      assert.ok(Math.abs(v.scale - scale) < 1e-9, `scale ${v.scale}, not ${scale}`);
      const size = await banc.page.$eval('#llenc', (c) => [c.width, c.height]);
      assert.deepEqual(size, [width * ratio, (height - 22) * ratio]);
      // The ray drawn before is drawn again at the new scale, and the controls stand where it says.
      assert.equal(await banc.pixel(8000, 3000), 255);
      const { x, y } = await banc.lloc('cmdBlanca');
      const hit = await banc.page.evaluate((px, py) => document.elementFromPoint(px, py)?.closest('[data-control]')?.dataset.control, x, y);
      assert.equal(hit, 'cmdBlanca');
    }, { width: 900, height: 640 }));
  }
});

describe('a double click on nothing', () => {
  const rows = [['the black of the bench', 600, 400], ['the empty end of the menu bar', 800, 10]];
  for (const [name, x, y] of rows) {
    test(`on ${name} changes nothing`, () => withPage(async (banc) => {
      await banc.clica('cmdLlum(0)');
      await banc.clica('cmdfiltre(5)');
      await banc.page.mouse.click(x, y, { clickCount: 2 });
      await banc.calma();
      assert.equal(await pantallaCompleta(banc), false);
      assert.equal(await banc.estat(), passos(RAIG).at(-1));
    }));
  }
});
