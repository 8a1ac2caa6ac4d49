// The page as a user meets it: clicks at the table's places, the canvas's pixels at points in
// drawing units, and the controls' states read from the page, action by action; in each engine.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, cal, passos, TINTES, COLORS, pack } = require('./banc.js');

// A fresh page for each case; none of it is kept between loads.
const { withPage } = navegador();

const { black, red, green, blue, yellow, cyan, magenta, white, potGrey } = COLORS;

// Points in drawing units where the tests look at the ray and the shapes.
const P = {
  beforeSlots: [2000, 3000],
  betweenSlots01: [3170, 3000],
  betweenSlots12: [3370, 3000],
  afterSlots: [8000, 3000],
  slot: (s) => [3067 + 200 * s, 1500],
  component: (c) => [8000, 2900 + 100 * c],
  toPaper: [5050, 4835],
  fromPaper: [9800, 4250],
  componentToPaper: [[5174, 4785], [5050, 4835], [4926, 4885]],
  componentFromPaper: [[9924, 4300], [9800, 4250], [9676, 4200]],
  paper: [5300, 5800],
  liquid: (portion) => [7500, 2100 - 300 * portion + 150],
  potAboveLiquid: [7500, 1175],
};

const lamp = (i) => `cmdLlum(${i})`;
const off = (i) => `cmdLlumOff(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;
const tinta = (i) => `cmdTinta(${i})`;

async function expectPixels(banc, points) {
  for (const [name, point, color] of points) {
    assert.equal(await banc.pixel(...point), color, `colour at ${name} (${point})`);
  }
}

describe('start-up', () => {
  test('the window as it opens', () => withPage(async (banc) => {
    assert.equal(await banc.page.title(), 'Corvani (1)');
    const hidden = new Set(['PicAvall', 'cmdForaFiltres', off(0), off(1), off(2), tinta(0), tinta(1), tinta(2),
      tinta(6), tinta(7)]);
    const shown = await banc.page.$$eval('#client [data-control]', (els) => els.map((e) => [e.dataset.control, !e.hidden]));
    assert.equal(shown.length, 33, 'every control but the six shapes');
    for (const [nom, visible] of shown) assert.equal(visible, !hidden.has(nom), nom);
    assert.equal(await banc.estat(), passos([])[0]);
  }));

  const captions = [
    ['red lamp', lamp(0), 'R', 'Encén llum vermella '],
    ['white light', 'cmdBlanca', 'Llum Blanca', 'Interruptor Llum Blanca'],
    ['analysis', 'cmdAnalisi', 'Anàlisi de la llum', ''],
    ['reset, with its trailing space', 'cmdTorna', 'BORRA TOT ', ''],
    ['new sheet', 'cmdFull', 'FULL NOU', ''],
    ['red filter, no tooltip', filtre(0), 'vermell', ''],
    ['eye', 'Picture1', '', 'ull'],
    ['label, with its trailing space', 'Label2', 'TINTA ', ''],
    ['frame', 'frmFiltres', 'FILTRES', ''],
  ];
  for (const [name, nom, caption, tooltip] of captions) {
    test(`caption and tooltip: ${name}`, () => withPage(async (banc) => {
      const c = await banc.control(nom);
      assert.equal(c.caption, caption);
      assert.equal(c.title, tooltip);
    }));
  }

  // Each caption in the ink the window's table gives it, on the table's face; greyed while the
  // button cannot be used, as on the desktop. How well each ink reads on its face is the table's
  // own test.
  const rgb = (c) => `rgb(${c & 255}, ${(c >> 8) & 255}, ${(c >> 16) & 255})`;
  const grey = rgb(pack(128, 128, 128));
  const shows = { [off(0)]: [lamp(0)], [off(1)]: [lamp(1)], [off(2)]: [lamp(2)], cmdForaFiltres: [filtre(0)] };
  const inks = [
    ...Object.entries(TINTES).filter(([, t]) => t.fore !== null)
      .map(([nom, t]) => [nom, nom, shows[nom] ?? [], rgb(t.fore), rgb(t.back)]),
    ['the blue lamp lit: greyed', lamp(2), [lamp(2)], grey, rgb(blue)],
    ['white light: the blue filter keeps its ink', filtre(2), ['cmdBlanca'], rgb(white), rgb(blue)],
    ['white light: the red lamp greyed', lamp(0), ['cmdBlanca'], grey, rgb(red)],
  ];
  for (const [name, nom, actions, ink, face] of inks) {
    test(`caption ink: ${name}`, () => withPage(async (banc) => {
      await banc.juga(actions);
      const drawn = await banc.page.$eval(`[data-control="${nom}"]`, (e) => {
        const text = e.querySelector('legend') ?? e;
        return [!e.hidden, getComputedStyle(text).color, getComputedStyle(e).backgroundColor];
      });
      assert.deepEqual(drawn, [true, ink, face]);
    }));
  }

  test('the menu bar, its access letters and items', () => withPage(async (banc) => {
    const bar = await banc.page.evaluate(() => [...document.querySelectorAll('#menus > button, #menus > .menu')].map((e) => {
      const title = e.matches('button') ? e : e.querySelector('button');
      const items = [...e.querySelectorAll('[role="menu"] button')].map((b) => [b.textContent, b.querySelector('u')?.textContent ?? '']);
      return [title.textContent, title.querySelector('u').textContent, items];
    }));
    assert.deepEqual(bar, [
      ['Sortir', 'S', []],
      ['Informació', 'I', [['Sobre aquest programa', ''], ['Com funciona', ''], ['Més Informació', '']]],
      ['Opcions', 'O', [['Només Filtres', 'F'], ['Només Tintes', 'T'], ['Programa Complet', '']]],
    ]);
  }));

  test('each control stands at its place in the table', () => withPage(async (banc) => {
    const names = await banc.page.$$eval('#client [data-control]:not([hidden])', (els) => els.map((e) => e.dataset.control));
    for (const nom of names.filter((n) => n !== 'frmFiltres')) {
      const { x, y } = await banc.lloc(nom);
      const hit = await banc.page.evaluate((px, py) => document.elementFromPoint(px, py)?.closest('[data-control]')?.dataset.control, x, y);
      assert.equal(hit, nom, `at the middle of ${nom}'s rectangle`);
    }
  }));

  test('the surface: nothing drawn, the paper white and the pot empty', () => withPage(async (banc) => {
    await expectPixels(banc, [['the ray', P.afterSlots, black], ['a slot', P.slot(0), black], ['the paper', P.paper, white],
      ['the bottom of the pot', P.liquid(1), potGrey], ['the top of the pot', P.potAboveLiquid, potGrey]]);
  }));

  // Every canvas costs the first frame: a band still black has none.
  test('a strip only for a band with something painted on it', () => withPage(async (banc) => {
    const { strips, bands, blank } = await banc.page.evaluate(() => {
      const tires = [...document.querySelectorAll('#tires canvas')];
      const painted = (tira) => {
        const copia = new OffscreenCanvas(tira.width, tira.height).getContext('2d');
        copia.drawImage(tira, 0, 0);
        return new Uint32Array(copia.getImageData(0, 0, tira.width, tira.height).data.buffer).some((p) => p !== 0xFF000000 && p !== 0);
      };
      return {
        strips: tires.length,
        bands: Math.ceil(document.getElementById('llenc').height / tires[0].height),
        blank: tires.filter((tira) => !painted(tira)).map((tira) => tira.dataset.top),
      };
    });
    assert.deepEqual(blank, [], 'strips with nothing painted on them');
    assert.ok(strips > 0 && strips < bands, `${strips} strips of ${bands} bands`);
  }));
});

// Tiles of whole CSS and device pixels that meet exactly, bands 40 CSS pixels high, each tile
// within 512 KiB: a band too wide for them is cut across, the fewer tiles a change down the bench
// crosses the better, whatever their width.
describe('the tiles', () => {
  const rows = [['at ratio 1, whole bands', 1, 1], ['at ratio 1.25, whole bands', 1.25, 1], ['at ratio 1.75, whole bands', 1.75, 1],
    ['at ratio 2', 2, 2], ['at ratio 3', 3, 3]];
  for (const [name, ratio, columns] of rows) {
    test(name, cal(ratio !== 1 && 'relacio'), () => withPage(async (banc) => {
      await banc.juga([lamp(0), lamp(1), lamp(2), 'cmdAnalisi', 'down', filtre(1)]);
      const tiles = await banc.page.$$eval('#tires canvas', (all) => all.map((c) =>
        [Number(c.dataset.left), Number(c.dataset.top), c.width, c.height]));
      const { width, height } = await banc.page.$eval('#llenc', (c) => ({ width: c.width, height: c.height }));
      const whole = (v) => Math.abs(v - Math.round(v)) < 1e-6;
      const band = Math.round(40 * ratio);
      const lefts = [...new Set(tiles.map(([left]) => left))].sort((a, b) => a - b);
      assert.equal(lefts.length, columns, `columns at ${lefts}`);
      const across = lefts.length > 1 ? lefts[1] : width; // every tile's width but the last column's
      for (const [left, top, w, h] of tiles) {
        const at = `tile at ${left}, ${top}, ${w} × ${h}`;
        assert.ok(4 * w * h <= 512 * 1024, `${at}: more than 512 KiB`);
        assert.ok([left, top, ...(columns > 1 ? [across] : [])].every((v) => whole(v / ratio)), `${at}: not on CSS pixels' edges`);
        assert.equal(top % band, 0, `${at}: not in a band ${band} pixels high`);
        assert.equal(h, Math.min(band, height - top), `${at}: not its band's height`);
        assert.equal(left % across, 0, `${at}: not in a column ${across} pixels wide`);
        assert.equal(w, Math.min(across, width - left), `${at}: not its column's width`);
      }
    }, { ratio }));
  }
});

describe('lamps', () => {
  const rows = [
    ['red', [lamp(0)], red, 'Llum Blanca', [false, true, true], [true, false, false]],
    ['red and green', [lamp(0), lamp(1)], yellow, 'Llum Blanca', [false, false, true], [true, true, false]],
    ['all three', [lamp(0), lamp(1), lamp(2)], white, 'Llum Blanca', [false, false, false], [true, true, true]],
    ['all three, red off', [lamp(0), lamp(1), lamp(2), off(0)], cyan, 'Llum Blanca', [true, false, false], [false, true, true]],
    ['white light', ['cmdBlanca'], white, 'Apaga Llum', [false, false, false], [false, false, false]],
    ['white light on and off', ['cmdBlanca', 'cmdBlanca'], black, 'Llum Blanca', [true, true, true], [false, false, false]],
    ['red, then white light', [lamp(0), 'cmdBlanca'], white, 'Apaga Llum', [false, false, false], [false, false, false]],
  ];
  for (const [name, clicks, ray, blanca, enabled, offShown] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(clicks);
      await expectPixels(banc, [['before the slots', P.beforeSlots, ray], ['after the slots', P.afterSlots, ray]]);
      assert.equal((await banc.control('cmdBlanca')).caption, blanca);
      for (let i = 0; i < 3; ++i) {
        assert.equal((await banc.control(lamp(i))).enabled, enabled[i], lamp(i));
        assert.equal((await banc.control(off(i))).shown, offShown[i], off(i));
      }
    }));
  }
});

describe('filters', () => {
  const rows = [
    ['white through cyan', ['cmdBlanca', filtre(3)], [white, cyan, cyan, cyan], [cyan]],
    ['white through cyan then yellow', ['cmdBlanca', filtre(3), filtre(5)], [white, cyan, green, green], [cyan, yellow]],
    ['yellow light through magenta', [lamp(0), lamp(1), filtre(4)], [yellow, red, red, red], [magenta]],
    ['red light through green: nothing after it', [lamp(0), filtre(1)], [red, black, black, black], [green]],
    ['a filter placed in the dark, then light', [filtre(2), 'cmdBlanca'], [white, blue, blue, blue], [blue]],
    ['filters taken out', ['cmdBlanca', filtre(0), filtre(1), 'cmdForaFiltres'], [white, white, white, white], []],
  ];
  for (const [name, clicks, rays, slots] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(clicks);
      await expectPixels(banc, [
        ['before the slots', P.beforeSlots, rays[0]], ['between slots 0 and 1', P.betweenSlots01, rays[1]],
        ['between slots 1 and 2', P.betweenSlots12, rays[2]], ['after the slots', P.afterSlots, rays[3]],
        ...[0, 1, 2].map((s) => [`slot ${s}`, P.slot(s), s < slots.length ? slots[s] : black]),
      ]);
      assert.equal((await banc.control('cmdForaFiltres')).shown, slots.length > 0);
    }));
  }

  test('a fourth filter: the message first, then slot 2 takes it', () => withPage(async (banc) => {
    await banc.juga(['cmdBlanca', filtre(3), filtre(5), filtre(4)]);
    await banc.clica(filtre(0));
    assert.deepEqual(await banc.missatge(),
      { titol: 'Corvani', text: 'només podem posar fins a 3 filtres alhora', boto: "D'acord" });
    await expectPixels(banc, [['slot 2 while the box is open', P.slot(2), magenta], ['the ray', P.afterSlots, black]]);
    // Nothing else answers while the box is open.
    await banc.page.mouse.click((await banc.lloc('cmdBlanca')).x, (await banc.lloc('cmdBlanca')).y);
    assert.equal((await banc.control('cmdBlanca')).caption, 'Apaga Llum');
    await banc.acord();
    assert.equal(await banc.missatge(), null);
    await expectPixels(banc, [['slot 2', P.slot(2), red], ['slot 1', P.slot(1), yellow], ['after the slots', P.afterSlots, black],
      ['between slots 1 and 2', P.betweenSlots12, green]]);
  }));
});

describe('direction and analysis', () => {
  const rows = [
    ['white down at the white paper', ['cmdBlanca', 'down'], [['to the paper', P.toPaper, white], ['from the paper', P.fromPaper, white],
      ['where the straight ray was', P.afterSlots, black]], true],
    ['down and back up', ['cmdBlanca', 'down', 'up'], [['to the paper', P.toPaper, black], ['straight', P.afterSlots, white]], false],
    ['components, straight', ['cmdBlanca', 'cmdAnalisi'], [0, 1, 2].map((c) => [`component ${c}`, P.component(c), [red, green, blue][c]]), false],
    ['components down at the paper', ['cmdBlanca', 'down', 'cmdAnalisi'], [0, 1, 2].flatMap((c) => [
      [`component ${c} to the paper`, P.componentToPaper[c], [red, green, blue][c]],
      [`component ${c} from the paper`, P.componentFromPaper[c], [red, green, blue][c]]]), true],
    ['components down through yellow: no blue', ['cmdBlanca', filtre(5), 'down', 'cmdAnalisi'], [
      ['blue to the paper', P.componentToPaper[2], black], ['red from the paper', P.componentFromPaper[0], red]], true],
    ['analysis on and off', ['cmdBlanca', 'cmdAnalisi', 'cmdAnalisi'], [['the whole ray', P.afterSlots, white],
      ['no red component', P.component(0), black]], false],
  ];
  for (const [name, actions, points, down] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(actions);
      await expectPixels(banc, points);
      assert.equal((await banc.control('PicAvall')).shown, down);
      assert.equal((await banc.control('Picture2')).shown, !down);
    }));
  }
});

describe('the pot and the paper', () => {
  const rows = [
    ['emptying the empty pot', ['cmdBuidaPot'], ['No hi ha tinta al pot de les mescles. No hi ha res que buidar'],
      [['liquid', P.liquid(1), potGrey]]],
    ['painting from the empty pot: message, then a white paper',
      [tinta(3), 'cmdPinta', 'cmdBuidaPot', 'cmdPinta'],
      ["no hi ha tinta al pot de la mescla.Posa-n'hi primer tinta cian, magenta , blava o una mescla"],
      [['paper', P.paper, white]]],
    ['a fourth portion: the pot is full', [tinta(3), tinta(4), tinta(5), tinta(3)], ['el pot de mescla ja està ple'],
      [1, 2, 3].map((k) => [`portion ${k}`, P.liquid(k), black])],
    ['cyan and magenta make blue', [tinta(3), tinta(4)], [],
      [['portion 1', P.liquid(1), blue], ['portion 2', P.liquid(2), blue], ['above them', P.liquid(3), potGrey]]],
    ['painting the paper blue, and the light it sends', [tinta(3), tinta(4), 'cmdPinta', 'cmdBlanca', 'down'], [],
      [['paper', P.paper, blue], ['from the paper', P.fromPaper, blue]]],
    ['a new sheet', [tinta(5), 'cmdPinta', 'cmdFull'], [], [['paper', P.paper, white]]],
  ];
  for (const [name, clicks, messages, points] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(clicks);
      assert.deepEqual(banc.missatges, messages);
      await expectPixels(banc, points);
    }));
  }
});

describe('modes and reset', () => {
  const pigments = [tinta(3), tinta(4), tinta(5), 'Label2', 'cmdBuidaPot', 'cmdPinta'];
  const filterHalf = ['frmFiltres', ...[0, 1, 2, 3, 4, 5].map(filtre)];
  const rows = [
    ['only filters', 'menu Només &Filtres', true, false],
    ['only inks', 'menu Només &Tintes', false, true],
    ['the whole program', 'menu Programa Complet', true, true],
    ['reset, keeping the mode', 'cmdTorna', true, true],
  ];
  for (const [name, action, filters, inks] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga([tinta(3), lamp(0), 'cmdBlanca', 'cmdBlanca', lamp(1), filtre(2), filtre(1), action]);
      for (const nom of filterHalf) assert.equal((await banc.control(nom)).shown, filters, nom);
      for (const nom of pigments) assert.equal((await banc.control(nom)).shown, inks, nom);
      for (let i = 0; i < 3; ++i) assert.equal((await banc.control(lamp(i))).enabled, true, lamp(i));
      assert.equal((await banc.control(off(1))).shown, false);
      assert.equal((await banc.control('cmdForaFiltres')).shown, false);
      await expectPixels(banc, [['the ray', P.beforeSlots, black], ['slot 0', P.slot(0), black],
        ['the pot', P.liquid(1), inks ? cyan : black]]);
    }));
  }
});

describe('information texts', () => {
  const rows = [
    ['about', 'Sobre aquest programa', 1],
    ['how it works', 'Com funciona', 2],
    ['more information', 'Més Informació', 3],
  ];
  for (const [name, item, id] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(['cmdBlanca', filtre(3)]);
      await banc.menu(item);
      const box = await banc.missatge();
      const expected = passos([`menu:${id}`])[1].split('\n').find((l) => l.startsWith('missatge|')).slice(9);
      assert.deepEqual(box, { titol: 'Corvani', text: expected, boto: "D'acord" });
      await banc.acord();
      await expectPixels(banc, [['the ray, as before', P.afterSlots, cyan], ['slot 0', P.slot(0), cyan]]);
    }));
  }

  test('the texts, to the letter', () => {
    const text = (id) => passos([`menu:${id}`])[1].split('\n').find((l) => l.startsWith('missatge|')).slice(9);
    assert.equal([...text(2)].length, 333);
    assert.equal([...text(3)].length, 389);
    assert.match(text(2), /primaris {2}o les seves mescles i veure com és la llum que surt {2}$/);
    assert.match(text(1), /^Corvani \. Versió 1 \. {2}\. .* \. {2}maig 2004 {2}\. {3} $/);
  });
});

describe('exit', () => {
  test('Sortir ends the program; a reload starts it again', () => withPage(async (banc) => {
    // Reached from another page: a tab with no page to go back to is closed by Sortir.
    await banc.page.evaluate(() => history.pushState(null, ''));
    await banc.juga(['cmdBlanca', filtre(3), tinta(3)]);
    await banc.menu('&Sortir');
    const ended = await banc.page.evaluate(() => ({
      text: document.body.innerText.trim(),
      controls: document.querySelectorAll('[data-control], canvas, #menus').length,
    }));
    assert.equal(ended.controls, 0);
    assert.match(ended.text, /^El programa s'ha acabat\. .*carregar la pàgina/);
    await banc.page.mouse.click(100, 100);
    await banc.page.reload();
    await banc.page.waitForSelector('body[data-llest]');
    assert.equal(await banc.estat(), passos([])[0]);
    await expectPixels(banc, [['the ray', P.afterSlots, black], ['the pot', P.liquid(1), potGrey]]);
  }));
});

describe('device pixel ratios', () => {
  for (const ratio of [1, 1.5, 2, 3]) {
    test(`sharp at ${ratio} device pixels to a CSS pixel`, cal(ratio !== 1 && 'relacio'), () => withPage(async (banc) => {
      await banc.juga([lamp(0), lamp(1), filtre(4), tinta(3), 'down', 'cmdAnalisi']);
      await expectPixels(banc, [['red to the paper', P.componentToPaper[0], red], ['green to the paper', P.componentToPaper[1], black]]);
      // Every pixel black or one of the colours drawn: no line is antialiased.
      const drawn = new Set([black, red, green, blue, magenta, white, potGrey, cyan, pack(128, 255, 128)]);
      for (const c of await banc.colors()) assert.ok(drawn.has(c), `colour ${c.toString(16)} on the canvas`);
      // Every control's edges on whole device pixels, give or take the sixty-fourth of a CSS pixel
      // to which the browser rounds a position and a size, and which it snaps away as it paints.
      const edges = await banc.page.$$eval('#client [data-control]:not([hidden])', (els) => els.map((e) => {
        const r = e.getBoundingClientRect();
        return [e.dataset.control, ...[r.left, r.top, r.right, r.bottom].map((v) => v * window.devicePixelRatio)];
      }));
      for (const [nom, ...values] of edges) {
        for (const v of values) assert.ok(Math.abs(v - Math.round(v)) <= ratio / 32, `${nom} has an edge at device pixel ${v}`);
      }
    }, { width: 1000, height: 700, ratio }));
  }
});

// Nothing of a control shows outside its rectangle in device pixels, the bench's strips hidden:
// the ring of pixels around each, where no other control lies, is the client area's black. At
// these ratios a CSS pixel is not a whole number of the browser's layout units, and a control
// placed in CSS pixels was painted a fraction of a device pixel off, its edge blended into the ring.
describe('controls on the screen', () => {
  for (const ratio of [1.25, 1.5, 1.75, 3]) {
    test(`end at their edges at ratio ${ratio}`, cal('relacio'), () => withPage(async (banc) => {
      await banc.juga([lamp(0), tinta(3), 'cmdAnalisi']);
      await banc.page.addStyleTag({ content: '#tires { visibility: hidden; }' });
      const png = await banc.page.screenshot({ encoding: 'base64' });
      const stray = await banc.page.evaluate(async (data) => {
        const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
        const shown = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
        shown.drawImage(bitmap, 0, 0);
        const pixels = shown.getImageData(0, 0, bitmap.width, bitmap.height).data;
        const ratio = window.devicePixelRatio;
        const client = Math.round(document.getElementById('client').getBoundingClientRect().top * ratio);
        const rects = [...document.querySelectorAll('#client [data-control]:not([hidden])')].map((e) => {
          const r = e.getBoundingClientRect();
          return { nom: e.dataset.control, l: Math.round(r.left * ratio), t: Math.round(r.top * ratio), r: Math.round(r.right * ratio), b: Math.round(r.bottom * ratio) };
        });
        const covered = (x, y) => rects.some((c) => x >= c.l && x < c.r && y >= c.t && y < c.b);
        const found = [];
        for (const c of rects) {
          const ring = [];
          for (let x = c.l - 1; x <= c.r; ++x) ring.push([x, c.t - 1], [x, c.b]);
          for (let y = c.t; y < c.b; ++y) ring.push([c.l - 1, y], [c.r, y]);
          for (const [x, y] of ring) {
            if (x < 0 || x >= bitmap.width || y < client || y >= bitmap.height || covered(x, y)) continue;
            const at = 4 * (y * bitmap.width + x);
            if (pixels[at] || pixels[at + 1] || pixels[at + 2]) found.push(`${c.nom} at ${x},${y}`);
          }
        }
        return found;
      }, png);
      assert.deepEqual(stray.slice(0, 10), [], `${stray.length} pixels outside the controls are not black`);
    }, { width: 1366, height: 768, ratio }));
  }
});

// What the screen shows of the bench, its controls hidden, is the module's pixels as the strips
// hold them, pixel for pixel and opaque, and black where a band has no strip: no strip out of
// place, no seam where two meet, no hole in a screenshot, at any ratio. The ray points down at
// the paper and crosses many strips at a slant. Where the window is not a whole number of device
// pixels across, the canvas's last column is cut by its edge, and a screenshot may leave it out.
describe('the bench on the screen', () => {
  const rows = [['at ratio 1', 1], ['at ratio 1.25', 1.25], ['at ratio 1.5', 1.5], ['at ratio 1.75', 1.75], ['at ratio 2', 2], ['at ratio 3', 3]];
  for (const [name, ratio] of rows) {
    test(`is the strips' pixels ${name}`, cal(ratio !== 1 && 'relacio'), () => withPage(async (banc) => {
      await banc.juga([lamp(0), lamp(1), lamp(2), 'cmdAnalisi', 'down', 'cmdfiltre(1)']);
      await banc.page.addStyleTag({ content: '#client .control { visibility: hidden; }' });
      const box = await (await banc.page.$('#llenc')).boundingBox();
      const png = await banc.page.screenshot({ encoding: 'base64', clip: box });
      const { differ, strips, shot, canvas } = await banc.page.evaluate(async (data) => {
        const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
        const shown = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
        shown.drawImage(bitmap, 0, 0);
        const seen = shown.getImageData(0, 0, bitmap.width, bitmap.height).data;
        const { width, height } = document.getElementById('llenc');
        const held = new Uint8ClampedArray(width * height * 4);
        for (let i = 3; i < held.length; i += 4) held[i] = 255;
        const tires = [...document.querySelectorAll('#tires canvas')];
        for (const tira of tires) {
          const copia = new OffscreenCanvas(tira.width, tira.height).getContext('2d');
          copia.drawImage(tira, 0, 0);
          const data = copia.getImageData(0, 0, tira.width, tira.height).data;
          const [top, left] = [Number(tira.dataset.top), Number(tira.dataset.left)];
          for (let y = 0; y < tira.height; ++y) {
            held.set(data.subarray(4 * y * tira.width, 4 * (y + 1) * tira.width), 4 * ((top + y) * width + left));
          }
        }
        let count = 0;
        for (let y = 0; y < Math.min(height, bitmap.height); ++y) {
          for (let x = 0; x < Math.min(width, bitmap.width); ++x) {
            const i = 4 * (y * width + x), j = 4 * (y * bitmap.width + x);
            const differs = held[i] !== seen[j] || held[i + 1] !== seen[j + 1] || held[i + 2] !== seen[j + 2];
            if (differs || seen[j + 3] !== 255) ++count;
          }
        }
        return { differ: count, strips: tires.length, shot: [bitmap.width, bitmap.height], canvas: [width, height] };
      }, png);
      assert.ok(strips > 1, `${strips} strip`);
      assert.ok(shot.every((n, k) => n <= canvas[k] && n >= canvas[k] - 1), `a screenshot of ${shot} pixels, a canvas of ${canvas}`);
      assert.equal(differ, 0, `${differ} pixels of the screen differ from the strips' or are not opaque`);
    }, { ratio }));
  }
});

// A click hands the screen new pixels for the strips it changed and for no others: a strip is
// shown as a bitmap, and one handed a bitmap again is copied to the screen again. The strips
// hold the same pixels as the screen (above), so a strip left out would show there.
describe('a click on the screen', () => {
  const rows = [
    ['the first lamp on', [], lamp(0)],
    ['a second lamp, the ray another colour', [lamp(0)], lamp(1)],
    ['a filter into the ray', [lamp(0), lamp(1)], filtre(2)],
    ['the analysis on', [lamp(0), lamp(1), lamp(2), filtre(4)], 'cmdAnalisi'],
    ['the ray down at the paper', [lamp(2), 'cmdAnalisi'], 'down'],
    ['the paper painted, the ray down', [tinta(3), 'cmdBlanca', 'down'], 'cmdPinta'],
  ];
  for (const ratio of [1, 3]) {
    for (const [name, before, click] of rows) {
      test(`${name} at ratio ${ratio}`, cal(ratio !== 1 && 'relacio'), () => withPage(async (banc) => {
        await banc.juga(before);
        await banc.page.evaluate(() => {
          const llegeix = (tira) => {
            const copia = new OffscreenCanvas(tira.width, tira.height).getContext('2d');
            copia.drawImage(tira, 0, 0);
            return copia.getImageData(0, 0, tira.width, tira.height).data;
          };
          window.lloc = (tira) => `${tira.dataset.top} ${tira.dataset.left}`;
          window.abans = new Map([...document.querySelectorAll('#tires canvas')].map((tira) => [window.lloc(tira), llegeix(tira)]));
          window.mostrades = [];
          const mostra = ImageBitmapRenderingContext.prototype.transferFromImageBitmap;
          ImageBitmapRenderingContext.prototype.transferFromImageBitmap = function (bitmap) {
            window.mostrades.push(window.lloc(this.canvas));
            return mostra.call(this, bitmap);
          };
        });
        await banc.juga([click]);
        const { shown, changed, strips } = await banc.page.evaluate(() => {
          const llegeix = (tira) => {
            const copia = new OffscreenCanvas(tira.width, tira.height).getContext('2d');
            copia.drawImage(tira, 0, 0);
            return copia.getImageData(0, 0, tira.width, tira.height).data;
          };
          const tires = [...document.querySelectorAll('#tires canvas')];
          const differs = (tira) => {
            const was = window.abans.get(window.lloc(tira));
            const now = llegeix(tira);
            return was ? now.some((v, i) => v !== was[i]) : now.some((v, i) => i % 4 !== 3 && v !== 0);
          };
          return {
            shown: window.mostrades.sort(),
            changed: tires.filter(differs).map(window.lloc).sort(),
            strips: tires.length,
          };
        });
        assert.ok(changed.length > 0, 'the click changed no strip');
        assert.deepEqual(shown, changed, `strips shown, of ${strips}`);
      }, { ratio }));
    }
  }
});
