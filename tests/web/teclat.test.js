// The page from the keyboard alone, as the desktop is used: the focus where it starts, the Tab
// order, Space and Enter on buttons, the arrow keys on the direction bar, the menus by Alt and
// their letters, message boxes closed by Enter or Escape, and a focus that is never lost or hidden.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { navegador, passos, clic } = require('./banc.js');

const { withPage } = navegador();

const lamp = (i) => `cmdLlum(${i})`;
const off = (i) => `cmdLlumOff(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;
const tinta = (i) => `cmdTinta(${i})`;
const MENU = { sobre: 'menu:1', comFunciona: 'menu:2', mesInfo: 'menu:3', filtres: 'menu:4', tintes: 'menu:5', complet: 'menu:6' };

// Clicks by mouse, then what the native bench shows after the same actions.
async function clica(banc, noms) {
  for (const nom of noms) {
    await banc.clica(nom);
    await banc.acordTots();
  }
}
const esperat = (actions) => passos(actions).at(-1);

// The screen's colours in a rectangle of CSS pixels, packed, row by row.
const captura = async (banc, clip) => (await banc.captura(clip)).colors;

// The screen's colour at a point: "white", "black" or packed.
async function pantalla(banc, x, y) {
  const [c] = await captura(banc, { x: Math.floor(x), y: Math.floor(y), width: 1, height: 1 });
  return c === 0xFFFFFF ? 'white' : c === 0 ? 'black' : c;
}

// The contrast between two packed colours, as WCAG reckons it.
function contrast(a, b) {
  const lluminancia = (c) => [c & 255, (c >> 8) & 255, (c >> 16) & 255]
    .map((v) => v / 255).map((v) => (v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
    .reduce((sum, v, k) => sum + v * [0.2126, 0.7152, 0.0722][k], 0);
  const [l1, l2] = [lluminancia(a), lluminancia(b)].sort((x, y) => y - x);
  return (l1 + 0.05) / (l2 + 0.05);
}

test('the focus starts on the red filter, as on the desktop', () => withPage(async (banc) => {
  // Given as the page is first drawn.
  await banc.page.waitForFunction(() => document.activeElement !== document.body, { timeout: 5000 });
  assert.equal(await banc.enfocat(), filtre(0));
}));

describe('Tab order', () => {
  const opening = [filtre(0), filtre(1), filtre(2), filtre(3), filtre(4), filtre(5), 'cmdFull', tinta(3), tinta(4),
    tinta(5), 'Picture1', 'cmdAnalisi', lamp(0), lamp(1), lamp(2), 'cmdBlanca', 'Picture2', 'cmdTorna', 'VSllum',
    'cmdPinta', 'cmdBuidaPot'];
  const without = (...noms) => opening.filter((n) => !noms.includes(n));
  const rows = [
    ['as the page opens', [], [], opening],
    ['red lamp on: R skipped, its Off after BORRA TOT', [lamp(0)], [],
      [...without(lamp(0)).slice(0, 17), off(0), 'VSllum', 'cmdPinta', 'cmdBuidaPot']],
    ['white light on: the lamps skipped', ['cmdBlanca'], [], without(lamp(0), lamp(1), lamp(2))],
    ['a filter in place: Retira Filtres last', [filtre(2)], [], [...opening, 'cmdForaFiltres']],
    ['lamp turned down: the picture aimed down, last, stands for the straight one', [], ['VSllum', 'ArrowDown'],
      [...without('Picture2'), 'PicAvall']],
    ['Només Tintes: no filter buttons', [], ['Alt+O', 'T'], opening.slice(6)],
    ['Només Filtres: no ink buttons', [], ['Alt+O', 'F'], without(tinta(3), tinta(4), tinta(5), 'cmdPinta', 'cmdBuidaPot')],
  ];
  for (const [name, clicks, keys, order] of rows) {
    test(name, () => withPage(async (banc) => {
      await clica(banc, clicks);
      // The keys start from the control named first, if any: the bar takes the arrow.
      if (keys.length && !keys[0].includes('+')) await banc.enfoca(keys.shift());
      await banc.tecles(...keys);
      await banc.enfoca(order[0]);
      const forward = [await banc.enfocat()];
      for (let i = 1; i < order.length; ++i) {
        await banc.tecles('Tab');
        forward.push(await banc.enfocat());
      }
      assert.deepEqual(forward, order);
      const backward = [await banc.enfocat()];
      for (let i = 1; i < order.length; ++i) {
        await banc.tecles('Shift+Tab');
        backward.push(await banc.enfocat());
      }
      assert.deepEqual(backward, [...order].reverse());
    }));
  }
});

describe('Space and Enter press the focused button once', () => {
  const rows = [
    ['Enter presses R', [], lamp(0), 'Enter'],
    ['Space presses B', [], lamp(2), 'Space'],
    ['Space on V after R', [lamp(0)], lamp(1), 'Space'],
    ['Enter presses Off after R', [lamp(0)], off(0), 'Enter'],
    ['Space presses Llum Blanca', [], 'cmdBlanca', 'Space'],
    ['Enter presses BORRA TOT', ['cmdBlanca'], 'cmdTorna', 'Enter'],
    ['Space presses a filter', [], filtre(4), 'Space'],
    ['Enter presses Retira Filtres', [filtre(0), filtre(1)], 'cmdForaFiltres', 'Enter'],
    ['Enter presses Anàlisi de la llum', [], 'cmdAnalisi', 'Enter'],
    ['Space presses tinta cian', [], tinta(3), 'Space'],
    ['Enter presses tinta groga after magenta', [tinta(4)], tinta(5), 'Enter'],
    ['Space presses buida el pot', [tinta(3)], 'cmdBuidaPot', 'Space'],
    ['Enter on buida el pot with nothing in it: its message', [], 'cmdBuidaPot', 'Enter'],
    ['Space on pinta with nothing in the pot: its message', [], 'cmdPinta', 'Space'],
    ['Space on a fourth filter: the message, then slot 2 takes it', [filtre(3), filtre(5), filtre(4)], filtre(0), 'Space'],
  ];
  for (const [name, clicks, target, key] of rows) {
    test(name, () => withPage(async (banc) => {
      await clica(banc, clicks);
      await banc.enfoca(target);
      await banc.tecles(key);
      if (await banc.missatge()) await banc.acordAmb('Enter');
      assert.equal(await banc.estat(), esperat([...clicks, target].map(clic)));
    }));
  }

  test('a held Enter presses the switch once', () => withPage(async (banc) => {
    await banc.enfoca('cmdBlanca');
    for (let i = 0; i < 4; ++i) await banc.page.keyboard.down('Enter'); // the second on are repeats
    await banc.page.keyboard.up('Enter');
    await banc.calma();
    assert.equal((await banc.control('cmdBlanca')).caption, 'Apaga Llum');
  }));

  test('a held Enter does not close the box its press opened', () => withPage(async (banc) => {
    await banc.enfoca('cmdBuidaPot');
    for (let i = 0; i < 4; ++i) await banc.page.keyboard.down('Enter');
    await banc.page.keyboard.up('Enter');
    await banc.calma();
    assert.notEqual(await banc.missatge(), null);
  }));
});

describe('the focus is passed on, not lost, by a control that greys or hides itself', () => {
  const rows = [
    ['R pressed greys itself: on to V', [], lamp(0), ['Space'], lamp(1)],
    ['Llum Blanca greys the lamps: it keeps the focus', [], 'cmdBlanca', ['Space'], 'cmdBlanca'],
    ['Off pressed hides itself: on to the direction bar', [lamp(0)], off(0), ['Space'], 'VSllum'],
    ['Retira Filtres hides itself: round to the first filter', [filtre(1)], 'cmdForaFiltres', ['Space'], filtre(0)],
    ['Només Tintes hides the focused filter: on to FULL NOU', [], filtre(0), ['Alt+O', 'T'], 'cmdFull'],
    ['Només Filtres hides the focused ink: on to the eye', [], tinta(4), ['Alt+O', 'F'], 'Picture1'],
    ['the eye keeps it through a lamp turned on by mouse', [], 'Picture1', [], 'Picture1'],
  ];
  for (const [name, clicks, focus, keys, next] of rows) {
    test(name, () => withPage(async (banc) => {
      await clica(banc, clicks);
      await banc.enfoca(focus);
      await banc.tecles(...keys);
      if (!keys.length) await banc.page.$eval(`[data-control="${lamp(2)}"]`, (b) => b.click());
      await banc.calma();
      assert.equal(await banc.enfocat(), next);
    }));
  }
});

describe('the direction bar from the keyboard', () => {
  const rows = [
    ['Down turns the lamp to the paper', 0, 'ArrowDown', 1],
    ['Up turns it back to the eye', 1, 'ArrowUp', 0],
    ['Down at the paper stays', 1, 'ArrowDown', 1],
    ['Up at the eye stays', 0, 'ArrowUp', 0],
    ['Right, as Down', 0, 'ArrowRight', 1],
    ['Left, as Up', 1, 'ArrowLeft', 0],
    ['Page Down', 0, 'PageDown', 1],
    ['Page Up', 1, 'PageUp', 0],
    ['End', 0, 'End', 1],
    ['Home', 1, 'Home', 0],
  ];
  for (const [name, start, key, value] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.enfoca('VSllum');
      if (start) await banc.tecles('ArrowDown');
      await banc.tecles(key);
      const state = await banc.page.$eval('[data-control="VSllum"]', (e) => e.getAttribute('aria-valuenow'));
      assert.equal(state, String(value));
      assert.equal((await banc.control('PicAvall')).shown, value === 1);
      assert.equal((await banc.control('Picture2')).shown, value === 0);
      assert.equal(await banc.enfocat(), 'VSllum');
    }));
  }
});

describe('the menus from the keyboard', () => {
  const rows = [
    ['Alt+O, T: Només Tintes', ['Alt+O', 'T'], [MENU.tintes]],
    ['Alt+O, F: Només Filtres', ['Alt+O', 'F'], [MENU.filtres]],
    ['Alt+O, Alt+F: the letter with Alt too', ['Alt+O', 'Alt+F'], [MENU.filtres]],
    ['Alt+O, T, then Alt+O, Down, Down, Enter: Programa Complet', ['Alt+O', 'T', 'Alt+O', 'ArrowDown', 'ArrowDown', 'Enter'],
      [MENU.tintes, MENU.complet]],
    ['Alt+I, Enter: Sobre aquest programa', ['Alt+I', 'Enter'], [MENU.sobre]],
    ['Alt+I, Down, Space: Com funciona', ['Alt+I', 'ArrowDown', 'Space'], [MENU.comFunciona]],
    ['Alt+I, Up, Enter: round to Més Informació', ['Alt+I', 'ArrowUp', 'Enter'], [MENU.mesInfo]],
    ['Alt+I, End, Home, Enter: the first again', ['Alt+I', 'End', 'Home', 'Enter'], [MENU.sobre]],
    ['Alt+I, Right, Enter: the next menu, at its first item', ['Alt+I', 'ArrowRight', 'Enter'], [MENU.filtres]],
    ['Alt+I, then Alt+O, T: one menu for another', ['Alt+I', 'Alt+O', 'T'], [MENU.tintes]],
    ['Alt+O, Escape: nothing chosen', ['Alt+O', 'Escape'], []],
    ['Alt+O, Tab: nothing chosen', ['Alt+O', 'Tab'], []],
    ['Alt+O, Shift+Tab: nothing chosen', ['Alt+O', 'Shift+Tab'], []],
    ['Alt+O, X: no item of that letter, nothing chosen', ['Alt+O', 'X', 'Escape'], []],
  ];
  for (const [name, keys, actions] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.enfoca(lamp(1));
      await banc.tecles(...keys);
      if (await banc.missatge()) await banc.acordAmb('Escape');
      const open = await banc.page.$$eval('#menus [role="menu"]:not([hidden])', (ms) => ms.length);
      assert.equal(open, 0, 'a menu is still open');
      assert.equal(await banc.estat(), esperat(actions));
      assert.equal(await banc.enfocat(), lamp(1), 'the focus back on the control that had it');
    }));
  }

  test('Alt+S ends the program at once', () => withPage(async (banc) => {
    // Reached from another page: a tab with no page to go back to is closed by Sortir.
    await banc.page.evaluate(() => history.pushState(null, ''));
    await banc.tecles('Alt+S');
    assert.equal(await banc.page.$$eval('[data-control]', (els) => els.length), 0);
    assert.ok(await banc.page.$('body[data-acabat]'));
  }));

  test('a menu opened from the keyboard shows where it is and what it holds', () => withPage(async (banc) => {
    await banc.tecles('Alt+O');
    const shown = await banc.page.evaluate(() => {
      const title = document.querySelector('#menus [aria-expanded="true"]');
      return { title: title && title.dataset.menu, focus: document.activeElement.dataset.menu,
        letters: [...title.nextElementSibling.querySelectorAll('u')].map((u) => u.textContent) };
    });
    assert.deepEqual(shown, { title: '&Opcions', focus: 'Només &Filtres', letters: ['F', 'T'] });
  }));
});

describe('message boxes from the keyboard', () => {
  const rows = [
    ['Enter closes it and buida el pot has the focus again', 'cmdBuidaPot', ['Enter'], 'Enter'],
    ['Escape closes it', 'cmdBuidaPot', ['Space'], 'Escape'],
    ['Space on its button closes it', 'cmdPinta', ['Enter'], 'Space'],
    ['one from the menu gives the focus back to the control, not to the menu', lamp(1), ['Alt+I', 'ArrowDown', 'Enter'], 'Escape'],
  ];
  for (const [name, focus, keys, closing] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.enfoca(focus);
      await banc.tecles(...keys);
      assert.notEqual(await banc.missatge(), null);
      assert.equal(await banc.enfocat(), "D'acord");
      await banc.acordAmb(closing);
      assert.equal(await banc.missatge(), null);
      assert.equal(await banc.enfocat(), focus);
    }));
  }

  // A press anywhere while the box is open leaves the focus on its button, which a key then closes.
  const presses = [
    ['a click on the bench behind it', (banc) => banc.page.mouse.click(20, 600)],
    ['a click on a button behind it', (banc) => banc.clica('cmdBlanca')],
    ['a click on its text', async (banc) => banc.page.mouse.click(...Object.values(await banc.mig('#missatge-text')))],
    ['a click on its title', async (banc) => banc.page.mouse.click(...Object.values(await banc.mig('#missatge-titol')))],
  ];
  for (const [name, press] of presses) {
    for (const closing of ['Enter', 'Space']) {
      test(`${name}, then ${closing}, closes it`, () => withPage(async (banc) => {
        await banc.enfoca('cmdBuidaPot');
        await banc.tecles('Enter');
        await press(banc);
        // The focus, taken by the press, is given back once the press has been handled.
        await banc.page.evaluate(() => new Promise((resolve) => { setTimeout(resolve); }));
        assert.equal(await banc.enfocat(), "D'acord");
        await banc.acordAmb(closing);
        assert.equal(await banc.missatge(), null);
        assert.equal((await banc.control('cmdBlanca')).caption, 'Llum Blanca', 'nothing behind the box was pressed');
        assert.equal(await banc.enfocat(), 'cmdBuidaPot');
      }));
    }
  }

  test('the bench behind an open box keeps its colours', () => withPage(async (banc) => {
    await banc.clica('cmdBlanca');
    await banc.clica('cmdBuidaPot');
    assert.notEqual(await banc.missatge(), null);
    // The white ray, on the screen, left of the box.
    const v = await banc.vista();
    const [x, y] = [v.left + (v.x + 2000 * v.perUnitX * v.scale) / v.ratio, v.top + (v.y + 3000 * v.perUnitY * v.scale) / v.ratio];
    assert.equal(await pantalla(banc, x, y), 'white');
  }));

  // Keys typed while a box is open: its button keeps the focus, Tab included, which would otherwise
  // take it out of the page, and no menu opens; Enter then closes the box.
  const kept = [
    ['Tab', ['Tab']],
    ['Shift+Tab', ['Shift+Tab']],
    ['Tab twice', ['Tab', 'Tab']],
    ['Alt+O: no menu opens', ['Alt+O']],
  ];
  for (const [name, keys] of kept) {
    test(`while a box is open, ${name}: its button keeps the focus`, () => withPage(async (banc) => {
      await banc.enfoca('cmdBuidaPot');
      await banc.tecles('Enter', ...keys);
      assert.notEqual(await banc.missatge(), null);
      assert.equal(await banc.page.$$eval('#menus [role="menu"]:not([hidden])', (ms) => ms.length), 0, 'a menu is open');
      assert.equal(await banc.enfocat(), "D'acord");
      await banc.acordAmb('Enter');
      assert.equal(await banc.missatge(), null);
      assert.equal(await banc.enfocat(), 'cmdBuidaPot');
    }));
  }
});

describe('the focused control is plainly seen', () => {
  // A ring inside the control's edge, white then black, on every kind of control and face.
  for (const nom of [filtre(0), 'cmdBlanca', 'cmdTorna', 'Picture1', 'VSllum', tinta(3)]) {
    test(nom, () => withPage(async (banc) => {
      await banc.enfoca(nom);
      await banc.tecles('Tab', 'Shift+Tab');
      assert.equal(await banc.enfocat(), nom);
      const focused = await banc.vores(nom);
      await banc.page.evaluate(() => document.activeElement.blur());
      const plain = await banc.vores(nom);
      assert.deepEqual(focused, { outer: 'white', inner: 'black' }, 'focused');
      assert.notDeepEqual(plain, focused, 'the same without the focus');
    }));
  }
});

describe('every kind of focusable element shows the focus plainly', () => {
  // How the focus reaches an element from the keyboard, and how it is shown without it: the focus
  // moved away, or for the box's button, which keeps it, the page's style for it taken away. The
  // pixels that change between the two by a contrast of 3 : 1 or more are at least as many as a
  // line of one pixel around the element.
  const controlAmbFocus = (nom) => async (banc) => {
    await banc.enfoca(nom);
    await banc.tecles('Tab', 'Shift+Tab');
  };
  const rows = [
    ['a filter button', '[data-control="cmdfiltre(0)"]', controlAmbFocus(filtre(0)), (banc) => banc.page.evaluate(() => document.activeElement.blur())],
    ['BORRA TOT, a system push button', '[data-control="cmdTorna"]', controlAmbFocus('cmdTorna'), (banc) => banc.page.evaluate(() => document.activeElement.blur())],
    ['the eye', '[data-control="Picture1"]', controlAmbFocus('Picture1'), (banc) => banc.page.evaluate(() => document.activeElement.blur())],
    ['the direction bar', '[data-control="VSllum"]', controlAmbFocus('VSllum'), (banc) => banc.page.evaluate(() => document.activeElement.blur())],
    ['a menu title reached by the arrow keys', '[data-menu="&Sortir"]', (banc) => banc.tecles('Alt+I', 'ArrowLeft'), (banc) => banc.tecles('Escape')],
    ['a menu item', '[data-menu="Només &Tintes"]', (banc) => banc.tecles('Alt+O', 'ArrowDown'), (banc) => banc.tecles('ArrowUp')],
    ["the message box's button", '#missatge-acord', async (banc) => {
      await banc.enfoca('cmdBuidaPot');
      await banc.tecles('Enter');
    }, (banc) => banc.page.addStyleTag({ content: '#missatge-acord { outline: none !important; box-shadow: none !important; }' })],
  ];
  for (const [name, selector, enfoca, desenfoca] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.enfoca(lamp(1));
      await enfoca(banc);
      assert.ok(await banc.page.$eval(selector, (e) => e === document.activeElement), 'focused');
      const box = await (await banc.page.$(selector)).boundingBox();
      const clip = { x: Math.floor(box.x) - 3, y: Math.floor(box.y) - 3, width: Math.ceil(box.width) + 6, height: Math.ceil(box.height) + 6 };
      const amb = await captura(banc, clip);
      await desenfoca(banc);
      const sense = await captura(banc, clip);
      const canvis = amb.filter((c, k) => contrast(c, sense[k]) >= 3).length;
      const vora = 2 * (box.width + box.height);
      assert.ok(canvis >= vora, `${canvis} pixels change by 3 : 1, fewer than the ${vora} of a line around it`);
    }));
  }
});
