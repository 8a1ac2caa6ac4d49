// The installable site, build-web/site/, served on 127.0.0.1 by Node's own HTTP server (a secure
// context, as HTTPS is): Chromium finds its manifest valid and the page installable, the service
// worker takes charge of the page, and with the server stopped the page loads again and runs.
// Served the ways common servers serve files, a second build, made by the same builder, reaches a
// returning visitor by the second reload, kept as the server sent it, while a page of the first
// build still open gets its own build's manifest and icons. A server half way through deploying
// it does not get a mixed build kept; a site without its worker is the page alone. The single
// file, opened from its file:// address, has neither manifest nor worker.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const crypto = require('node:crypto');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { navegador, passos, clic, Banc } = require('./banc.js');

const SITE = path.join(path.dirname(process.env.CORVANI_PAGINA), 'site');
const ARREL = path.join(__dirname, '..', '..');
const TYPES = { '.html': 'text/html; charset=utf-8', '.webmanifest': 'application/manifest+json', '.js': 'text/javascript',
  '.svg': 'image/svg+xml', '.png': 'image/png' };
const sha256 = (content) => crypto.createHash('sha256').update(content).digest('hex');
const DIA = 24 * 3600 * 1000;

// What a server adds to a file's answer, and whether it answers a revalidation with 304: by default
// none, as a bare server; validators, as most static servers by default, a file last changed when
// a deployment first brought it, the first build a day ago, so that the browser reuses its files
// for hours without asking; a freshness lifetime; or "ask every time".
const MANERES = {
  'no caching headers': { capcaleres: () => ({}) },
  'Last-Modified and ETag, answered with 304': {
    capcaleres: ({ etag, canviat }) => ({ ETag: etag, 'Last-Modified': canviat.toUTCString() }),
    revalida: true,
  },
  'Cache-Control: max-age=3600': { capcaleres: () => ({ 'Cache-Control': 'max-age=3600' }) },
  'Cache-Control: no-cache': { capcaleres: ({ etag }) => ({ 'Cache-Control': 'no-cache', ETag: etag }), revalida: true },
};

// Serves a build's folder, the folder itself as its index.html, for two minutes at most;
// desplega(folder) puts another build in its place, as a deployment does.
function serveix(folder, { capcaleres, revalida } = MANERES['no caching headers']) {
  let desplegat = new Date(Date.now() - DIA);
  const canvis = new Map(); // when each content was first deployed, by ETag
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/\/$/, '/index.html');
    const file = path.join(folder, path.normalize(name));
    server.peticions.push(name);
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    const content = fs.readFileSync(file);
    const etag = `"${sha256(content).slice(0, 16)}"`;
    if (!canvis.has(etag)) canvis.set(etag, desplegat);
    const canviat = canvis.get(etag);
    const headers = capcaleres({ etag, canviat });
    const since = Date.parse(request.headers['if-modified-since']);
    const fresh = request.headers['if-none-match'] ? request.headers['if-none-match'] === etag
      : since >= Math.floor(canviat.getTime() / 1000) * 1000;
    if (revalida && fresh) {
      response.writeHead(304, headers).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream', ...headers });
    response.end(content);
  });
  server.peticions = [];
  server.desplega = (other) => {
    folder = other;
    desplegat = new Date();
  };
  const sockets = new Set();
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  server.atura = () => new Promise((resolve) => {
    for (const socket of sockets) socket.destroy();
    server.close(() => resolve());
  });
  setTimeout(() => server.atura(), 120000).unref();
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    server.url = `http://127.0.0.1:${server.address().port}/`;
    resolve(server);
  }));
}

const llegeix = (folder, name) => fs.readFileSync(path.join(folder, name));

// A second build, made by the site's builder from a page and an icon that differ from the first's
// by a comment.
const SEGONA = '<!-- 2 -->';
function segonaBuild() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-site-'));
  const inputs = path.join(folder, 'inputs');
  fs.mkdirSync(inputs);
  const page = path.join(inputs, 'corvani.html');
  fs.writeFileSync(page, fs.readFileSync(process.env.CORVANI_PAGINA, 'utf8').replace('</body>', `${SEGONA}\n</body>`));
  const icons = JSON.parse(llegeix(SITE, 'manifest.webmanifest')).icons.map(({ src }) => {
    const icon = path.join(inputs, src.split('?')[0]);
    fs.writeFileSync(icon, Buffer.concat([llegeix(SITE, path.basename(icon)), Buffer.from(icon.endsWith('.svg') ? `${SEGONA}\n` : '')]));
    return icon;
  });
  const desktop = path.join(ARREL, 'assets', 'desktop');
  const entry = path.join(desktop, fs.readdirSync(desktop).find((name) => name.endsWith('.desktop')));
  const site = path.join(folder, 'site');
  execFileSync(process.execPath, [path.join(ARREL, 'web', 'lloc.js'), site, page, path.join(ARREL, 'web', 'servei.js'),
    entry, ...icons]);
  return { folder, site };
}

// A copy of a build's folder, with some of its files taken from another build or left out.
function copia(folder, { de = null, fitxers = [], sense = [] } = {}) {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'corvani-site-'));
  for (const name of fs.readdirSync(folder)) {
    if (!sense.includes(name)) fs.copyFileSync(path.join(fitxers.includes(name) ? de : folder, name), path.join(copy, name));
  }
  return copy;
}

const { browser } = navegador();

const LLEST = { timeout: 15000 };

// A tab of a browser context at the site, loaded, noting the page's errors and whether a new
// worker took charge of it.
async function obre(context, url) {
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.evaluateOnNewDocument(() => {
    if ('serviceWorker' in navigator) {
      navigator.serviceWorker.addEventListener('controllerchange', () => { window.canviDeServei = true; });
    }
  });
  await page.goto(url);
  await page.waitForSelector('body[data-llest]', LLEST);
  return page;
}

async function carrega(page) {
  await page.reload();
  await page.waitForSelector('body[data-llest]', LLEST);
}

// The build a page is of: 1, or 2 for the second.
const mostrada = (page) => page.evaluate((marca) => (document.documentElement.outerHTML.includes(marca) ? 2 : 1), SEGONA);

// What the site keeps in the browser: each cache's files, by name, as their SHA-256.
const desats = (page) => page.evaluate(async () => {
  const hex = async (r) => [...new Uint8Array(await crypto.subtle.digest('SHA-256', await r.arrayBuffer()))]
    .map((b) => b.toString(16).padStart(2, '0')).join('');
  const out = [];
  for (const name of await caches.keys()) {
    const cache = await caches.open(name);
    const files = {};
    for (const request of await cache.keys()) files[new URL(request.url).pathname.slice(1)] = await hex(await cache.match(request));
    out.push(files);
  }
  return out;
});

// A build's files as the worker keeps them: all but the worker itself.
const guardats = (folder) => hashes(folder, fs.readdirSync(folder).filter((name) => name !== 'servei.js'));

// The SHA-256 of the manifest the page links, and of each icon it lists, by name, as the page gets them now.
const manifestIIcones = (page) => page.evaluate(async () => {
  const hex = async (r) => (r.ok ? [...new Uint8Array(await crypto.subtle.digest('SHA-256', await r.arrayBuffer()))]
    .map((b) => b.toString(16).padStart(2, '0')).join('') : `HTTP ${r.status}`);
  const href = document.querySelector('link[rel="manifest"]').href;
  const manifest = await fetch(href);
  const out = { 'manifest.webmanifest': await hex(manifest.clone()) };
  for (const { src } of (await manifest.json()).icons) {
    const url = new URL(src, href);
    out[url.pathname.slice(1)] = await hex(await fetch(url));
  }
  return out;
});

// Until the server has been asked for a file; failing if it is not, by the page tests' usual deadline.
async function demanat(server, name) {
  for (let wait = 0; !server.peticions.includes(name); wait += 20) {
    assert.ok(wait < LLEST.timeout, `the server was not asked for ${name}`);
    await new Promise((resolve) => { setTimeout(resolve, 20); });
  }
}

const hashes = (folder, names) => Object.fromEntries(names.map((name) => [name, sha256(llegeix(folder, name))]));

test('served, the page installs, and then loads and runs offline', async () => {
  const server = await serveix(SITE);
  const url = server.url;
  const page = await browser().newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  try {
    await page.goto(url);
    await page.waitForSelector('body[data-llest]', LLEST);
    const cdp = await page.createCDPSession();

    const { url: manifestUrl, errors: manifestErrors, parsed } = await cdp.send('Page.getAppManifest');
    assert.equal(manifestUrl, new URL(/<link rel="manifest" href="([^"]+)"/.exec(llegeix(SITE, 'index.html'))[1], url).href);
    assert.deepEqual(manifestErrors, []);
    const manifest = JSON.parse(llegeix(SITE, 'manifest.webmanifest'));
    assert.equal(manifest.name, 'Corvani');
    assert.equal(manifest.lang, 'ca');
    assert.ok(parsed, 'Chromium parsed the manifest');
    // Every icon is there, a PNG as large as it says, and one at least 144 pixels or scalable.
    for (const icon of manifest.icons) {
      const file = llegeix(SITE, icon.src.split('?')[0]);
      if (icon.type === 'image/png') assert.equal(`${file.readUInt32BE(16)}x${file.readUInt32BE(20)}`, icon.sizes, icon.src);
    }
    assert.ok(manifest.icons.some((i) => i.sizes === 'any' || parseInt(i.sizes, 10) >= 144));
    // The page tells a search engine or a link's preview what it is, as the manifest does.
    assert.equal(await page.$eval('meta[name="description"]', (m) => m.content), manifest.description);

    // The worker takes charge of the page it was registered from.
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, LLEST);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);

    await server.atura();
    for (const go of [() => page.reload(), () => page.goto(`${url}?de-nou`)]) {
      await go();
      await page.waitForSelector('body[data-llest]', LLEST);
      const shown = await page.evaluate(() => document.title);
      assert.equal(shown, 'Corvani (1)');
    }
    // Loaded offline, the page is the bench, and a lamp lights as it does on the desktop.
    const banc = new Banc(page);
    await banc.clica('cmdLlum(0)');
    assert.equal(await banc.estat(), passos([clic('cmdLlum(0)')]).at(-1));
    assert.deepEqual(errors, []);
  } finally {
    await server.atura();
    await page.close();
  }
});

for (const [manera, servidor] of Object.entries(MANERES)) {
  test(`served with ${manera}, a new build reaches a returning visitor by the second reload, and an open page keeps its own`, async () => {
    const segona = segonaBuild();
    const server = await serveix(SITE, servidor);
    const context = await browser().createBrowserContext();
    try {
      // A first visit, still open, and the visitor's own tab, both of the first build.
      const vella = await obre(context, server.url);
      await vella.waitForFunction(() => navigator.serviceWorker.controller !== null, LLEST);
      const visitant = await obre(context, server.url);
      assert.equal(await mostrada(visitant), 1);

      server.desplega(segona.site);
      await carrega(visitant);
      // The new build takes charge of the open pages as soon as it has been fetched and kept.
      await visitant.waitForFunction(() => window.canviDeServei === true, LLEST).catch(() => {});
      await carrega(visitant);
      assert.equal(await mostrada(visitant), 2, 'the second reload shows the new build');
      // Each build is kept whole, as the server sent it: the new one, and the one before for its open page.
      assert.deepEqual(await desats(visitant), [guardats(SITE), guardats(segona.site)]);

      // The page of the first build, now in the new worker's charge, still sees the first build.
      assert.equal(await mostrada(vella), 1);
      const propis = await manifestIIcones(vella);
      assert.deepEqual(propis, hashes(SITE, Object.keys(propis)), 'the old page gets its own manifest and icons');
      assert.deepEqual(await manifestIIcones(visitant), hashes(segona.site, Object.keys(propis)));

      // Offline, the new build loads.
      await server.atura();
      await carrega(visitant);
      assert.equal(await mostrada(visitant), 2);
      assert.deepEqual([...vella.errors, ...visitant.errors], []);
    } finally {
      await server.atura();
      await context.close();
      fs.rmSync(segona.folder, { recursive: true, force: true });
    }
  });
}

test('a server half way through a deployment does not get a mixed build kept', async () => {
  const segona = segonaBuild();
  // The new worker is there, the new page and manifest not yet.
  const mig = copia(SITE, { de: segona.site, fitxers: ['servei.js'] });
  const server = await serveix(SITE, MANERES['Last-Modified and ETag, answered with 304']);
  const context = await browser().createBrowserContext();
  try {
    const page = await obre(context, server.url);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, LLEST);
    server.desplega(mig);
    server.peticions = [];
    await carrega(page);
    // The new worker has asked for the files of its build, found the first build's, and kept none.
    await demanat(server, '/manifest.webmanifest');
    await page.waitForFunction(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      return registration.installing === null && registration.waiting === null;
    }, LLEST);
    assert.deepEqual(await desats(page), [guardats(SITE)]);
    await carrega(page);
    assert.equal(await mostrada(page), 1);
    // The deployment done, the next loads find it.
    server.desplega(segona.site);
    await carrega(page);
    await page.waitForFunction(() => window.canviDeServei === true, LLEST).catch(() => {});
    await carrega(page);
    assert.equal(await mostrada(page), 2);
    assert.deepEqual(page.errors, []);
  } finally {
    await server.atura();
    await context.close();
    fs.rmSync(mig, { recursive: true, force: true });
    fs.rmSync(segona.folder, { recursive: true, force: true });
  }
});

test('served without its worker script, the page works alone and reports nothing', async () => {
  const sense = copia(SITE, { sense: ['servei.js'] });
  const server = await serveix(sense);
  const context = await browser().createBrowserContext();
  const page = await context.newPage();
  const messages = [];
  page.on('pageerror', (e) => messages.push(e.message));
  page.on('console', (m) => messages.push(`${m.type()}: ${m.text()}`));
  try {
    await page.goto(server.url);
    await page.waitForSelector('body[data-llest]', LLEST);
    await demanat(server, '/servei.js');
    assert.equal(await page.evaluate(() => navigator.serviceWorker.getRegistration()), undefined);
    const banc = new Banc(page);
    await banc.clica('cmdLlum(0)');
    assert.equal(await banc.estat(), passos([clic('cmdLlum(0)')]).at(-1));
    // What Chromium writes of the missing file, that it was not found, is the browser's, not the page's.
    assert.deepEqual(messages.filter((m) => !/^error: .*\b404\b/.test(m)), []);
  } finally {
    await server.atura();
    await context.close();
    fs.rmSync(sense, { recursive: true, force: true });
  }
});

test('opened as a file, the page has no manifest and no worker', async () => {
  const page = await browser().newPage();
  try {
    await page.goto(pathToFileURL(process.env.CORVANI_PAGINA).href);
    await page.waitForSelector('body[data-llest]', LLEST);
    assert.equal(await page.$('link[rel="manifest"]'), null);
    const cdp = await page.createCDPSession();
    const { url } = await cdp.send('Page.getAppManifest');
    assert.equal(url, '');
  } finally {
    await page.close();
  }
});

// A page of another site, or of this one, with the bench in a frame, as a learning platform shows it.
function marc(url) {
  const server = http.createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(`<!DOCTYPE html><title>Plataforma</title><iframe src="${url}" width="900" height="660"></iframe>`);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

describe('the page embedded', () => {
  // Where the page is opened: itself, or a frame of a page at another address; whether it takes the focus.
  const rows = [
    ['as the top document, it takes the focus', null, true],
    ['in a frame of another site, it leaves the focus alone and says nothing', 'localhost', false],
    ['in a frame of another origin on its host, it leaves the focus alone and says nothing', '127.0.0.1', false],
  ];
  for (const [name, host, focused] of rows) {
    test(name, async () => {
      const server = await serveix(SITE);
      const plataforma = host && await marc(server.url);
      const context = await browser().createBrowserContext();
      const page = await context.newPage();
      const messages = [];
      page.on('console', (m) => messages.push(`${m.type()}: ${m.text()}`));
      page.on('pageerror', (e) => messages.push(e.message));
      try {
        await page.goto(host ? `http://${host}:${plataforma.address().port}/` : server.url);
        const frame = host ? await (await page.waitForSelector('iframe')).contentFrame() : page.mainFrame();
        await frame.waitForSelector('body[data-llest]', LLEST);
        // A frame of another site runs apart from the page that holds it, and its log with it:
        // what the browser wrote there from the frame's start.
        if (frame.client !== page.mainFrame().client) {
          frame.client.on('Log.entryAdded', ({ entry }) => messages.push(`${entry.level}: ${entry.text}`));
          await frame.client.send('Log.enable');
        }
        await frame.waitForFunction(() => navigator.serviceWorker.getRegistration().then((r) => r && r.active), LLEST);
        const enfocat = await frame.evaluate(() => document.activeElement.dataset.control ?? null);
        assert.equal(enfocat, focused ? 'cmdfiltre(0)' : null);
        // The bench in the frame answers a click: the red lamp's light reaches the eye.
        await (await frame.$('[data-control="cmdLlum(0)"]')).click();
        await frame.waitForFunction(() => !document.body.hasAttribute('data-ocupat'));
        const ull = passos([clic('cmdLlum(0)')]).at(-1).split('\n').find((line) => line.startsWith('ull|')).slice(4);
        assert.equal(await frame.$eval('[data-control="Picture1"]', (e) => e.getAttribute('aria-description')), ull);
        // The page links its icons, so the browser asks for no /favicon.ico, which the site has not.
        assert.deepEqual(messages, []);
        assert.ok(!server.peticions.includes('/favicon.ico'), 'asked for /favicon.ico');
      } finally {
        await context.close();
        await server.atura();
        if (plataforma) plataforma.close();
      }
    });
  }
});
