// WebKitGTK for the page's tests: Debian's WebKitWebDriver, spoken to over HTTP as the W3C's
// classic WebDriver, starts its MiniBrowser on a private X server. What the tests use of a
// puppeteer page is given over it (navigation, scripts, waiting for a condition, the pointer and
// the keys as actions, screenshots), so that one harness drives the three engines.
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');

const DRIVER = process.env.CORVANI_WEBKITDRIVER || 'WebKitWebDriver';
const XVFB = process.env.CORVANI_XVFB || 'Xvfb';

// The keys by the names puppeteer gives them, as WebDriver's code points; a character stands for
// itself.
const TECLES = {
  Backspace: '\uE003', Tab: '\uE004', Enter: '\uE006', Shift: '\uE008', Control: '\uE009', Alt: '\uE00A',
  Escape: '\uE00C', Space: ' ', PageUp: '\uE00E', PageDown: '\uE00F', End: '\uE010', Home: '\uE011',
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', Delete: '\uE017',
  ...Object.fromEntries(Array.from({ length: 12 }, (_, k) => [`F${k + 1}`, String.fromCharCode(0xE031 + k)])),
};
function tecla(nom) {
  if (TECLES[nom]) return TECLES[nom];
  if ([...nom].length === 1) return nom;
  throw new Error(`no WebDriver code point for the key ${nom}`);
}

const espera = (ms) => new Promise((resolve) => { setTimeout(resolve, ms); });

// The X server and the driver each lead a process group, the browser's processes in the driver's:
// closing ends the groups, and so does this process's exit, however it comes.
const grups = new Set();
process.on('exit', () => {
  for (const pid of grups) {
    try {
      process.kill(-pid, 'SIGKILL');
    } catch {
      // already gone
    }
  }
});
function llança(command, args, options) {
  const child = spawn(command, args, { ...options, detached: true });
  if (child.pid) grups.add(child.pid);
  child.on('exit', () => grups.delete(child.pid));
  return child;
}
async function acaba(child) {
  if (!child || child.exitCode !== null || child.signalCode !== null || !child.pid) return;
  const exited = new Promise((resolve) => { child.on('exit', resolve); });
  try {
    process.kill(-child.pid, 'SIGTERM');
  } catch {
    child.kill();
  }
  await Promise.race([exited, espera(5000)]);
  try {
    process.kill(-child.pid, 'SIGKILL');
  } catch {
    // the whole group has gone
  }
  grups.delete(child.pid);
}

// An X server of its own on a display no other uses: a number drawn among the high ones, another
// where that one's lock is taken (the server itself refuses a display in use). Resolves once the
// server is ready, which it says by writing its display's number on descriptor 3. With no window
// manager the keyboard goes to the window under the pointer, which the server puts in the middle
// of its screen: the screen is small enough that the browser's window, at its top left corner,
// covers the middle at every viewport the tests ask for (700 × 500 CSS pixels or more), and
// large enough for the largest.
async function xvfb() {
  for (let tries = 0; tries < 20; ++tries) {
    const n = 100 + Math.floor(Math.random() * 900);
    if (fs.existsSync(`/tmp/.X${n}-lock`) || fs.existsSync(`/tmp/.X11-unix/X${n}`)) continue;
    const server = llança(XVFB, [`:${n}`, '-displayfd', '3', '-screen', '0', '1400x1000x24', '-nolisten', 'tcp'],
      { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    const ready = await new Promise((resolve) => {
      server.on('error', () => resolve(false));
      server.on('exit', () => resolve(false));
      server.stdio[3].on('data', () => resolve(true));
    });
    if (ready) return { display: `:${n}`, server };
  }
  throw new Error(`no free display for ${XVFB}`);
}

// A TCP port free on the loopback as it is asked for.
function portLliure() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function ordre(base, method, camí, body) {
  const response = await fetch(`${base}${camí}`, {
    method,
    headers: body === undefined ? {} : { 'Content-Type': 'application/json; charset=utf-8' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const { value } = await response.json();
  if (!response.ok) {
    const error = new Error(`WebDriver ${method} ${camí}: ${value.error}: ${value.message}`);
    error.webdriver = value.error;
    throw error;
  }
  return value;
}

// The driver on a free port, once it answers; a port taken in the meantime makes it exit, and
// another is tried.
async function driver(env) {
  for (let tries = 0; tries < 5; ++tries) {
    const port = await portLliure();
    const child = llança(DRIVER, [`--port=${port}`], { env, stdio: ['ignore', 'ignore', 'ignore'] });
    let exited = false;
    child.on('exit', () => { exited = true; });
    child.on('error', () => { exited = true; });
    const base = `http://127.0.0.1:${port}`;
    for (let k = 0; k < 200 && !exited; ++k) {
      try {
        await ordre(base, 'GET', '/status');
        return { base, process: child };
      } catch {
        await espera(25);
      }
    }
    await acaba(child);
  }
  throw new Error(`${DRIVER} did not start`);
}

// What a page's scripts raise once it has loaded is kept in the page, and handed over with the
// result of each script the tests run there.
const VIGIA = `if (!window.__corvaniErrors) {
  window.__corvaniErrors = [];
  window.addEventListener('error', (e) => window.__corvaniErrors.push(e.message));
  window.addEventListener('unhandledrejection', (e) => window.__corvaniErrors.push(String(e.reason && e.reason.message || e.reason)));
}`;

// One window of MiniBrowser, as a puppeteer page: only what the page's tests use.
class PaginaWebKit {
  constructor(navegador) {
    this.nav = navegador;
    this.escoltes = [];
    this.mouse = {
      move: (x, y) => this.punter([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport', duration: 0 }]),
      down: () => this.punter([{ type: 'pointerDown', button: 0 }]),
      up: () => this.punter([{ type: 'pointerUp', button: 0 }]),
      click: (x, y, { clickCount = 1 } = {}) => this.punter([
        { type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport', duration: 0 },
        ...Array.from({ length: clickCount }, () => [{ type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]).flat(),
      ]),
    };
    this.keyboard = {
      down: (key) => this.teclat([{ type: 'keyDown', value: tecla(key) }]),
      up: (key) => this.teclat([{ type: 'keyUp', value: tecla(key) }]),
      press: (key) => this.teclat([{ type: 'keyDown', value: tecla(key) }, { type: 'keyUp', value: tecla(key) }]),
    };
  }

  ordre(method, camí, body) {
    return this.nav.ordre(method, camí, body);
  }

  on(event, callback) {
    if (event === 'pageerror') this.escoltes.push(callback);
  }

  off(event, callback) {
    this.escoltes = this.escoltes.filter((c) => c !== callback);
  }

  isClosed() {
    return this.nav.pagina !== this;
  }

  // The errors the page has raised since the last script, to those listening.
  errors(list) {
    for (const message of list) for (const callback of this.escoltes) callback(new Error(message));
  }

  // Runs fn(...args) in the page, a promise it returns awaited, as puppeteer's evaluate does.
  async evaluate(fn, ...args) {
    const script = `${VIGIA}
      return Promise.resolve().then(() => (${fn}).apply(null, arguments[0]))
        .then((result) => [result === undefined ? null : result, window.__corvaniErrors.splice(0)]);`;
    const [result, errors] = await this.ordre('POST', '/execute/sync', { script, args: [args] });
    this.errors(errors);
    return result;
  }

  $eval(selector, fn, ...args) {
    return this.evaluate(`(selector, ...args) => {
      const element = document.querySelector(selector);
      if (!element) throw new Error('no element matches ' + selector);
      return (${fn})(element, ...args);
    }`, selector, ...args);
  }

  $$eval(selector, fn, ...args) {
    return this.evaluate(`(selector, ...args) => (${fn})([...document.querySelectorAll(selector)], ...args)`,
      selector, ...args);
  }

  // An element, as far as the tests use one: its box in CSS pixels of the viewport.
  async $(selector) {
    const found = await this.evaluate((s) => document.querySelector(s) !== null, selector);
    if (!found) return null;
    return {
      boundingBox: () => this.evaluate((s) => {
        const r = document.querySelector(s).getBoundingClientRect();
        return { x: r.x, y: r.y, width: r.width, height: r.height };
      }, selector),
    };
  }

  // Until fn(...args) is true in the page, looked at every frame.
  async waitForFunction(fn, options = {}, ...args) {
    const timeout = options.timeout ?? 30000;
    const script = `${VIGIA}
      const [args, done] = arguments;
      const fn = (${fn});
      const limit = performance.now() + ${timeout};
      const tick = () => {
        let value;
        try {
          value = fn(...args);
        } catch (e) {
          done({ error: String(e) });
          return;
        }
        if (value) done({ errors: window.__corvaniErrors.splice(0) });
        else if (performance.now() > limit) done({ error: 'timed out waiting for ' + fn });
        else requestAnimationFrame(tick);
      };
      tick();`;
    const result = await this.ordre('POST', '/execute/async', { script, args: [args] });
    if (result.error) throw new Error(result.error);
    this.errors(result.errors);
  }

  waitForSelector(selector, options) {
    return this.waitForFunction((s) => document.querySelector(s) !== null, options, selector);
  }

  // Loads the address, the keys and buttons still held let go, the page's error watch set as soon
  // as it has loaded.
  async goto(url) {
    await this.ordre('DELETE', '/actions');
    await this.ordre('POST', '/url', { url });
    await this.evaluate(() => null);
  }

  async reload() {
    await this.ordre('POST', '/refresh', {});
    await this.evaluate(() => null);
  }

  title() {
    return this.ordre('GET', '/title');
  }

  // The viewport's size, by the window's: the browser's own bars take what they took at the start.
  async setViewport({ width, height, deviceScaleFactor = 1, hasTouch = false }) {
    if (deviceScaleFactor !== 1) throw new Error('WebKitGTK is given no other device pixel ratio than its screen\'s');
    if (hasTouch) throw new Error('WebKitGTK is given no touch screen');
    const { dx, dy } = this.nav.vores;
    await this.ordre('POST', '/window/rect', { x: 0, y: 0, width: width + dx, height: height + dy });
    await this.waitForFunction((w, h) => innerWidth === w && innerHeight === h, { timeout: 10000 }, width, height);
    if (!await this.evaluate(() => document.hasFocus())) {
      throw new Error(`at ${width} × ${height} the window is not under the X pointer, and has no keyboard focus`);
    }
  }

  async click(selector) {
    const box = await (await this.$(selector))?.boundingBox();
    if (!box) throw new Error(`no element matches ${selector}`);
    await this.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  }

  focus(selector) {
    return this.$eval(selector, (element) => element.focus());
  }

  addStyleTag({ content }) {
    return this.evaluate((css) => {
      const style = document.createElement('style');
      style.textContent = css;
      document.head.append(style);
    }, content);
  }

  // The viewport as a PNG, or the part of it that clip gives in CSS pixels, cut out in the page;
  // taken once the page has painted what it last changed.
  async screenshot({ clip, encoding } = {}) {
    await this.evaluate(() => new Promise((resolve) => { requestAnimationFrame(() => requestAnimationFrame(resolve)); }));
    let png = await this.ordre('GET', '/screenshot');
    if (clip) {
      png = await this.evaluate(async (data, c) => {
        const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
        const canvas = document.createElement('canvas');
        canvas.width = c.width;
        canvas.height = c.height;
        canvas.getContext('2d').drawImage(bitmap, -c.x, -c.y);
        return canvas.toDataURL('image/png').split(',')[1];
      }, png, { x: Math.round(clip.x), y: Math.round(clip.y), width: Math.round(clip.width), height: Math.round(clip.height) });
    }
    return encoding === 'base64' ? png : Buffer.from(png, 'base64');
  }

  punter(actions) {
    return this.ordre('POST', '/actions', { actions: [{ type: 'pointer', id: 'ratolí', parameters: { pointerType: 'mouse' }, actions }] });
  }

  teclat(actions) {
    return this.ordre('POST', '/actions', { actions: [{ type: 'key', id: 'teclat', actions }] });
  }

  // The window is left on a blank page, the keys and buttons still held let go.
  async close() {
    this.nav.pagina = null;
    await this.ordre('DELETE', '/actions').catch(() => {});
    await this.ordre('POST', '/url', { url: 'about:blank' }).catch(() => {});
  }
}

// MiniBrowser under WebKitWebDriver on an X server of its own, with a home of its own: what a
// test file drives, one page at a time.
class NavegadorWebKit {
  static async launch() {
    const nav = new NavegadorWebKit();
    nav.home = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-webkit-'));
    try {
      nav.x = await xvfb();
      const env = {
        ...process.env, DISPLAY: nav.x.display, GDK_BACKEND: 'x11', NO_AT_BRIDGE: '1', HOME: nav.home,
        XDG_CONFIG_HOME: path.join(nav.home, 'config'), XDG_CACHE_HOME: path.join(nav.home, 'cache'),
        XDG_DATA_HOME: path.join(nav.home, 'data'),
      };
      delete env.WAYLAND_DISPLAY;
      nav.driver = await driver(env);
      const session = await ordre(nav.driver.base, 'POST', '/session', {
        capabilities: { alwaysMatch: { timeouts: { script: 60000, pageLoad: 60000 } } },
      });
      nav.session = `${nav.driver.base}/session/${session.sessionId}`;
      nav.versio = `${session.capabilities.browserName} ${session.capabilities.browserVersion}`;
      const [w, h, iw, ih] = await nav.ordre('POST', '/execute/sync',
        { script: 'return [outerWidth, outerHeight, innerWidth, innerHeight]', args: [] });
      nav.vores = { dx: w - iw, dy: h - ih };
    } catch (e) {
      await nav.close();
      throw e;
    }
    return nav;
  }

  ordre(method, camí, body) {
    return ordre(this.session, method, camí, body);
  }

  version() {
    return this.versio;
  }

  // The browser's one window, made again where the page has closed it.
  async newPage() {
    if (this.pagina) throw new Error('WebKitGTK is driven one page at a time');
    try {
      await this.ordre('GET', '/window');
    } catch (e) {
      if (e.webdriver !== 'no such window') throw e;
      const { handle } = await this.ordre('POST', '/window/new', { type: 'tab' });
      await this.ordre('POST', '/window', { handle });
    }
    this.pagina = new PaginaWebKit(this);
    return this.pagina;
  }

  async close() {
    if (this.session) await this.ordre('DELETE', '').catch(() => {});
    this.session = null;
    await acaba(this.driver?.process);
    await acaba(this.x?.server);
    fs.rmSync(this.home, { recursive: true, force: true, maxRetries: 10 });
  }
}

module.exports = { NavegadorWebKit };
