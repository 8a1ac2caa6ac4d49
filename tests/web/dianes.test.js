// Where a finger or a pointer reaches each control, measured where it lands (the browser's hit
// test at every CSS pixel around the control): every target at least 24 × 24 CSS pixels, or
// with a 24-pixel circle around it that reaches no other; the room a small control takes around
// its face (its zone) never reaches another control's face, does what a press on the face does,
// and changes no pixel of the screen.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, cal, passos, clic, MOTOR } = require('./banc.js');

const { withPage } = navegador();

const lamp = (i) => `cmdLlum(${i})`;
const off = (i) => `cmdLlumOff(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;

// A laptop's screen, and the same in a browser's tab under its toolbars.
const PANTALLES = [['a 1366 × 768 screen', { width: 1366, height: 768 }], ['a 1366 × 657 tab', { width: 1366, height: 657 }]];

// The three engines lay the page out alike, to the hundredth of a pixel: every target is measured
// in Chromium, and a press in each kind of zone is tried in all three, whose hit tests differ.
const MESURAT = MOTOR.nom === 'Chromium' ? {} : { skip: 'measured in Chromium, which lays the page out as this engine does' };

// Targets judged by another rule, each with the reason.
const EQUIVALENTS = {
  'VSllum guia': 'a press on the track does what a press on the arrow on its side does, and both arrows are large enough',
};

// Runs in the page. Every pointer target shown, by name: the enabled buttons and the direction
// bar's arrows and track, or where a menu is open its titles and items, or where a message box is
// open its button. For each, the CSS pixels around it that the browser's hit test gives it, tried
// at each pixel's corner, to which Chromium rounds a point; a press on the bar's border is the
// part's beside it. Returns the targets with no square of 24 × 24 of their own, each with what
// lies within 12 pixels of its middle and where its middle is; and the pixels of a face, of a
// control shown that takes a press or shows something, that the browser gives another control.
function mesura(equivalents) {
  const box = (e) => {
    const r = e.getBoundingClientRect();
    return [r.left, r.top, r.right, r.bottom];
  };
  const dianes = new Map();
  const dialog = document.getElementById('missatge');
  const menu = document.querySelector('#menus [role="menu"]:not([hidden])');
  if (dialog.open) dianes.set("D'acord", document.getElementById('missatge-acord'));
  else if (menu) {
    for (const b of document.querySelectorAll('#menus [data-menu]')) if (b.getClientRects().length) dianes.set(b.dataset.menu, b);
  } else {
    for (const b of document.querySelectorAll('#client button[data-control]:not([hidden]):not(:disabled)')) dianes.set(b.dataset.control, b);
    for (const p of document.querySelectorAll('[data-control="VSllum"] > div')) dianes.set(`VSllum ${p.className.split(' ').pop()}`, p);
  }
  const noms = new Map([...dianes].map(([nom, e]) => [e, nom]));
  for (const [nom, e] of dianes) if (e.zona) noms.set(e.zona, nom);
  const barra = document.querySelector('[data-control="VSllum"]');
  const vist = new Map(); // pixel → [the target there, the control there]
  const a = (x, y) => {
    const k = `${x},${y}`;
    if (!vist.has(k)) {
      const e = document.elementFromPoint(x, y);
      let quina = null;
      if (e === barra) quina = noms.get([...barra.children].find((p, i) => i === 2 || y < box(p)[3])) ?? null;
      for (let u = e; u && !quina; u = u.parentElement) quina = noms.get(u) ?? null;
      vist.set(k, [quina, e?.closest('[data-control]')?.dataset.control ?? quina?.split(' ')[0] ?? null]);
    }
    return vist.get(k);
  };
  const petites = [];
  for (const [nom, e] of dianes) {
    if (equivalents[nom]) continue;
    const [l, t, r, b] = box(e).map(Math.round);
    // A face larger than the square both ways, whose middle square is its own, has one.
    const [mx, my] = [Math.floor((l + r) / 2) - 12, Math.floor((t + b) / 2) - 12];
    let meu = r - l >= 24 && b - t >= 24;
    for (let y = my; meu && y < my + 24; ++y) for (let x = mx; meu && x < mx + 24; ++x) meu = a(x, y)[0] === nom;
    if (meu) continue;
    const [x0, y0, x1, y1] = [Math.max(0, l - 12), Math.max(0, t - 12), Math.min(innerWidth, r + 12), Math.min(innerHeight, b + 12)];
    const [w, h] = [x1 - x0, y1 - y0];
    const suma = Array.from({ length: h + 1 }, () => new Int32Array(w + 1));
    for (let y = 0; y < h; ++y) {
      for (let x = 0; x < w; ++x) suma[y + 1][x + 1] = (a(x0 + x, y0 + y)[0] === nom) + suma[y][x + 1] + suma[y + 1][x] - suma[y][x];
    }
    let quadrat = false;
    for (let y = 24; y <= h && !quadrat; ++y) {
      for (let x = 24; x <= w && !quadrat; ++x) quadrat = suma[y][x] - suma[y - 24][x] - suma[y][x - 24] + suma[y - 24][x - 24] === 576;
    }
    if (quadrat) continue;
    const [cx, cy] = [(l + r) / 2, (t + b) / 2];
    const prop = new Set();
    for (let y = y0; y < y1; ++y) {
      for (let x = x0; x < x1; ++x) {
        const [quina] = a(x, y);
        if (quina && quina !== nom && Math.hypot(x + 0.5 - cx, y + 0.5 - cy) < 12) prop.add(quina);
      }
    }
    petites.push({ nom, mig: [cx, cy], prop: [...prop] });
  }
  const trepitjades = [];
  if (!dialog.open && !menu) {
    const cares = [...document.querySelectorAll('#client [data-control]:not([hidden]):not(fieldset)')]
      .map((e) => [e.dataset.control, box(e), e.disabled]);
    for (const [k, [, control]] of vist) {
      const [x, y] = k.split(',').map(Number);
      const sota = cares.filter(([, c]) => x >= c[0] && x < c[2] && y >= c[1] && y < c[3]);
      if (sota.length === 1 && !sota[0][2] && control !== sota[0][0]) trepitjades.push(`${sota[0][0]} at ${x},${y} is ${control}`);
    }
  }
  return { nombre: dianes.size, petites, trepitjades };
}

describe('every pointer target is large enough or has room', () => {
  // Actions, then keys: each state shows another set of targets.
  const ESTATS = [
    ['as the page opens', [], []],
    ['the red and blue lamps on: their Off buttons, the green lamp between them', [lamp(0), lamp(2)], []],
    ['all three lamps on: three Off buttons side by side', [lamp(0), lamp(1), lamp(2)], []],
    ['white light on: the lamps greyed', ['cmdBlanca'], []],
    ['a filter placed: Retira Filtres', [filtre(1)], []],
    ['the lamp turned down at the paper', ['down'], []],
    ['a menu open, its items', [], ['Alt+I']],
    ['a message box open', ['cmdBuidaPot'], []],
  ];
  for (const [pantalla, viewport] of PANTALLES) {
    for (const [name, actions, keys] of ESTATS) {
      test(`${pantalla}: ${name}`, MESURAT, () => withPage(async (banc) => {
        for (const a of actions) {
          if (a === 'down') await banc.barra(1);
          else await banc.clica(a);
        }
        await banc.tecles(...keys);
        const { nombre, petites, trepitjades } = await banc.page.evaluate(mesura, EQUIVALENTS);
        assert.ok(nombre > 0);
        // Undersized, a target needs a circle of 24 around its middle that reaches no other target,
        // nor another undersized target's circle.
        for (const { nom, mig, prop } of petites) {
          assert.deepEqual(prop, [], `within 12 pixels of ${nom}`);
          for (const altra of petites) {
            if (altra.nom !== nom) assert.ok(Math.hypot(mig[0] - altra.mig[0], mig[1] - altra.mig[1]) >= 24, `${nom} and ${altra.nom}`);
          }
        }
        assert.deepEqual(trepitjades.slice(0, 5), [], `${trepitjades.length} pixels of a face that another control takes`);
      }, viewport));
    }
  }
});

describe('a press in a zone is a press on its control', () => {
  // Actions first; then a press on the target beside its face, on the side given, by mouse or
  // finger; the bench as the native one shows it after the same, and where the focus is then.
  const rows = [
    ['Off, above its face, over its own greyed lamp', [lamp(0)], off(0), 'top', 'mouse', [clic(lamp(0)), clic(off(0))], 'VSllum'],
    ['Off, tapped there', [lamp(2)], off(2), 'top', 'touch', [clic(lamp(2)), clic(off(2))], null],
    ['Retira Filtres, below its face', [filtre(1)], 'cmdForaFiltres', 'bottom', 'mouse', [clic(filtre(1)), clic('cmdForaFiltres')], filtre(0)],
    ['the up arrow, to its left', ['down'], 'VSllum amunt', 'left', 'mouse', ['barra:1', 'barra:0'], 'VSllum'],
    ['the down arrow, below the bar', [], 'VSllum avall', 'bottom', 'mouse', ['barra:1'], 'VSllum'],
    ['the track, beside the thumb\'s other half', [], 'VSllum guia', 'right', 'touch', ['barra:1'], 'VSllum'],
  ];
  for (const [name, actions, diana, costat, com, esperat, focus] of rows) {
    test(name, cal(com === 'touch' && 'tacte'), () => withPage(async (banc) => {
      for (const a of actions) {
        if (a === 'down') await banc.barra(1);
        else await banc.clica(a);
      }
      const selector = diana.startsWith('VSllum ') ? `[data-control="VSllum"] .${diana.split(' ')[1]}` : `[data-control="${diana}"]`;
      const punt = await banc.page.$eval(selector, (e, side) => {
        const f = e.getBoundingClientRect();
        const z = e.zona.getBoundingClientRect();
        const lower = f.top + 0.75 * f.height; // below the thumb, which stands at the top
        return {
          top: [f.left + f.width / 2, (z.top + f.top) / 2],
          bottom: [f.left + f.width / 2, (f.bottom + z.bottom) / 2],
          left: [(z.left + f.left) / 2, lower],
          right: [(f.right + z.right) / 2, lower],
        }[side];
      }, costat);
      await banc.page.evaluate(() => document.activeElement?.blur());
      if (com === 'touch') await banc.page.touchscreen.tap(...punt);
      else await banc.page.mouse.click(...punt);
      await banc.calma();
      assert.equal(await banc.estat(), passos(esperat).at(-1));
      if (focus) assert.equal(await banc.enfocat(), focus);
    }, { width: 1366, height: 657, touch: com === 'touch' }));
  }
});

describe('zones change no pixel of the screen', () => {
  // WebKitGTK draws a few pixels at the edges of faces a shade otherwise with the zones than without
  // them, where another element added to the layer changes nothing: a fault still open, which
  // Chromium and Firefox do not show. The test runs there all the same, its failure reported.
  const OBERT = MOTOR.nom === 'WebKitGTK' ? { todo: 'WebKitGTK draws an edge pixel of a face otherwise with zones' } : {};
  const rows = [
    ['the Off buttons and the bar at ratio 1', 1, [lamp(0), lamp(2)]],
    ['Retira Filtres and the bar at ratio 1.5', 1.5, [filtre(3)]],
    ['the Off buttons and the bar at ratio 3', 3, [lamp(1)]],
  ];
  for (const [name, ratio, clicks] of rows) {
    test(name, { ...OBERT, ...cal(ratio !== 1 && 'relacio') }, () => withPage(async (banc) => {
      for (const nom of clicks) await banc.clica(nom);
      await banc.page.evaluate(() => document.activeElement?.blur());
      const zones = await banc.page.$$eval('.zona:not([hidden])', (zs) => zs.length);
      assert.ok(zones >= 4, `${zones} zones shown`);
      const amb = await banc.page.screenshot({ encoding: 'base64' });
      await banc.page.addStyleTag({ content: '.zona { display: none; }' });
      const sense = await banc.page.screenshot({ encoding: 'base64' });
      const differ = await banc.page.evaluate(async (a, b) => {
        const pixels = async (png) => {
          const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${png}`)).blob());
          const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
          context.drawImage(bitmap, 0, 0);
          return context.getImageData(0, 0, bitmap.width, bitmap.height).data;
        };
        const [p, q] = [await pixels(a), await pixels(b)];
        return p.reduce((n, v, i) => n + (v !== q[i]), 0);
      }, amb, sense);
      assert.equal(differ, 0, `${differ} colour values differ`);
    }, { width: 1366, height: 768, ratio }));
  }
});
