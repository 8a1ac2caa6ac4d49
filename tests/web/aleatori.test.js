// Random sequences of actions played on the page and on the bench compiled natively: after every
// step the page shows the same control states, shapes, light at the eye and messages.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, Banc, passos, RECTS } = require('./banc.js');

// A small seeded generator (mulberry32), so that a failing sequence can be played again.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const SEQUENCES = (process.env.CORVANI_SEED ? [Number(process.env.CORVANI_SEED)] : [11, 22, 33, 44]);
const STEPS = 30;
const ORD = Object.keys(RECTS);

const { browser } = navegador();

for (const seed of SEQUENCES) {
  test(`random sequence, seed ${seed}`, async () => {
    const banc = await Banc.obre(browser());
    const rand = generator(seed);
    const actions = [];
    const shown = [await banc.estat()];
    for (let step = 0; step < STEPS; ++step) {
      // What a user could do now: a shown, enabled button, a menu item other than "&Sortir", or
      // the direction bar's other value.
      const options = await banc.page.evaluate(() => {
        const buttons = [...document.querySelectorAll('#client button[data-control]')]
          .filter((b) => !b.hidden && !b.disabled).map((b) => ({ kind: 'click', nom: b.dataset.control }));
        const items = [...document.querySelectorAll('#menus [role="menu"] [data-item]')]
          .map((b) => ({ kind: 'menu', text: b.dataset.menu, id: b.dataset.item }));
        const bar = document.querySelector('[data-control="VSllum"]');
        return [...buttons, ...items, { kind: 'barra', value: 1 - Number(bar.getAttribute('aria-valuenow')) }];
      });
      const option = options[Math.floor(rand() * options.length)];
      if (option.kind === 'click') {
        await banc.clica(option.nom);
        actions.push(`click:${ORD.indexOf(option.nom)}`);
      } else if (option.kind === 'menu') {
        await banc.menu(option.text);
        actions.push(`menu:${option.id}`);
      } else {
        await banc.barra(option.value);
        actions.push(`barra:${option.value}`);
      }
      await banc.acordTots();
      shown.push(await banc.estat());
    }
    if (process.env.CORVANI_VERBOSE) console.log(actions.join(' '));
    const expected = passos(actions);
    assert.equal(expected.length, shown.length);
    for (let i = 0; i < shown.length; ++i) {
      assert.equal(shown[i], expected[i], `after ${actions.slice(0, i).join(' ') || 'start-up'}`);
    }
    assert.deepEqual(banc.errors, []);
    await banc.tanca();
  });
}
