// The installable site, build-web/site/, served on 127.0.0.1 by Node's own HTTP server (a secure
// context, as HTTPS is): Chromium finds its manifest valid and the page installable, the service
// worker takes charge of the page, and with the server stopped the page loads again. The single
// file, opened from its file:// address, has neither manifest nor worker.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { navegador, passos } = require('./banc.js');

const SITE = path.join(path.dirname(process.env.CORVANI_PAGINA), 'site');
const TYPES = { '.html': 'text/html; charset=utf-8', '.webmanifest': 'application/manifest+json', '.js': 'text/javascript',
  '.svg': 'image/svg+xml', '.png': 'image/png' };

// Serves the folder, the folder itself as its index.html, for two minutes at most.
function serveix(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/\/$/, '/index.html');
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    response.end(fs.readFileSync(file));
  });
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
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const { browser } = navegador();

const LLEST = { timeout: 15000 };

test('served, the page installs and then runs offline', async () => {
  const server = await serveix(SITE);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const page = await browser().newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  try {
    await page.goto(url);
    await page.waitForSelector('body[data-llest]', LLEST);
    const cdp = await page.createCDPSession();

    const { url: manifestUrl, errors: manifestErrors, parsed } = await cdp.send('Page.getAppManifest');
    assert.equal(manifestUrl, `${url}manifest.webmanifest`);
    assert.deepEqual(manifestErrors, []);
    const manifest = JSON.parse(fs.readFileSync(path.join(SITE, 'manifest.webmanifest'), 'utf8'));
    assert.equal(manifest.name, 'Corvani');
    assert.equal(manifest.lang, 'ca');
    assert.ok(parsed, 'Chromium parsed the manifest');
    // Every icon is there, a PNG as large as it says, and one at least 144 pixels or scalable.
    for (const icon of manifest.icons) {
      const file = fs.readFileSync(path.join(SITE, icon.src));
      if (icon.type === 'image/png') assert.equal(`${file.readUInt32BE(16)}x${file.readUInt32BE(20)}`, icon.sizes, icon.src);
    }
    assert.ok(manifest.icons.some((i) => i.sizes === 'any' || parseInt(i.sizes, 10) >= 144));

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
    // Loaded offline, the page is the bench from its start.
    const lines = await page.$$eval('#client [data-control]', (els) => els.length);
    assert.equal(lines, passos([])[0].split('\n').filter((l) => !/^(formes|ull)\|/.test(l)).length);
    assert.deepEqual(errors, []);
  } finally {
    await server.atura();
    await page.close();
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
