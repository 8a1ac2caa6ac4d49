// The page on an 11.6-inch touchscreen laptop, 1366 × 768: taps sent as touch events through the
// browser's DevTools protocol act as clicks on every control, the direction bar is set by tapping
// its arrows or its track and by dragging its thumb, and neither zoom nor selection gets in the way.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, passos, clic } = require('./banc.js');

const LAPTOP = { width: 1366, height: 768, touch: true };
const pagines = navegador();
const withPage = (fn) => pagines.withPage(fn, LAPTOP);

const lamp = (i) => `cmdLlum(${i})`;
const off = (i) => `cmdLlumOff(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;
const tinta = (i) => `cmdTinta(${i})`;
const MENU = { 'Més Informació': 3, 'Només &Tintes': 5 };

const valor = (banc) => banc.page.$eval('[data-control="VSllum"]', (e) => Number(e.getAttribute('aria-valuenow')));

describe('a tap is a click', () => {
  // Taps on controls, menu items ("menu" and its text) and the message box's button.
  const rows = [
    ['lamps and an Off button', [lamp(0), lamp(1), off(0)]],
    ['white light and the analysis', ['cmdBlanca', 'cmdAnalisi']],
    ['filters, then Retira Filtres', [filtre(3), filtre(5), 'cmdForaFiltres']],
    ['a fourth filter, its box closed by a tap', [filtre(0), filtre(1), filtre(2), filtre(3)]],
    ['inks, painting, a new sheet, emptying the pot', [tinta(3), tinta(4), 'cmdPinta', 'cmdFull', 'cmdBuidaPot']],
    ['a mode from the menu, a lamp and BORRA TOT', ['menu Només &Tintes', lamp(0), 'cmdTorna']],
    ['an information text from the menu', ['menu Més Informació']],
  ];
  for (const [name, taps] of rows) {
    test(name, () => withPage(async (banc) => {
      for (const tap of taps) {
        if (tap.startsWith('menu ')) {
          const item = tap.slice(5);
          const title = await banc.page.$eval(`#menus [data-menu="${item}"]`,
            (b) => b.closest('.menu').firstElementChild.dataset.menu);
          await banc.toca(`#menus [data-menu="${title}"]`);
          await banc.toca(`#menus [data-menu="${item}"]`);
        } else {
          await banc.toca(tap);
        }
        const box = await banc.missatge();
        if (box) {
          banc.missatges.push(box.text);
          await banc.toca('#missatge-acord');
        }
      }
      assert.equal(await banc.missatge(), null);
      const actions = taps.map((t) => (t.startsWith('menu ') ? `menu:${MENU[t.slice(5)]}` : clic(t)));
      assert.equal(await banc.estat(), passos(actions).at(-1));
    }));
  }

  test('every control shown is where a finger finds it, the bench filling the height', () => withPage(async (banc) => {
    const v = await banc.vista();
    assert.equal(v.scale, (768 - 22) / 618);
    const names = await banc.page.$$eval('#client [data-control]:not([hidden])', (els) => els.map((e) => e.dataset.control));
    for (const nom of names.filter((n) => n !== 'frmFiltres')) {
      const { x, y } = await banc.lloc(nom);
      assert.ok(x > 0 && x < 1366 && y > 22 && y < 768, `${nom} on the screen`);
      const hit = await banc.page.evaluate((px, py) => document.elementFromPoint(px, py)?.closest('[data-control]')?.dataset.control, x, y);
      assert.equal(hit, nom, `at the middle of ${nom}`);
    }
  }));
});

describe('the direction bar by touch', () => {
  // Where a finger goes on the bar, as fractions of the thumb's or the track's height, and what
  // values the bar takes on the way.
  const arrow = (which) => async (banc) => banc.toca(`[data-control="VSllum"] .${which}`);
  const track = (fraction) => async (banc) => {
    const box = await (await banc.page.$('[data-control="VSllum"] .guia')).boundingBox();
    await banc.page.touchscreen.tap(box.x + box.width / 2, box.y + box.height * fraction);
    await banc.calma();
  };
  // A drag from the thumb's middle through points given in track heights from its top.
  const drag = (...stops) => async (banc) => {
    const thumb = await banc.mig('[data-control="VSllum"] .polze');
    const box = await (await banc.page.$('[data-control="VSllum"] .guia')).boundingBox();
    await banc.page.touchscreen.touchStart(thumb.x, thumb.y);
    for (const stop of stops) {
      const from = (await banc.mig('[data-control="VSllum"] .polze')).y;
      const to = box.y + box.height * stop;
      for (let k = 1; k <= 4; ++k) await banc.page.touchscreen.touchMove(thumb.x, from + ((to - from) * k) / 4);
      await banc.calma();
    }
    await banc.page.touchscreen.touchEnd();
    await banc.calma();
  };
  const rows = [
    ['a tap on the down arrow, then the up arrow', [arrow('avall'), arrow('amunt')], [1, 0]],
    ['a tap on the up arrow at the top: nothing', [arrow('amunt')], [0]],
    ['a tap below the thumb, then above it', [track(0.85), track(0.15)], [1, 0]],
    ['the thumb dragged down', [drag(0.9)], [1]],
    ['the thumb dragged down and up again before the finger lifts', [drag(0.9, 0.1)], [0]],
    ['the thumb dragged down past the end of the bar', [drag(3)], [1]],
    ['down by the arrow, then the thumb dragged up', [arrow('avall'), drag(0.05)], [1, 0]],
  ];
  for (const [name, gestures, values] of rows) {
    test(name, () => withPage(async (banc) => {
      const seen = [];
      for (const gesture of gestures) {
        await gesture(banc);
        seen.push(await valor(banc));
      }
      assert.deepEqual(seen, values);
      assert.equal((await banc.control('PicAvall')).shown, values.at(-1) === 1);
      // The finger moved the bar, not the page.
      assert.deepEqual(await banc.page.evaluate(() => [scrollX, scrollY, visualViewport.scale]), [0, 0, 1]);
    }));
  }

  test('a drag that moves the bar changes the bench once a crossing', () => withPage(async (banc) => {
    await banc.page.evaluate(() => {
      window.valors = [];
      new MutationObserver(() => window.valors.push(document.querySelector('[data-control="VSllum"]').getAttribute('aria-valuenow')))
        .observe(document.querySelector('[data-control="VSllum"]'), { attributeFilter: ['aria-valuenow'] });
    });
    await drag(0.9, 0.1, 0.9)(banc);
    assert.deepEqual(await banc.page.evaluate(() => window.valors), ['1', '0', '1']);
  }));
});

describe('nothing gets in the way of taps', () => {
  // The browser's own gestures: none on the bar, where a finger drags; pinching to zoom, but no
  // double-tap zoom, elsewhere.
  const rows = [
    ['the page', 'html', 'manipulation'],
    ['a button', '[data-control="cmdBlanca"]', 'manipulation'],
    ['the bench', '#llenc', 'manipulation'],
    ['the direction bar', '[data-control="VSllum"]', 'none'],
  ];
  for (const [name, selector, action] of rows) {
    test(`touch actions on ${name}`, () => withPage(async (banc) => {
      assert.equal(await banc.page.$eval(selector, (e) => {
        // The action that applies is the most restrictive of the element and its ancestors.
        const actions = [];
        for (let n = e; n; n = n.parentElement) actions.push(getComputedStyle(n).touchAction);
        return actions.find((a) => a !== 'auto') || 'auto';
      }), action);
    }));
  }

  const texts = [['the label', 'Label2'], ['a caption', 'cmdAnalisi'], ['the frame\'s caption', 'frmFiltres']];
  for (const [name, nom] of texts) {
    test(`a double click on ${name} selects no text`, () => withPage(async (banc) => {
      const { x, y } = nom === 'frmFiltres' ? await banc.mig('[data-control="frmFiltres"] legend') : await banc.lloc(nom);
      await banc.page.mouse.click(x, y, { clickCount: 2 });
      await banc.calma();
      assert.equal(await banc.page.evaluate(() => getSelection().toString()), '');
    }));
  }

  test('a double tap on the switch presses it twice, and zooms nothing', () => withPage(async (banc) => {
    await banc.toca('cmdBlanca');
    await banc.toca('cmdBlanca');
    assert.equal((await banc.control('cmdBlanca')).caption, 'Llum Blanca');
    assert.equal(await banc.page.evaluate(() => visualViewport.scale), 1);
    assert.equal(await banc.estat(), passos([clic('cmdBlanca'), clic('cmdBlanca')]).at(-1));
  }));
});
