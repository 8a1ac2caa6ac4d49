// The bench magnified: Ctrl and + / − / 0 and Ctrl with the wheel step it up to 4 times its fit,
// the browser's zoom not happening; it is scrolled by the wheel, the keys, a drag of the black and
// the scroll bars; what the viewport shows is, pixel for pixel, the module's surface at that view
// and offset; every control acts where it is shown; the keyboard's focus is kept in view.
'use strict';
const { execFileSync } = require('node:child_process');
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const puppeteer = require('puppeteer-core');
const { navegador, Banc, passos, clic, RECTS } = require('./banc.js');

const { withPage } = navegador();

const lamp = (i) => `cmdLlum(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;

// Keys with modifiers, as "Control" and the key's name: the page's own keys for the zoom are
// pressed as a keyboard types them, "+" on a Catalan keyboard being a key of its own.
async function prem(banc, modifiers, key) {
  for (const m of modifiers) await banc.page.keyboard.down(m);
  await banc.page.keyboard.press(key);
  for (const m of [...modifiers].reverse()) await banc.page.keyboard.up(m);
  await banc.calma();
}

// Ctrl and the wheel at the middle of the client area, by so many pixels a turn.
async function rodaAmbCtrl(banc, deltaY) {
  await banc.page.mouse.move(400, 300);
  await banc.page.keyboard.down('Control');
  await banc.page.mouse.wheel({ deltaY });
  await banc.page.keyboard.up('Control');
  await banc.calma();
}

// Until the client area's scroll has stood still for a few frames: a scroll by the wheel may
// be animated.
async function quiet(banc) {
  await banc.page.evaluate(() => new Promise((resolve) => {
    const client = document.getElementById('client');
    let last = '', same = 0;
    const look = () => {
      const now = `${client.scrollLeft} ${client.scrollTop}`;
      same = now === last ? same + 1 : 0;
      last = now;
      if (same >= 3) resolve();
      else requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  }));
}

// The magnification, the canvas's extent, the scroll offset and the viewport, in CSS pixels,
// and the view the bench is laid out at.
async function lupa(banc) {
  return banc.page.evaluate(() => {
    const client = document.getElementById('client'), canvas = document.getElementById('llenc');
    const [x, y, scale] = canvas.dataset.vista.split(' ').map(Number);
    const box = client.getBoundingClientRect();
    return {
      lupa: Number(client.dataset.lupa ?? 1), width: canvas.width, height: canvas.height, ratio: window.devicePixelRatio,
      left: client.scrollLeft, top: client.scrollTop, x, y, scale,
      viewport: { left: box.left, top: box.top, width: client.clientWidth, height: client.clientHeight },
      // Whether the client area scrolls across and down, and how far it does.
      scrolls: [getComputedStyle(client).overflowX !== 'hidden', getComputedStyle(client).overflowY !== 'hidden'],
      scrollSize: [client.scrollWidth, client.scrollHeight],
    };
  });
}

// Whether the page took each key and turn of the wheel from the browser: recorded as they reach
// the window, after the page's own listeners.
async function recordDefaults(banc) {
  await banc.page.evaluate(() => {
    window.presos = [];
    for (const type of ['keydown', 'wheel']) {
      window.addEventListener(type, (event) => {
        if (event.ctrlKey && !['Control', 'Shift'].includes(event.key)) window.presos.push(event.defaultPrevented);
      }, { passive: false });
    }
  });
}

// The points of the viewport where the black of the bench shows, nothing over it: a grid's.
async function blackPoints(banc) {
  return banc.page.evaluate(() => {
    const client = document.getElementById('client'), box = client.getBoundingClientRect();
    const points = [];
    for (let y = box.top + 20; y < box.top + client.clientHeight - 20; y += 37) {
      for (let x = box.left + 20; x < box.left + client.clientWidth - 20; x += 41) {
        if (document.elementFromPoint(x, y)?.id === 'llenc') points.push([x, y]);
      }
    }
    return points;
  });
}

// What the viewport shows of the bench, its controls hidden, against the native bench's surface
// painted at the page's view over the same rectangle of the extent: the pixels that differ.
async function differFromTheModule(banc, actions) {
  const v = await lupa(banc);
  const px = (css) => Math.round(css * v.ratio);
  const rect = [px(v.left), px(v.top), px(v.viewport.width), px(v.viewport.height)];
  const native = execFileSync(process.env.CORVANI_PASSOS, ['--tela', v.x, v.y, v.scale, ...rect, ...actions].map(String),
    { maxBuffer: 1 << 28 });
  const style = await banc.page.addStyleTag({ content: '#client .control { visibility: hidden; }' });
  // Only what the viewport shows: a capture beyond it would resize the page for a moment.
  const png = await banc.page.screenshot({
    encoding: 'base64', captureBeyondViewport: false,
    clip: { x: v.viewport.left, y: v.viewport.top, width: rect[2] / v.ratio, height: rect[3] / v.ratio },
  });
  await style.evaluate((element) => element.remove());
  return banc.page.evaluate(async (data, module, [w, h]) => {
    const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
    if (bitmap.width !== w || bitmap.height !== h) return `a screenshot of ${bitmap.width} × ${bitmap.height}, not ${w} × ${h}`;
    const shown = new OffscreenCanvas(w, h).getContext('2d');
    shown.drawImage(bitmap, 0, 0);
    const seen = shown.getImageData(0, 0, w, h).data;
    const held = Uint8Array.from(atob(module), (c) => c.charCodeAt(0));
    let count = 0;
    for (let i = 0; i < seen.length; i += 4) {
      if (seen[i] !== held[i] || seen[i + 1] !== held[i + 1] || seen[i + 2] !== held[i + 2]) ++count;
    }
    return count;
  }, png, native.toString('base64'), rect.slice(2));
}

// Magnifies the bench by Ctrl and +, a step at a time, to a magnification.
async function magnify(banc, to) {
  while ((await lupa(banc)).lupa < to) await prem(banc, ['Control'], '=');
  assert.equal((await lupa(banc)).lupa, to);
}

describe('magnifying', () => {
  // What is done on a page at 867 × 640 (the bench's fit is scale 1); the magnification then;
  // whether the page took each key and turn of the wheel from the browser.
  const ctrl = (key) => (banc) => prem(banc, ['Control'], key);
  const rows = [
    ['Ctrl and =, as on a US keyboard', [ctrl('=')], 1.25, [true]],
    ['Ctrl and +, a key of its own on a Catalan keyboard', [ctrl('+'), ctrl('+')], 1.5, [true, true]],
    ['Ctrl and the keypad\'s +', [ctrl('NumpadAdd'), ctrl('NumpadAdd'), ctrl('NumpadAdd')], 1.75, [true, true, true]],
    ['up to 4 and no further', Array(9).fill(ctrl('=')), 4, Array(9).fill(true)],
    ['Ctrl and − a step back down', [ctrl('='), ctrl('='), ctrl('-')], 1.25, [true, true, true]],
    ['Ctrl and the keypad\'s − at the fit: nothing smaller', [ctrl('NumpadSubtract')], 1, [true]],
    ['Ctrl and 0 back to the fit', [ctrl('='), ctrl('='), ctrl('='), ctrl('0')], 1, [true, true, true, true]],
    ['Ctrl and the keypad\'s 0 back to the fit', [ctrl('='), ctrl('Numpad0')], 1, [true, true]],
    ['Ctrl and 0 at the fit left to the browser, to undo a zoom of its own', [ctrl('0')], 1, [false]],
    ['Ctrl and the wheel, two notches up', [(b) => rodaAmbCtrl(b, -100), (b) => rodaAmbCtrl(b, -100)], 1.5, [true, true]],
    ['Ctrl and the wheel a notch down after one up', [(b) => rodaAmbCtrl(b, -100), (b) => rodaAmbCtrl(b, 100)], 1, [true, true]],
    ['a trackpad\'s pinch, ten small turns: two steps', Array(10).fill((b) => rodaAmbCtrl(b, -10)), 1.5, Array(10).fill(true)],
  ];
  for (const [name, actions, magnification, taken] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.clica(lamp(0));
      await recordDefaults(banc);
      for (const action of actions) await action(banc);
      const v = await lupa(banc);
      assert.equal(v.lupa, magnification);
      assert.deepEqual(await banc.page.evaluate(() => window.presos), taken);
      assert.equal(v.scale, magnification, 'the bench\'s scale, its fit being 1');
      assert.deepEqual([v.width, v.height], magnification === 1 ? [867, 618]
        : [Math.ceil(867 * magnification - 1e-6), Math.ceil(618 * magnification - 1e-6)]);
      assert.deepEqual(v.scrolls, [magnification > 1, magnification > 1], 'the client area scrolls');
      // Over the bench and no further.
      if (magnification > 1) assert.deepEqual(v.scrollSize, [v.width, v.height]);
      // A control as large as the bench's scale makes it, every edge on a whole pixel.
      const box = await (await banc.page.$(`[data-control="${lamp(1)}"]`)).boundingBox();
      const [l, t, w, h] = RECTS[lamp(1)];
      const at = (origin, u) => Math.round(origin + u * v.scale);
      assert.deepEqual([box.width, box.height], [at(v.x, l + w) - at(v.x, l), at(v.y, t + h) - at(v.y, t)]);
      assert.equal(await differFromTheModule(banc, [clic(lamp(0))]), 0);
    }));
  }

  test('a step asked for while a box is open waits for it to close', () => withPage(async (banc) => {
    await banc.juga([filtre(0), filtre(1), filtre(2)]);
    await banc.clica(filtre(3));
    assert.ok(await banc.missatge());
    await recordDefaults(banc);
    await prem(banc, ['Control'], '=');
    assert.equal((await lupa(banc)).lupa, 1);
    await banc.acordAmb('Enter');
    assert.equal((await lupa(banc)).lupa, 1.25);
    assert.deepEqual(await banc.page.evaluate(() => window.presos), [true]);
    assert.equal(await banc.estat(), passos([filtre(0), filtre(1), filtre(2), filtre(3)].map(clic)).at(-1));
  }));
});

// A drag with the mouse from a point of the black, by so many CSS pixels.
async function drag(banc, dx, dy) {
  const [[x, y]] = await blackPoints(banc);
  await banc.page.mouse.move(x, y);
  await banc.page.mouse.down();
  await banc.page.mouse.move(x + dx, y + dy, { steps: 4 });
  await banc.page.mouse.up();
}

// The ways to scroll the bench, each by about 150 CSS pixels down and 120 across, from the top
// left corner, with the focus on a control where the keys need it: the control, what is done,
// and the scroll offset it leaves, as [across, down] signs.
const MEANS = {
  'the wheel': [null, async (banc) => {
    await banc.page.mouse.move(300, 300);
    await banc.page.mouse.wheel({ deltaX: 120, deltaY: 150 });
  }, [1, 1]],
  'the arrow keys on a button': ['cmdTorna', async (banc) => {
    await banc.tecles('ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowLeft');
  }, [1, 1]],
  'Page Down, then Page Up and Space on the eye': ['Picture1', async (banc) => {
    await banc.tecles('PageDown', 'PageDown', 'PageUp', 'Space');
  }, [0, 1]],
  'End, then Home': ['cmdTorna', async (banc) => {
    await banc.tecles('End');
    const bottom = (await lupa(banc)).top;
    await banc.tecles('Home');
    assert.ok(bottom > 0 && (await lupa(banc)).top === 0, 'End went down and Home back to the top');
    await banc.tecles('ArrowDown');
  }, [0, 1]],
  'a drag of the black with the mouse': [null, async (banc) => drag(banc, -120, -150), [1, 1]],
};

describe('scrolling the magnified bench', () => {
  const ACTIONS = [lamp(0), lamp(1), 'cmdAnalisi', 'down'];
  const played = [clic(lamp(0)), clic(lamp(1)), clic('cmdAnalisi'), 'barra:1'];
  for (const magnification of [1.25, 2, 4]) {
    for (const [means, [focus, scroll, [across, down]]] of Object.entries(MEANS)) {
      test(`at ${magnification}: ${means}`, () => withPage(async (banc) => {
        await banc.juga(ACTIONS);
        await magnify(banc, magnification);
        if (focus) await banc.enfoca(focus);
        // From the top left corner, where every way has somewhere to go.
        await banc.page.evaluate(() => document.getElementById('client').scrollTo(0, 0));
        await quiet(banc);
        const before = await banc.estat();
        await scroll(banc);
        await quiet(banc);
        const v = await lupa(banc);
        // A side the bench fills at this magnification does not scroll.
        const scrolls = v.scrolls.map((s, k) => (s ? [across, down][k] : 0));
        assert.deepEqual([Math.sign(v.left), Math.sign(v.top)], scrolls, `scrolled to ${v.left}, ${v.top}`);
        assert.equal(await banc.estat(), before, 'nothing on the bench acted');
        assert.equal(await differFromTheModule(banc, played), 0);
      }));
    }
  }

  // The direction bar takes its keys itself, as the desktop's does: the bench does not scroll.
  test('the direction bar keeps its arrows and pages', () => withPage(async (banc) => {
    await banc.clica('cmdBlanca');
    await magnify(banc, 2);
    await banc.enfoca('VSllum');
    const v = await lupa(banc);
    await banc.tecles('ArrowDown', 'PageUp', 'End');
    await quiet(banc);
    const after = await lupa(banc);
    assert.deepEqual([after.left, after.top], [v.left, v.top]);
    assert.equal(await banc.estat(), passos([clic('cmdBlanca'), 'barra:1', 'barra:0', 'barra:1']).at(-1));
  }));
});

// The middle of a control, or of an element by a selector, brought into the viewport by one of
// the ways to scroll: the wheel, the arrow keys, or a drag of the black.
async function bringIntoView(banc, nom, means) {
  for (let tries = 0; tries < 40; ++tries) {
    const { x, y } = RECTS[nom] ? await banc.lloc(nom) : await banc.mig(nom);
    const { viewport } = await lupa(banc);
    const dx = x - (viewport.left + viewport.width / 2), dy = y - (viewport.top + viewport.height / 2);
    const inside = Math.abs(dx) < viewport.width / 2 - 40 && Math.abs(dy) < viewport.height / 2 - 40;
    if (inside) return;
    if (means === 'wheel') {
      await banc.page.mouse.move(viewport.left + 10, viewport.top + 10);
      await banc.page.mouse.wheel({ deltaX: dx, deltaY: dy });
    } else if (means === 'keys') {
      // With the focus on the reset button, which takes no arrows.
      if (await banc.enfocat() !== 'cmdTorna') await banc.enfoca('cmdTorna');
      const presses = (d, keys) => Array(Math.min(20, Math.round(Math.abs(d) / 40))).fill(keys[d > 0 ? 1 : 0]);
      await banc.tecles(...presses(dx, ['ArrowLeft', 'ArrowRight']), ...presses(dy, ['ArrowUp', 'ArrowDown']));
    } else {
      const step = (d) => Math.max(-150, Math.min(150, -d));
      await drag(banc, step(dx), step(dy));
    }
    await quiet(banc);
  }
  throw new Error(`${nom} not brought into view by ${means}`);
}

describe('every control acts at 4 times', () => {
  // Controls clicked where they are shown once scrolled to, by the wheel, the keys or a drag.
  const rows = [
    ['a lamp, reached by the wheel', [[lamp(2), 'wheel']], [clic(lamp(2))]],
    ['white light and a filter, reached by the keys', [['cmdBlanca', 'keys'], [filtre(3), 'keys']], [clic('cmdBlanca'), clic(filtre(3))]],
    ['the direction bar\'s lower arrow, reached by a drag', [['cmdBlanca', 'drag'], ['down', 'drag']], [clic('cmdBlanca'), 'barra:1']],
    ['an ink and the paper painted, far apart', [[`cmdTinta(3)`, 'wheel'], ['cmdPinta', 'drag'], [lamp(0), 'keys']],
      [clic('cmdTinta(3)'), clic('cmdPinta'), clic(lamp(0))]],
  ];
  for (const [name, clicks, played] of rows) {
    test(name, () => withPage(async (banc) => {
      await magnify(banc, 4);
      for (const [nom, means] of clicks) {
        if (nom === 'down') {
          await bringIntoView(banc, '[data-control="VSllum"] .avall', means);
          await banc.barra(1);
        } else {
          await bringIntoView(banc, nom, means);
          await banc.clica(nom);
        }
      }
      assert.equal(await banc.estat(), passos(played).at(-1));
      assert.equal(await differFromTheModule(banc, played), 0);
    }));
  }
});

describe('the focus kept in view', () => {
  // Tab or Shift+Tab from the focus the page starts with, through every control in turn, at a
  // magnification: each control focused shows whole in the viewport (or fills it, where larger).
  const rows = [['Tab at 2', 2, 'Tab'], ['Tab at 4', 4, 'Tab'], ['Shift+Tab at 4', 4, 'Shift+Tab'], ['Tab at 1.5', 1.5, 'Tab']];
  for (const [name, magnification, key] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.clica('cmdBlanca');
      await banc.clica(filtre(3));
      await magnify(banc, magnification);
      await banc.enfoca('cmdBlanca');
      const seen = new Set();
      for (let k = 0; k < 30; ++k) {
        await banc.tecles(key);
        await quiet(banc);
        // The part of the control on the bench: the eye lies partly beyond it.
        const { nom, r, area } = await banc.page.evaluate(() => {
          const a = document.activeElement, client = document.getElementById('client');
          const box = client.getBoundingClientRect(), e = document.getElementById('llenc').getBoundingClientRect();
          const c = a.getBoundingClientRect();
          return {
            nom: a.dataset.control,
            r: { left: Math.max(c.left, e.left), top: Math.max(c.top, e.top), right: Math.min(c.right, e.right), bottom: Math.min(c.bottom, e.bottom) },
            area: { left: box.left, top: box.top, right: box.left + client.clientWidth, bottom: box.top + client.clientHeight },
          };
        });
        seen.add(nom);
        const fits = (lo, hi, vlo, vhi) => (hi - lo <= vhi - vlo ? lo >= vlo - 0.01 && hi <= vhi + 0.01 : lo <= vlo && hi >= vhi);
        assert.ok(fits(r.left, r.right, area.left, area.right) && fits(r.top, r.bottom, area.top, area.bottom),
          `${nom} at ${JSON.stringify(r)}, the viewport ${JSON.stringify(area)}`);
      }
      assert.ok(seen.size >= 15, `${seen.size} controls walked`);
    }));
  }

  test('a control clicked at the viewport\'s edge is not moved from under the pointer', () => withPage(async (banc) => {
    await magnify(banc, 2);
    // The red lamp's button half out of the viewport's left edge.
    const { x } = await banc.lloc(lamp(0));
    const v = await lupa(banc);
    await banc.page.evaluate((left) => document.getElementById('client').scrollTo(left, 0), v.left + x - v.viewport.left);
    await quiet(banc);
    const { y } = await banc.lloc(lamp(0));
    const before = await lupa(banc);
    await banc.page.mouse.click(v.viewport.left + 3, y);
    await banc.calma();
    await quiet(banc);
    const after = await lupa(banc);
    assert.deepEqual([after.left, after.top], [before.left, before.top]);
    assert.equal(await banc.estat(), passos([clic(lamp(0))]).at(-1));
  }));
});

// The viewport's pixels are the module's, sharp, wherever it is scrolled to, at ratios where a
// CSS pixel is more device pixels than one.
describe('the magnified bench on the screen', () => {
  const ACTIONS = [lamp(0), lamp(1), lamp(2), 'cmdAnalisi', 'down', filtre(1)];
  const played = [clic(lamp(0)), clic(lamp(1)), clic(lamp(2)), clic('cmdAnalisi'), 'barra:1', clic(filtre(1))];
  const rows = [
    ['at 4, ratio 1, the middle', 4, 1, [0.5, 0.5]],
    ['at 4, ratio 1.5, the bottom right corner', 4, 1.5, [1, 1]],
    ['at 4, ratio 2, the lamps', 4, 2, [0.1, 0.3]],
    ['at 2.5, ratio 3, the paper', 2.5, 3, [0.4, 0.8]],
    ['at 1.25, ratio 1.25', 1.25, 1.25, [0, 1]],
  ];
  for (const [name, magnification, ratio, [fx, fy]] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(ACTIONS);
      await magnify(banc, magnification);
      await banc.page.evaluate((a, b) => {
        const client = document.getElementById('client');
        client.scrollTo(a * (client.scrollWidth - client.clientWidth), b * (client.scrollHeight - client.clientHeight));
      }, fx, fy);
      await quiet(banc);
      assert.equal(await differFromTheModule(banc, played), 0);
      // Not a canvas more than the tiles near the viewport.
      const { tiles, area } = await banc.page.evaluate(() => {
        const tires = [...document.querySelectorAll('#tires canvas')];
        return { tiles: tires.length, area: tires.reduce((sum, t) => sum + t.width * t.height, 0) };
      });
      const v = await lupa(banc);
      assert.ok(area <= 4 * v.viewport.width * v.viewport.height * ratio * ratio, `${tiles} tiles of ${area} pixels`);
    }, { width: 1000, height: 700, ratio }));
  }
});

describe('the scroll bars', () => {
  // The browser's own bars, as the tests elsewhere hide them.
  const rows = [
    ['at 2 on the bench\'s own size: both', { width: 867, height: 640 }, 2, [true, true]],
    ['at 1.25 on a wide laptop: down only, the bench centred across', { width: 1366, height: 768 }, 1.25, [false, true]],
  ];
  for (const [name, viewport, magnification, bars] of rows) {
    test(name, async () => {
      const browser = await puppeteer.launch({
        executablePath: process.env.CORVANI_CHROMIUM || '/usr/bin/chromium', headless: true,
        ignoreDefaultArgs: ['--hide-scrollbars'], args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
      });
      try {
        const banc = await Banc.obre(browser, viewport);
        await banc.clica('cmdBlanca');
        await magnify(banc, magnification);
        const v = await lupa(banc);
        const thickness = await banc.page.$eval('#client', (c) => [c.offsetHeight - c.clientHeight, c.offsetWidth - c.clientWidth]);
        assert.deepEqual(thickness.map((t) => t > 0), bars);
        assert.deepEqual(v.scrolls, bars);
        // A press on the vertical bar's track below its thumb scrolls down a page.
        const right = v.viewport.left + v.viewport.width + thickness[1] / 2;
        await banc.page.mouse.click(right, v.viewport.top + v.viewport.height - 25);
        await quiet(banc);
        assert.ok((await lupa(banc)).top > 0, 'scrolled down');
        assert.equal(await differFromTheModule(banc, [clic('cmdBlanca')]), 0);
        assert.deepEqual(banc.errors, []);
      } finally {
        await browser.close();
      }
    });
  }
});
