// The bench magnified: Ctrl and + / − / 0 and Ctrl with the wheel step it up to 4 times its fit,
// the browser's zoom not happening; it is scrolled by the wheel, the keys, a drag of the black and
// the scroll bars; every control acts where it is shown; the keyboard's focus is kept in view;
// what the viewport shows is, pixel for pixel, the module's surface at that view and offset.
'use strict';
const { execFileSync } = require('node:child_process');
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, cal, Banc, passos, clic, RECTS, MOTOR, launch, close } = require('./banc.js');

const { withPage } = navegador();
const lamp = (i) => `cmdLlum(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;

// Keys with modifiers held, as a keyboard types them: "+" is a key of its own on a Catalan one.
async function prem(banc, key) {
  await banc.page.keyboard.down('Control');
  await banc.page.keyboard.press(key);
  await banc.page.keyboard.up('Control');
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

// Until the client area's scroll has stood still for a few frames and a tenth of a second: a
// scroll by the wheel, or Firefox's to a focused control, may be animated.
function quiet(banc) {
  return banc.page.evaluate(() => new Promise((resolve) => {
    const client = document.getElementById('client');
    let last = '', same = 0, since = performance.now();
    const look = () => {
      const now = `${client.scrollLeft} ${client.scrollTop}`;
      if (now !== last) [same, since] = [0, performance.now()];
      else ++same;
      last = now;
      if (same >= 3 && performance.now() - since >= 100) resolve();
      else requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  }));
}

// The magnification, the canvas's extent in device pixels, the scroll offset and the viewport in
// CSS pixels, and the view the bench is laid out at.
function lupa(banc) {
  return banc.page.evaluate(() => {
    const client = document.getElementById('client'), canvas = document.getElementById('llenc');
    const [x, y, scale] = canvas.dataset.vista.split(' ').map(Number);
    const box = client.getBoundingClientRect();
    return {
      lupa: Number(client.dataset.lupa ?? 1), width: canvas.width, height: canvas.height, ratio: window.devicePixelRatio,
      left: client.scrollLeft, top: client.scrollTop, x, y, scale,
      viewport: { left: box.left, top: box.top, width: client.clientWidth, height: client.clientHeight },
      scrolls: ['overflowX', 'overflowY'].map((o) => getComputedStyle(client)[o] !== 'hidden'),
      scrollSize: [client.scrollWidth, client.scrollHeight],
    };
  });
}

// Whether the page took each of Ctrl's keys and turns of the wheel from the browser, as they
// reach the window after the page's own listeners.
function recordDefaults(banc) {
  return banc.page.evaluate(() => {
    window.presos = [];
    for (const type of ['keydown', 'wheel']) {
      window.addEventListener(type, (event) => {
        if (event.ctrlKey && event.key !== 'Control') window.presos.push(event.defaultPrevented);
      }, { passive: false });
    }
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
  const controls = (shown) => banc.page.evaluate((v) => { document.getElementById('client').classList.toggle('sense', !v); }, shown);
  await banc.page.addStyleTag({ content: '#client.sense .control { visibility: hidden; }' });
  await controls(false);
  // Only what the viewport shows: a capture beyond it would resize the page for a moment.
  const png = await banc.page.screenshot({
    encoding: 'base64', captureBeyondViewport: false, clip: { x: v.viewport.left, y: v.viewport.top, width: rect[2] / v.ratio, height: rect[3] / v.ratio },
  });
  await controls(true);
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

async function magnify(banc, to) {
  while ((await lupa(banc)).lupa < to) await prem(banc, '=');
  assert.equal((await lupa(banc)).lupa, to);
}

// The first point of a grid over the viewport where the bench's black shows, nothing over it.
function blackPoint(banc) {
  return banc.page.evaluate(() => {
    const client = document.getElementById('client'), box = client.getBoundingClientRect();
    for (let y = box.top + 20; y < box.top + client.clientHeight - 20; y += 37) {
      for (let x = box.left + 20; x < box.left + client.clientWidth - 20; x += 41) {
        if (document.elementFromPoint(x, y)?.id === 'llenc') return [x, y];
      }
    }
    return null;
  });
}

// A drag with the mouse from a point of the black, by so many CSS pixels as the window leaves room.
async function drag(banc, dx, dy) {
  const [x, y] = await blackPoint(banc);
  const [width, height] = await banc.page.evaluate(() => [innerWidth, innerHeight]);
  await banc.page.mouse.move(x, y);
  await banc.page.mouse.down();
  try {
    await banc.page.mouse.move(Math.min(Math.max(1, x + dx), width - 1), Math.min(Math.max(1, y + dy), height - 1), { steps: 4 });
  } finally {
    await banc.page.mouse.up();
  }
}

// The ways to scroll: what the focus must be on, what is done, and which way it goes, as signs
// across and down.
const MEANS = {
  wheel: [null, async (banc) => {
    await banc.page.mouse.move(300, 300);
    await banc.page.mouse.wheel({ deltaX: 120, deltaY: 150 });
  }, [1, 1]],
  'arrow keys on a button': ['cmdTorna', (banc) => banc.tecles('ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowLeft', 'ArrowRight'), [1, 1]],
  'Page Down, Page Up and Space on the eye': ['Picture1', (banc) => banc.tecles('PageDown', 'PageDown', 'PageUp', 'Space'), [0, 1]],
  'End, then Home and a step down': ['cmdTorna', async (banc) => {
    await banc.tecles('End');
    const bottom = (await lupa(banc)).top;
    await banc.tecles('Home');
    assert.ok(bottom > 0 && (await lupa(banc)).top === 0, 'End went down and Home back to the top');
    await banc.tecles('ArrowDown');
  }, [0, 1]],
  'a drag of the black': [null, (banc) => drag(banc, -120, -150), [1, 1]],
};

// A control's middle, or an element's by a selector, brought well into the viewport by one of
// the ways to scroll: the wheel, the arrow keys on the reset button, or drags of the black.
async function bringIntoView(banc, nom, means) {
  for (let tries = 0; tries < 40; ++tries) {
    const { x, y } = RECTS[nom] ? await banc.lloc(nom) : await banc.mig(nom);
    const { viewport } = await lupa(banc);
    const dx = x - (viewport.left + viewport.width / 2), dy = y - (viewport.top + viewport.height / 2);
    if (Math.abs(dx) < viewport.width / 2 - 40 && Math.abs(dy) < viewport.height / 2 - 40) return;
    if (means === 'wheel') {
      await banc.page.mouse.move(viewport.left + 10, viewport.top + 10);
      await banc.page.mouse.wheel({ deltaX: Math.round(dx), deltaY: Math.round(dy) });
    } else if (means === 'keys') {
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

describe('magnifying', () => {
  // On a page at 867 × 640, where the bench's fit is scale 1: what is done, the magnification
  // then, and whether the page took each key or turn of the wheel from the browser.
  const ctrl = (key) => (banc) => prem(banc, key);
  const wheel = (deltaY) => (banc) => rodaAmbCtrl(banc, deltaY);
  const rows = [
    ['Ctrl and =, a step in', [ctrl('=')], 1.25, [true]],
    ['Ctrl and +, as a Catalan keyboard types it, two steps', [ctrl('+'), ctrl('+')], 1.5, [true, true]],
    ['Ctrl and −, a step back out', [ctrl('='), ctrl('='), ctrl('-')], 1.25, [true, true, true]],
    ['Ctrl and − at the fit: nothing smaller', [ctrl('-')], 1, [true]],
    ['up to 4 and no further', Array(9).fill(ctrl('=')), 4, Array(9).fill(true)],
    ['Ctrl and 0 from 2 back to the fit', [...Array(5).fill(ctrl('=')), ctrl('0')], 1, Array(6).fill(true)],
    ['Ctrl and 0 at the fit left to the browser, to undo a zoom of its own', [ctrl('0')], 1, [false]],
    ['Ctrl and the wheel, two notches in', [wheel(-100), wheel(-100)], 1.5, [true, true], 'roda'],
    ['Ctrl and the wheel, a notch in and one out', [wheel(-100), wheel(100)], 1, [true, true], 'roda'],
    ['a trackpad\'s pinch, ten small turns: two steps', Array(10).fill(wheel(-10)), 1.5, Array(10).fill(true), 'roda'],
  ];
  for (const [name, actions, magnification, taken, needs] of rows) {
    test(name, cal(needs), () => withPage(async (banc) => {
      await banc.clica(lamp(0));
      await recordDefaults(banc);
      for (const action of actions) await action(banc);
      const v = await lupa(banc);
      assert.equal(v.lupa, magnification);
      assert.deepEqual(await banc.page.evaluate(() => window.presos), taken);
      assert.equal(v.scale, magnification, 'the bench\'s scale, its fit being 1');
      const extent = magnification === 1 ? [867, 618] : [867, 618].map((d) => Math.ceil(d * magnification - 1e-6));
      assert.deepEqual([v.width, v.height], extent);
      assert.deepEqual(v.scrolls, [magnification > 1, magnification > 1], 'the client area scrolls');
      if (magnification > 1) assert.deepEqual(v.scrollSize, extent, 'over the bench and no further');
    }));
  }

  test('a step asked for while a box is open is taken once it closes', () => withPage(async (banc) => {
    await banc.juga([filtre(0), filtre(1), filtre(2)]);
    await banc.clica(filtre(3));
    assert.ok(await banc.missatge());
    await prem(banc, '=');
    assert.equal((await lupa(banc)).lupa, 1);
    await banc.acordAmb('Enter');
    assert.equal((await lupa(banc)).lupa, 1.25);
    assert.equal(await banc.estat(), passos([filtre(0), filtre(1), filtre(2), filtre(3)].map(clic)).at(-1));
  }));

  // The printed page's picture of the bench is the whole bench at its fit, the ray on it; once
  // printed, the bench is magnified and scrolled as it was.
  test('printed at 2, the bench whole at its fit, then at 2 again', () => withPage(async (banc) => {
    await banc.clica(lamp(0));
    await magnify(banc, 2);
    await banc.page.evaluate(() => document.getElementById('client').scrollTo(100, 200));
    await quiet(banc);
    const ray = await banc.page.evaluate(() => {
      window.dispatchEvent(new Event('beforeprint'));
      const impres = document.getElementById('impres');
      const data = impres.getContext('2d').getImageData(0, 0, impres.width, impres.height).data;
      let red = 0;
      for (let i = 0; i < data.length; i += 4) if (data[i] === 255 && data[i + 1] === 0 && data[i + 2] === 0) ++red;
      return { size: [impres.width, impres.height], red };
    });
    assert.deepEqual(ray.size, [867, 618]);
    assert.ok(ray.red > 1000, `${ray.red} red pixels printed`);
    await banc.page.evaluate(() => window.dispatchEvent(new Event('afterprint')));
    const v = await lupa(banc);
    assert.deepEqual([v.lupa, v.left, v.top, await banc.page.$('#impres')], [2, 100, 200, null]);
  }));

  // A finger's pinch is the browser's: it zooms the page as it would any other, the bench's own
  // magnification untouched.
  test('a pinch on a touch screen zooms as the browser does', cal('tacte'), () => withPage(async (banc) => {
    const cdp = await banc.page.createCDPSession();
    const fingers = (d) => [{ x: 400 - d, y: 300, id: 1 }, { x: 400 + d, y: 300, id: 2 }];
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: fingers(20) });
    for (let d = 40; d <= 200; d += 20) await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: fingers(d) });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await banc.page.waitForFunction(() => window.visualViewport.scale > 1.5);
    assert.equal((await lupa(banc)).lupa, 1);
  }, { width: 867, height: 640, touch: true }));
});

describe('scrolling the magnified bench', () => {
  const ACTIONS = [lamp(0), lamp(1), 'cmdAnalisi', 'down'];
  const played = [clic(lamp(0)), clic(lamp(1)), clic('cmdAnalisi'), 'barra:1'];
  // From the top left corner, with the focus where the keys need it: the way goes as it says,
  // nothing on the bench acts, and what comes into view is painted as the module paints it.
  const rows = [['wheel', 2, 'roda'], ['arrow keys on a button', 4], ['Page Down, Page Up and Space on the eye', 2],
    ['End, then Home and a step down', 4], ['a drag of the black', 4]];
  for (const [means, magnification, needs] of rows) {
    test(`at ${magnification}: ${means}`, cal(needs), () => withPage(async (banc) => {
      const [focus, scroll, signs] = MEANS[means];
      await banc.juga(ACTIONS);
      await magnify(banc, magnification);
      if (focus) await banc.enfoca(focus);
      await banc.page.evaluate(() => document.getElementById('client').scrollTo(0, 0));
      await quiet(banc);
      const before = await banc.estat();
      await scroll(banc);
      await quiet(banc);
      const v = await lupa(banc);
      assert.deepEqual([Math.sign(v.left), Math.sign(v.top)], signs, `scrolled to ${v.left}, ${v.top}`);
      assert.equal(await banc.estat(), before, 'nothing on the bench acted');
      assert.equal(await differFromTheModule(banc, played), 0);
    }));
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

  // The browser's own bars, which the other tests' Chromium hides.
  test('the scroll bars at 2: both shown, a press on the track scrolls a page',
    MOTOR.nom === 'Chromium' ? {} : { skip: 'the browser\'s scroll bars are shown in Chromium only' }, async () => {
      const browser = await launch({ barres: true });
      try {
        const banc = await Banc.obre(browser);
        await banc.clica('cmdBlanca');
        await magnify(banc, 2);
        const v = await lupa(banc);
        const thickness = await banc.page.$eval('#client', (c) => [c.offsetHeight - c.clientHeight, c.offsetWidth - c.clientWidth]);
        assert.ok(thickness.every((t) => t > 0), `bars ${thickness} thick`);
        await banc.page.mouse.click(v.viewport.left + v.viewport.width + thickness[1] / 2, v.viewport.top + v.viewport.height - 25);
        await quiet(banc);
        assert.ok((await lupa(banc)).top > 0, 'scrolled down');
        assert.equal(await differFromTheModule(banc, [clic('cmdBlanca')]), 0);
        assert.deepEqual(banc.errors, []);
      } finally {
        await close(browser);
      }
    });
});

describe('a click acts on the control shown there', () => {
  // Controls clicked where they are shown once scrolled to by the wheel, the keys or a drag.
  const rows = [
    ['at 2, a lamp reached by the keys', 2, [[lamp(2), 'keys']], [clic(lamp(2))]],
    ['at 2, a filter and the analysis reached by a drag', 2, [['cmdBlanca', 'drag'], [filtre(4), 'drag'], ['cmdAnalisi', 'drag']],
      [clic('cmdBlanca'), clic(filtre(4)), clic('cmdAnalisi')]],
    ['at 4, white light and a filter reached by the keys', 4, [['cmdBlanca', 'keys'], [filtre(3), 'keys']], [clic('cmdBlanca'), clic(filtre(3))]],
    ['at 4, the direction bar\'s lower arrow reached by a drag', 4, [['cmdBlanca', 'drag'], ['down', 'drag']], [clic('cmdBlanca'), 'barra:1']],
    ['at 4, an ink, painting and a lamp far apart, by the wheel', 4, [['cmdTinta(3)', 'wheel'], ['cmdPinta', 'wheel'], [lamp(0), 'wheel']],
      [clic('cmdTinta(3)'), clic('cmdPinta'), clic(lamp(0))], 'roda'],
  ];
  for (const [name, magnification, clicks, played, needs] of rows) {
    test(name, cal(needs), () => withPage(async (banc) => {
      await magnify(banc, magnification);
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
    }));
  }
});

describe('the focus kept in view', () => {
  // Tab or Shift+Tab from one end of the bench's controls to the other: each one focused shows
  // whole in the viewport (or fills it, where larger), counting only its part on the bench, as the
  // eye lies partly beyond. The walk stops at the last control before the focus would leave the
  // page, or where it has: headless Firefox has no window to give the focus to, and sends the page
  // in its one tab no focus events again, in this test or any after it.
  const rows = [['Tab at 4', 4, 'Tab', filtre(0)], ['Shift+Tab at 2', 2, 'Shift+Tab', 'cmdForaFiltres']];
  for (const [name, magnification, key, start] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.clica('cmdBlanca');
      await banc.clica(filtre(3));
      await magnify(banc, magnification);
      await banc.enfoca(start);
      const seen = new Set();
      for (let k = 0; k < 30; ++k) {
        await banc.tecles(key);
        await quiet(banc);
        const { nom, r, area, darrer } = await banc.page.evaluate((endavant) => {
          const a = document.activeElement, client = document.getElementById('client');
          const ordre = [...client.querySelectorAll('[data-control]')]
            .filter((e) => e.tabIndex >= 0 && !e.disabled && e.getClientRects().length);
          const box = client.getBoundingClientRect(), e = document.getElementById('llenc').getBoundingClientRect();
          const c = a.getBoundingClientRect();
          return {
            nom: a.dataset.control,
            r: { left: Math.max(c.left, e.left), top: Math.max(c.top, e.top), right: Math.min(c.right, e.right), bottom: Math.min(c.bottom, e.bottom) },
            area: { left: box.left, top: box.top, right: box.left + client.clientWidth, bottom: box.top + client.clientHeight },
            darrer: a === (endavant ? ordre.at(-1) : ordre[0]),
          };
        }, key === 'Tab');
        if (!nom) break;
        seen.add(nom);
        const fits = (lo, hi, vlo, vhi) => (hi - lo <= vhi - vlo ? lo >= vlo - 0.01 && hi <= vhi + 0.01 : lo <= vlo && hi >= vhi);
        assert.ok(fits(r.left, r.right, area.left, area.right) && fits(r.top, r.bottom, area.top, area.bottom),
          `${nom} at ${JSON.stringify(r)}, the viewport ${JSON.stringify(area)}`);
        if (darrer) break;
      }
      assert.ok(seen.size >= 15, `${seen.size} controls walked`);
    }));
  }

  test('a control clicked at the viewport\'s edge is not moved from under the pointer', () => withPage(async (banc) => {
    await magnify(banc, 2);
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

// The lines drawn at the magnified scale, not a bitmap of the fit made larger: the viewport's
// pixels are the module's wherever it is scrolled to, at ratios where a CSS pixel is more device
// pixels than one; and only the tiles near the viewport are kept.
describe('the magnified bench sharp on the screen', () => {
  const ACTIONS = [lamp(0), lamp(1), lamp(2), 'cmdAnalisi', 'down', filtre(1)];
  const played = [clic(lamp(0)), clic(lamp(1)), clic(lamp(2)), clic('cmdAnalisi'), 'barra:1', clic(filtre(1))];
  const rows = [
    ['at 4, ratio 1, the rays through the filter', 4, 1, [0.3, 0.4]],
    ['at 4, ratio 2, the lamps', 4, 2, [0.1, 0.3], 'relacio'],
    ['at 4, ratio 1.5, the bottom right corner', 4, 1.5, [1, 1], 'relacio'],
    ['at 2.5, ratio 3, the paper', 2.5, 3, [0.4, 0.8], 'relacio'],
  ];
  for (const [name, magnification, ratio, [fx, fy], needs] of rows) {
    test(name, cal(needs), () => withPage(async (banc) => {
      await banc.juga(ACTIONS);
      await magnify(banc, magnification);
      // By way of the far side, so that the tiles shown were let go and are painted again.
      for (const [a, b] of [[1 - fx, 1 - fy], [fx, fy]]) {
        await banc.page.evaluate((a, b) => {
          const client = document.getElementById('client');
          client.scrollTo(a * (client.scrollWidth - client.clientWidth), b * (client.scrollHeight - client.clientHeight));
        }, a, b);
        await quiet(banc);
      }
      assert.equal(await differFromTheModule(banc, played), 0);
      const area = await banc.page.$$eval('#tires canvas', (tires) => tires.reduce((sum, t) => sum + t.width * t.height, 0));
      const v = await lupa(banc);
      assert.ok(area <= 4 * v.viewport.width * v.viewport.height * ratio * ratio, `tiles of ${area} pixels in all`);
    }, { width: 1000, height: 700, ratio }));
  }
});
