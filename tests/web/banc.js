// The page as the tests use it, in the engine CORVANI_MOTOR names: Debian's Chromium (the default)
// or Firefox ESR, headless, through puppeteer-core, or WebKitGTK through WebKitWebDriver on a private
// X server (webkit.js). Clicks at the places the window's table gives the controls, keys, the
// canvas's pixels at points in drawing units, the controls' states as the page shows them, and the
// bench compiled natively to compare them with.
'use strict';
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { before, after } = require('node:test');
const assert = require('node:assert/strict');
const puppeteer = require('puppeteer-core');
const { NavegadorWebKit } = require('./webkit.js');

const PAGINA = process.env.CORVANI_PAGINA;
const PASSOS = process.env.CORVANI_PASSOS;
const CHROMIUM = process.env.CORVANI_CHROMIUM || '/usr/bin/chromium';
const FIREFOX = process.env.CORVANI_FIREFOX || '/usr/bin/firefox-esr';

// The bench compiled natively: what it shows before and after each action, one block a step;
// with lector, also the buttons' names for screen readers and the notice after each action.
function passos(actions, { lector = false } = {}) {
  const out = execFileSync(PASSOS, lector ? ['--lector', ...actions] : actions, { encoding: 'utf8' });
  return out.split(/^--- \d+\n/m).slice(1).map((block) => block.replace(/\n$/, ''));
}

// Every control's laid-out rectangle in pixels at scale 1, by name, from the window's table.
const RECTS = Object.fromEntries(
  execFileSync(PASSOS, ['--rects'], { encoding: 'utf8' }).trim().split('\n').map((line) => {
    const [nom, ...rect] = line.split('|');
    return [nom, rect.map(Number)];
  }));

// What the window's table gives screen readers of each control, by name (passos.cpp --noms).
const NOMS = Object.fromEntries(
  execFileSync(PASSOS, ['--noms'], { encoding: 'utf8' }).replace(/\n$/, '').split('\n').map((line) => {
    const [nom, kind, caption, tooltip, accessibleName] = line.split('|');
    return [nom, { kind, caption, tooltip, accessibleName }];
  }));

// Each captioned control's face and ink as packed colours, by name, null where the style gives
// them (passos.cpp --tintes).
const TINTES = Object.fromEntries(
  execFileSync(PASSOS, ['--tintes'], { encoding: 'utf8' }).trim().split('\n').map((line) => {
    const [nom, back, fore] = line.split('|');
    return [nom, { back: back === '' ? null : Number(back), fore: fore === '' ? null : Number(fore) }];
  }));

// An action as the native bench takes it (passos.cpp): a click on a control by its name, or a
// menu item by its number.
const clic = (nom) => `click:${Object.keys(RECTS).indexOf(nom)}`;

// Packed colours, red + 256·green + 65536·blue, as the bench gives them.
const pack = (r, g, b) => r + 256 * g + 65536 * b;
const COLORS = {
  black: 0, red: pack(255, 0, 0), green: pack(0, 255, 0), blue: pack(0, 0, 255), yellow: pack(255, 255, 0),
  cyan: pack(0, 255, 255), magenta: pack(255, 0, 255), white: pack(255, 255, 255), potGrey: pack(48, 48, 48),
};

// What the tests reach of a page beyond its DOM, the pointer and the keys, and which engines give it:
// Chromium through its DevTools protocol, Firefox a viewport's ratio and the wheel through WebDriver
// BiDi; classic WebDriver gives WebKitGTK none of them.
const CAPACITATS = {
  arbre: 'the accessibility tree',
  tacte: 'touch events',
  relacio: 'a device pixel ratio other than the screen\'s',
  roda: 'the mouse wheel',
};

// Each engine with its profile in a folder of its own, so that test files run side by side.
// Chromium's profile may start with preferences (its Default/Preferences, as JSON). Firefox takes
// seconds to open a tab, and a fraction of one to load the page again in the same: it keeps one
// tab for the browser (unaPestanya), as WebKitGTK, which is driven in one window, does.
const MOTORS = {
  chromium: {
    nom: 'Chromium',
    pot: ['arbre', 'tacte', 'relacio', 'roda'],
    // The browser's scroll bars shown only where asked for, as a page in a window has them.
    launch: (profile, { barres = false } = {}) => puppeteer.launch({
      executablePath: CHROMIUM,
      headless: true,
      userDataDir: profile,
      ignoreDefaultArgs: barres ? ['--hide-scrollbars'] : [],
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
    }),
  },
  firefox: {
    nom: 'Firefox',
    pot: ['relacio', 'roda'],
    unaPestanya: true,
    launch: (profile) => puppeteer.launch({ browser: 'firefox', executablePath: FIREFOX, headless: true, userDataDir: profile }),
  },
  webkit: { nom: 'WebKitGTK', pot: [], unaPestanya: true, launch: () => NavegadorWebKit.launch() },
};
const MOTOR = MOTORS[process.env.CORVANI_MOTOR || 'chromium'];
if (!MOTOR) throw new Error(`no engine ${process.env.CORVANI_MOTOR}: chromium, firefox or webkit`);

// A test's options for node:test where it needs what not every engine gives: skipped, saying why,
// in an engine without it. Falsy names stand for nothing needed.
function cal(...capacitats) {
  const falta = capacitats.filter((c) => c && !MOTOR.pot.includes(c));
  return falta.length ? { skip: `${MOTOR.nom} does not give the tests ${falta.map((c) => CAPACITATS[c]).join(', ')}` } : {};
}

async function launch({ preferencies = null, barres = false } = {}) {
  if (preferencies && MOTOR !== MOTORS.chromium) throw new Error(`${MOTOR.nom} is given no preferences`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `corvani-${process.env.CORVANI_MOTOR || 'chromium'}-`));
  if (preferencies) {
    fs.mkdirSync(path.join(profile, 'Default'));
    fs.writeFileSync(path.join(profile, 'Default', 'Preferences'), JSON.stringify(preferencies));
  }
  try {
    const browser = await MOTOR.launch(profile, { barres });
    browser.profile = profile;
    return browser;
  } catch (e) {
    fs.rmSync(profile, { recursive: true, force: true });
    throw e;
  }
}

async function close(browser) {
  await browser.close();
  fs.rmSync(browser.profile, { recursive: true, force: true, maxRetries: 5 });
}

// For a test file: one browser for all its tests (browser()), launched with the options given, and
// withPage(fn, viewport), which gives fn a fresh page and requires that no error was raised in it.
function navegador(opcions) {
  let browser;
  before(async () => { browser = await launch(opcions); });
  after(() => close(browser));
  return {
    browser: () => browser,
    async withPage(fn, viewport) {
      const banc = await Banc.obre(browser, viewport);
      try {
        await fn(banc);
        assert.deepEqual(banc.errors, [], 'errors in the page');
      } finally {
        await banc.tanca();
      }
    },
  };
}

class Banc {
  constructor(page) {
    this.page = page;
    this.missatges = []; // the texts of the boxes closed since the last look
  }

  // Opens the page afresh with a viewport of CSS pixels at a device pixel ratio, with a touchscreen
  // if asked; 867 × 640 at ratio 1 gives the bench at scale 1 under the menu bar. In a new tab,
  // or where the engine keeps one tab for a browser, loaded again in it.
  static async obre(browser, { width = 867, height = 640, ratio = 1, touch = false } = {}) {
    let page = browser.pestanya;
    if (!page || page.isClosed()) page = await browser.newPage();
    if (MOTOR.unaPestanya) browser.pestanya = page;
    const errors = [];
    const escolta = (e) => errors.push(e.message);
    page.on('pageerror', escolta);
    await page.setViewport({ width, height, deviceScaleFactor: ratio, hasTouch: touch });
    await page.goto(pathToFileURL(PAGINA).href);
    await page.waitForSelector('body[data-llest]', { timeout: 15000 });
    const banc = new Banc(page);
    banc.errors = errors;
    banc.escolta = escolta;
    return banc;
  }

  async tanca() {
    this.page.off('pageerror', this.escolta);
    if (!MOTOR.unaPestanya) await this.page.close();
  }

  // Until the action has run to its end, or a message box has opened, and full screen has
  // settled where the keys left it.
  async calma() {
    await this.page.waitForFunction(
      () => (!document.body.hasAttribute('data-ocupat') || document.getElementById('missatge').open) &&
        !document.body.hasAttribute('data-pantalla'));
  }

  // The point in CSS pixels of the page where the table puts the middle of a control.
  async lloc(nom) {
    const [left, top, width, height] = RECTS[nom];
    const v = await this.vista();
    return {
      x: v.left + (v.x + (left + width / 2) * v.scale) / v.ratio,
      y: v.top + (v.y + (top + height / 2) * v.scale) / v.ratio,
    };
  }

  async vista() {
    return this.page.evaluate(() => {
      const canvas = document.getElementById('llenc');
      const [x, y, scale, perUnitX, perUnitY] = canvas.dataset.vista.split(' ').map(Number);
      const box = canvas.getBoundingClientRect();
      return { x, y, scale, perUnitX, perUnitY, left: box.left, top: box.top, ratio: window.devicePixelRatio };
    });
  }

  // A click at the control's place; a box it opens stays open (see missatge and acord).
  async clica(nom) {
    const { x, y } = await this.lloc(nom);
    await this.page.mouse.click(x, y);
    await this.calma();
  }

  // Keys as the user types them, one after another: "Tab", "Shift+Tab", "Alt+O", "Space", "F11"...
  // Each goes to whatever has the focus, and the action it starts runs to its end or to a box.
  async tecles(...keys) {
    for (const combination of keys) {
      const parts = combination.split('+');
      const key = parts.pop().replace(/^Space$/, ' ');
      for (const modifier of parts) await this.page.keyboard.down(modifier);
      await this.page.keyboard.press(key.length === 1 ? key.toLowerCase() : key);
      for (const modifier of parts.reverse()) await this.page.keyboard.up(modifier);
      await this.calma();
    }
  }

  // What has the keyboard's focus: a control by its name, a menu item by its text, the message
  // box's button as "D'acord", or null.
  async enfocat() {
    return this.page.evaluate(() => {
      const a = document.activeElement;
      if (!a || a === document.body) return null;
      return a.dataset.control || a.dataset.menu || a.textContent;
    });
  }

  // Gives the focus to a control, as a click would.
  async enfoca(nom) {
    await this.page.focus(`[data-control="${nom}"]`);
  }

  // The screen's colours, packed, row by row, with its width in device pixels: all of it, or a
  // rectangle of CSS pixels.
  async captura(clip) {
    const png = await this.page.screenshot({ encoding: 'base64', ...(clip && { clip }) });
    return this.page.evaluate(async (data) => {
      const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
      const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
      context.drawImage(bitmap, 0, 0);
      const d = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
      const colors = [];
      for (let i = 0; i < d.length; i += 4) colors.push(d[i] + 256 * d[i + 1] + 65536 * d[i + 2]);
      return { width: bitmap.width, colors };
    }, png);
  }

  // The colours a step inside a control's left edge, half way down, as the screen shows them:
  // one CSS pixel in (outer) and two (inner), each "white", "black" or packed.
  async vores(nom) {
    const box = await (await this.page.$(`[data-control="${nom}"]`)).boundingBox();
    const clip = { x: Math.round(box.x), y: Math.round(box.y + box.height / 2), width: 3, height: 1 };
    const data = await this.page.screenshot({ encoding: 'base64', clip });
    const [outer, inner] = await this.page.evaluate(async (png) => {
      const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${png}`)).blob());
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      const at = (x) => [...context.getImageData(x, 0, 1, 1).data];
      return [at(1), at(2)];
    }, data);
    const name = ([r, g, b]) => (r + g + b === 765 ? 'white' : r + g + b === 0 ? 'black' : r + 256 * g + 65536 * b);
    return { outer: name(outer), inner: name(inner) };
  }

  // The node of Chromium's accessibility tree for the first element a selector finds: its role,
  // name, description, value and properties (live, modal, disabled, focused...), or null where
  // the element is not in the tree.
  async ax(selector) {
    if (cal('arbre').skip) throw new Error(cal('arbre').skip);
    if (!this.cdp) this.cdp = await this.page.createCDPSession();
    const { result } = await this.cdp.send('Runtime.evaluate',
      { expression: `document.querySelector(${JSON.stringify(selector)})` });
    if (!result.objectId) return null;
    const { nodes } = await this.cdp.send('Accessibility.getPartialAXTree',
      { objectId: result.objectId, fetchRelatives: false });
    const node = nodes.find((n) => !n.ignored);
    if (!node) return null;
    const value = (v) => (v ? v.value : undefined);
    return {
      role: value(node.role), name: value(node.name), description: value(node.description) ?? '', value: value(node.value),
      props: Object.fromEntries((node.properties || []).map((p) => [p.name, p.value.value])),
    };
  }

  // A tap at the middle of a control's place, or of an element's box given by a selector, sent
  // as touch events.
  async toca(nom) {
    if (cal('tacte').skip) throw new Error(cal('tacte').skip);
    const { x, y } = RECTS[nom] ? await this.lloc(nom) : await this.mig(nom);
    await this.page.touchscreen.tap(x, y);
    await this.calma();
  }

  async mig(selector) {
    const box = await (await this.page.$(selector)).boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }

  // Actions as a user does them, each box they open closed: clicks on controls by name, the
  // direction bar's arrows ("down", "up") and menu items ("menu " and the item's text).
  async juga(actions) {
    for (const a of actions) {
      if (a === 'down' || a === 'up') await this.barra(a === 'down' ? 1 : 0);
      else if (a.startsWith('menu ')) await this.menu(a.slice(5));
      else await this.clica(a);
      await this.acordTots();
    }
  }

  // Chooses a menu item by its text, opening its menu first where it has one.
  async menu(text) {
    const found = await this.page.evaluate((t) => {
      const item = [...document.querySelectorAll('#menus [data-menu]')].find((b) => b.dataset.menu === t);
      if (!item) return false;
      const list = item.closest('[role="menu"]');
      return list ? list.previousElementSibling.dataset.menu : t;
    }, text);
    if (!found) throw new Error(`no menu item ${text}`);
    if (found !== text) await this.page.click(`#menus [data-menu="${found}"]`);
    await this.page.click(`#menus [data-menu="${text}"]`);
    await this.calma();
  }

  // The direction bar's arrow: up (value 0) or down (value 1).
  async barra(value) {
    const arrow = await this.page.$(`[data-control="VSllum"] .${value ? 'avall' : 'amunt'}`);
    const box = await arrow.boundingBox();
    await this.page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await this.calma();
  }

  // The open message box: its title, text and button, or null.
  async missatge() {
    return this.page.evaluate(() => {
      const dialog = document.getElementById('missatge');
      if (!dialog.open) return null;
      return {
        titol: document.getElementById('missatge-titol').textContent,
        text: document.getElementById('missatge-text').textContent,
        boto: document.getElementById('missatge-acord').textContent,
      };
    });
  }

  // Closes the open box with its button, as the user would.
  async acord() {
    const m = await this.missatge();
    if (!m) throw new Error('no message box is open');
    this.missatges.push(m.text);
    await this.page.click('#missatge-acord');
    await this.calma();
  }

  // Closes the open box with a key (Enter, Escape, Space on its button), as the user would.
  async acordAmb(key) {
    const m = await this.missatge();
    if (!m) throw new Error('no message box is open');
    this.missatges.push(m.text);
    await this.tecles(key);
  }

  // Every box the last action opens, closed in turn.
  async acordTots() {
    while (await this.missatge()) await this.acord();
  }

  // The canvas's colour, packed, at a point in drawing units: black where no strip has been made.
  async pixel(ux, uy) {
    const v = await this.vista();
    const x = Math.floor(v.x + ux * v.perUnitX * v.scale), y = Math.floor(v.y + uy * v.perUnitY * v.scale);
    return this.page.evaluate((px, py) => {
      const dins = (v, at, size) => v >= Number(at) && v < Number(at) + size;
      const tira = [...document.querySelectorAll('#tires canvas')]
        .find((c) => dins(py, c.dataset.top, c.height) && dins(px, c.dataset.left, c.width));
      if (!tira) return 0;
      // A strip shows a bitmap or is a 2d canvas: either is read by drawing it on one.
      const copia = new OffscreenCanvas(1, 1).getContext('2d');
      copia.drawImage(tira, px - Number(tira.dataset.left), py - Number(tira.dataset.top), 1, 1, 0, 0, 1, 1);
      const [r, g, b] = copia.getImageData(0, 0, 1, 1).data;
      return r + 256 * g + 65536 * b;
    }, x, y);
  }

  // Every colour on the canvas, packed: black too where some band has no strip.
  async colors() {
    return this.page.evaluate(() => {
      const seen = new Set();
      let rows = 0;
      for (const tira of document.querySelectorAll('#tires canvas')) {
        const copia = new OffscreenCanvas(tira.width, tira.height).getContext('2d');
        copia.drawImage(tira, 0, 0);
        const data = copia.getImageData(0, 0, tira.width, tira.height).data;
        for (let i = 0; i < data.length; i += 4) seen.add(data[i] + 256 * data[i + 1] + 65536 * data[i + 2]);
        rows += tira.height;
      }
      if (rows < document.getElementById('llenc').height) seen.add(0);
      return [...seen];
    });
  }

  // What the page shows of the controls, in the words of the native bench (passos.cpp), and the
  // boxes closed since the last look.
  async estat() {
    const lines = await this.page.evaluate((ordre) => {
      const packed = (css) => {
        const [r, g, b] = css.match(/\d+/g).map(Number);
        return String(r + 256 * g + 65536 * b);
      };
      const out = [];
      const controls = [...document.querySelectorAll('#client [data-control]')];
      controls.sort((a, b) => ordre.indexOf(a.dataset.control) - ordre.indexOf(b.dataset.control));
      for (const el of controls) {
        const button = el.tagName === 'BUTTON';
        const back = button && el.style.backgroundColor ? packed(el.style.backgroundColor) : '';
        const value = el.getAttribute('role') === 'scrollbar' ? el.getAttribute('aria-valuenow') : '';
        out.push([el.dataset.control, el.hidden ? 0 : 1, button ? (el.disabled ? 0 : 1) : '',
          button ? el.textContent : '', back, value].join('|'));
      }
      const formes = [...document.querySelectorAll('#formes li')].map((li) => `${li.textContent};`).join('');
      out.push(`formes|${formes}`);
      out.push(`ull|${document.querySelector('[data-control="Picture1"]').getAttribute('aria-description')}`);
      return out;
    }, Object.keys(RECTS));
    for (const m of this.missatges) lines.push(`missatge|${m}`);
    this.missatges = [];
    return lines.join('\n');
  }

  // One control's state as the page shows it.
  async control(nom) {
    return this.page.evaluate((n) => {
      const el = document.querySelector(`[data-control="${n}"]`);
      return { shown: !el.hidden, enabled: !el.disabled, caption: el.textContent, title: el.title };
    }, nom);
  }
}

module.exports = { launch, close, navegador, cal, Banc, passos, clic, RECTS, NOMS, TINTES, COLORS, pack, MOTOR };
