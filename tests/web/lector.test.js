// What a screen reader finds on the page, read from Chromium's accessibility tree: every control
// with its role and the Catalan name the window's table gives it, the eye and the bench described
// as on the desktop, a polite live region that says after each action what the desktop says (the
// light at the eye each time it changes among it), once, the menus, and message boxes announced
// with their text. Where the page cannot run, it says in one sentence what it needs, and nothing else.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { pathToFileURL } = require('node:url');
const { navegador, passos, clic, NOMS } = require('./banc.js');

const { withPage, browser } = navegador();

const lamp = (i) => `cmdLlum(${i})`;
const filtre = (i) => `cmdfiltre(${i})`;
const tinta = (i) => `cmdTinta(${i})`;
const control = (nom) => `[data-control="${nom}"]`;

async function play(banc, actions) {
  for (const a of actions) {
    if (a === 'down' || a === 'up') await banc.barra(a === 'down' ? 1 : 0);
    else if (a.startsWith('menu ')) await banc.menu(a.slice(5));
    else await banc.clica(a);
    await banc.acordTots();
  }
}
// The menu items by their numbers in the native bench.
const MENU = { 'Sobre aquest programa': 1, 'Com funciona': 2, 'Més Informació': 3, 'Només &Filtres': 4,
  'Només &Tintes': 5, 'Programa Complet': 6 };
const nativa = (a) => ({ down: 'barra:1', up: 'barra:0' }[a] || (a.startsWith('menu ') ? `menu:${MENU[a.slice(5)]}` : clic(a)));

// The native bench's line of a kind ("formes", "ull", "avis", "nom|cmdBlanca") after the actions.
const linia = (actions, kind) => passos(actions.map(nativa), { lector: true }).at(-1).split('\n')
  .find((l) => l.startsWith(`${kind}|`)).slice(kind.length + 1);

describe('every control as the window\'s table names it', () => {
  const ROLES = { Button: 'button', GraphicalButton: 'button', PictureBox: 'image', ScrollBar: 'scrollbar', Frame: 'group' };
  const rows = [
    ['as the page opens', []],
    ['with a lamp on, a filter placed and the lamp turned down', [lamp(0), filtre(0), 'down']],
    ['with the inks only, white light on and the light split: the switches named for what they do now',
      ['menu Només &Tintes', 'cmdBlanca', 'cmdAnalisi']],
  ];
  for (const [name, actions] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(actions);
      const state = passos(actions.map(nativa), { lector: true }).at(-1).split('\n');
      for (const line of state) {
        const [nom, visible, enabled] = line.split('|');
        const row = NOMS[nom];
        if (!row || !ROLES[row.kind]) continue;
        const node = await banc.ax(control(nom));
        if (visible === '0') {
          assert.equal(node, null, `${nom} is hidden, and out of the tree`);
          continue;
        }
        assert.equal(node.role, ROLES[row.kind], `${nom}'s role`);
        // A button's name follows its caption, as on the desktop; the others' is the table's.
        const named = ROLES[row.kind] === 'button' ? linia(actions, `nom|${nom}`) : row.accessibleName || row.caption;
        assert.equal(node.name, named.trim(), `${nom}'s name`);
        if (nom !== 'Picture1') assert.equal(node.description, row.tooltip.trim(), `${nom}'s description`);
        if (enabled !== '') assert.equal(node.props.disabled === true, enabled === '0', `${nom} disabled`);
      }
    }));
  }

  test('the direction bar: a scroll bar with its value, and its value in words', () => withPage(async (banc) => {
    for (const [value, words] of [[0, "La llum apunta a l'ull."], [1, 'La llum apunta al paper.']]) {
      if (value) await banc.juga(['down']);
      const node = await banc.ax(control('VSllum'));
      assert.deepEqual([node.role, node.value, node.props.valuemin, node.props.valuemax, node.props.orientation],
        ['scrollbar', value, 0, 1, 'vertical']);
      assert.equal(await banc.page.$eval(control('VSllum'), (e) => e.getAttribute('aria-valuetext')), words);
    }
  }));
});

describe('the eye and the bench, described as on the desktop', () => {
  const rows = [
    ['as the page opens', []],
    ['two filters in white light', ['cmdBlanca', filtre(3), filtre(5)]],
    ['red and green split into components', [lamp(0), lamp(1), 'cmdAnalisi']],
    ['two portions of ink and a painted paper', [tinta(3), tinta(4), 'cmdPinta']],
    ['white light down at a blue paper', [tinta(3), tinta(4), 'cmdPinta', 'cmdBlanca', 'down']],
    ['only the filters', [tinta(5), 'menu Només &Filtres']],
  ];
  for (const [name, actions] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.juga(actions);
      const eye = await banc.ax(control('Picture1'));
      assert.deepEqual([eye.role, eye.name, eye.description], ['image', 'ull', linia(actions, 'ull')]);
      const bench = await banc.ax('#llenc');
      assert.equal(bench.name, 'banc òptic');
      const shapes = [];
      for (let k = 1; await banc.page.$(`#formes li:nth-child(${k})`); ++k) {
        const item = await banc.ax(`#formes li:nth-child(${k})`);
        assert.equal(item.role, 'listitem');
        shapes.push(await banc.page.$eval(`#formes li:nth-child(${k})`, (li) => li.textContent));
      }
      assert.equal(shapes.map((s) => `${s};`).join(''), linia(actions, 'formes'));
    }));
  }
});

describe('what changed, said once after each action', () => {
  // Actions, each with what the live region says after it; undefined where it says what the
  // desktop says (the native bench's notice), null where it says nothing new.
  const rows = [
    ['a lamp, then another: the light', [[lamp(0), "Arriba a l'ull llum vermella."], [lamp(1), "Arriba a l'ull llum groga."]]],
    ['a filter placed in the dark: the slot, then the light', [[filtre(0), 'filtre 1: vermell.'],
      ['cmdBlanca', "botó Apaga Llum, apaga la llum blanca. Arriba a l'ull llum vermella."]]],
    ['white light through yellow, then blue', [['cmdBlanca'], [filtre(5)], [filtre(2)]]],
    ['the components, then the ray whole again', [['cmdBlanca'], ['cmdAnalisi'], ['cmdAnalisi']]],
    ['ink poured and the lamp turned down at a white paper: no new light', [['cmdBlanca'], [tinta(3)], ['down']]],
    ['a fourth filter, said once its box is closed', [['cmdBlanca'], [filtre(0)], [filtre(4)], [filtre(5)], [filtre(1)]]],
    ['the filters taken out', [[lamp(2)], [filtre(3)], ['cmdForaFiltres']]],
    ['a mode turns the lamps off', [[lamp(2)], ['menu Només &Tintes']]],
    ['a box from the menu changes nothing', [[lamp(2)], ['menu Com funciona', null]]],
  ];
  for (const [name, steps] of rows) {
    test(name, () => withPage(async (banc) => {
      await banc.page.evaluate(() => {
        window.dites = [];
        new MutationObserver(() => window.dites.push(document.getElementById('avis').textContent))
          .observe(document.getElementById('avis'), { childList: true, characterData: true, subtree: true });
      });
      // The actions by clicks that leave the focus alone (a menu gives it back), so that any move
      // of it would be the region's doing.
      await banc.enfoca('Picture1');
      const done = [];
      let said = '';
      for (const [action, words] of steps) {
        if (action.startsWith('menu ')) await banc.menu(action.slice(5));
        else if (action === 'down') await banc.page.$eval('.avall', (e) => e.dispatchEvent(new PointerEvent('pointerdown')));
        else await banc.page.$eval(control(action), (b) => b.click());
        await banc.calma();
        await banc.acordTots();
        done.push(action);
        const expected = words === undefined ? linia(done, 'avis') || null : words;
        const told = await banc.page.evaluate(() => window.dites.splice(0));
        assert.deepEqual(told, expected === null ? [] : [expected], `after ${action}`);
        if (expected !== null) said = expected;
        // The light at the eye is in what is said each time it changes.
        const light = linia(done, 'ull');
        if (light !== linia(done.slice(0, -1), 'ull')) assert.ok(said.includes(light), `${light} said after ${action}`);
        const region = await banc.ax('#avis');
        assert.deepEqual([region.role, region.props.live], ['status', 'polite']);
        assert.equal(await banc.page.$eval('#avis', (e) => e.textContent), said);
        assert.equal(await banc.enfocat(), 'Picture1', 'the focus stays where it was');
      }
    }));
  }

  test('the focused switch\'s new name is left to the screen reader, the light is said', () => withPage(async (banc) => {
    await banc.enfoca('cmdBlanca');
    await banc.tecles('Space');
    assert.equal(await banc.page.$eval('#avis', (e) => e.textContent), "Arriba a l'ull llum blanca.");
    assert.equal((await banc.ax(control('cmdBlanca'))).name, 'Apaga Llum, apaga la llum blanca');
  }));
});

describe('message boxes, announced with their text', () => {
  const rows = [
    ['the fourth filter', ['cmdBlanca', filtre(3), filtre(5), filtre(4), filtre(0)], 'només podem posar fins a 3 filtres alhora'],
    ['emptying the empty pot', ['cmdBuidaPot'], 'No hi ha tinta al pot de les mescles. No hi ha res que buidar'],
    ['Com funciona, from the menu', ['menu Com funciona'], null],
  ];
  for (const [name, actions, text] of rows) {
    test(name, () => withPage(async (banc) => {
      const last = actions.pop();
      await banc.juga(actions);
      if (last.startsWith('menu ')) await banc.menu(last.slice(5));
      else await banc.clica(last);
      const box = await banc.ax('#missatge');
      // As a description is computed from text, runs of spaces count as one.
      const expected = (text ?? linia([last], 'missatge')).replace(/ +/g, ' ').trim();
      assert.deepEqual([box.role, box.name, box.description, box.props.modal], ['dialog', 'Corvani', expected, true]);
      const button = await banc.ax('#missatge-acord');
      assert.deepEqual([button.role, button.name, button.props.focused], ['button', "D'acord", true]);
      // Behind a modal box the bench is out of reach, for screen readers too.
      assert.equal(await banc.ax(control('cmdBlanca')), null);
      await banc.acord();
      assert.notEqual(await banc.ax(control('cmdBlanca')), null);
    }));
  }
});

describe('the menus', () => {
  test('a menu bar of three items, two of them menus, each with its letter', () => withPage(async (banc) => {
    assert.equal((await banc.ax('#menus')).role, 'menubar');
    const titles = [];
    for (const text of ['&Sortir', '&Informació', '&Opcions']) {
      const node = await banc.ax(`[data-menu="${text}"]`);
      titles.push([node.role, node.name, node.props.hasPopup ?? '', node.props.keyshortcuts]);
    }
    assert.deepEqual(titles, [['menuitem', 'Sortir', '', 'Alt+S'], ['menuitem', 'Informació', 'menu', 'Alt+I'],
      ['menuitem', 'Opcions', 'menu', 'Alt+O']]);
  }));

  test('an open menu: named by its title, its items in order, each with its letter as the titles have theirs', () => withPage(async (banc) => {
    assert.equal(await banc.ax('#menus [role="menu"]'), null, 'closed menus are out of the tree');
    await banc.tecles('Alt+O');
    const menu = await banc.ax('#menus [role="menu"]:not([hidden])');
    assert.deepEqual([menu.role, menu.name], ['menu', 'Opcions']);
    assert.equal((await banc.ax('[data-menu="&Opcions"]')).props.expanded, true);
    const items = [];
    for (const text of ['Només &Filtres', 'Només &Tintes', 'Programa Complet']) {
      const node = await banc.ax(`[data-menu="${text}"]`);
      items.push([node.role, node.name, node.props.focused === true, node.props.keyshortcuts ?? '']);
    }
    assert.deepEqual(items, [['menuitem', 'Només Filtres', true, 'Alt+F'], ['menuitem', 'Només Tintes', false, 'Alt+T'],
      ['menuitem', 'Programa Complet', false, '']]);
  }));
});

describe('where the page cannot run, it says what it needs, and nothing else', () => {
  const REQUISIT = 'Corvani necessita un navegador amb JavaScript i WebAssembly activats.';
  // How the browser is kept from running the bench, before the page loads.
  const rows = [
    ['scripts turned off', (page) => page.setJavaScriptEnabled(false)],
    ['no WebAssembly at all', (page) => page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; })],
    ['WebAssembly that refuses to compile the module', (page) => page.evaluateOnNewDocument(() => {
      WebAssembly.compile = () => Promise.reject(new WebAssembly.CompileError('refused'));
    })],
  ];
  for (const [name, impedeix] of rows) {
    test(name, async () => {
      const page = await browser().newPage();
      const errors = [];
      page.on('pageerror', (e) => errors.push(e.message));
      try {
        await page.setViewport({ width: 1366, height: 768 });
        await impedeix(page);
        await page.goto(pathToFileURL(process.env.CORVANI_PAGINA).href);
        // What is shown, as the accessibility tree has it, which needs no script in the page: the
        // sentence, and no empty menu bar.
        const nodes = [];
        const recorre = (node) => {
          nodes.push(node);
          for (const child of node.children ?? []) recorre(child);
        };
        recorre(await page.accessibility.snapshot());
        assert.deepEqual(nodes.filter((node) => node.name).map((node) => node.name), [REQUISIT]);
        assert.deepEqual(nodes.filter((node) => /^(navigation|menubar)$/.test(node.role)), []);
        assert.deepEqual(errors, []);
      } finally {
        await page.close();
      }
    });
  }
});
