// Build-time tool: writes the installable site, a folder to serve over HTTPS: the page, which
// links its web app manifest and its icons, holds the description and registers the service
// worker; the manifest, its name and description taken from the desktop entry; the icons; and the
// service worker with the build's version and every file's SHA-256.
// The page and the manifest link the files they need with the version in the address
// (manifest.webmanifest?v=...), so that no cache on the way can hand one build's page another
// build's file, and the worker answers each open page from its own build's files.
// Usage: node lloc.js FOLDER PAGE.html SERVICE-WORKER.js DESKTOP-ENTRY ICON.svg ICON-N.png...
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');
const { atributMarcat } = require('./comu.js');

const [folder, page, worker, entry, ...icons] = process.argv.slice(2);
if (!folder || !entry || !icons.some((icon) => icon.endsWith('.svg'))) {
  console.error('usage: node lloc.js FOLDER PAGE.html SERVICE-WORKER.js DESKTOP-ENTRY ICON.svg ICON-N.png...');
  process.exit(2);
}
const fail = (message) => {
  console.error(`lloc.js: ${message}`);
  process.exit(1);
};

// The desktop entry's keys, the Catalan ones before the plain ones.
const keys = {};
for (const line of fs.readFileSync(entry, 'utf8').split('\n')) {
  const at = line.indexOf('=');
  if (at > 0 && !line.startsWith('#')) keys[line.slice(0, at)] = line.slice(at + 1);
}
const key = (name) => keys[`${name}[ca]`] || keys[name] || fail(`${entry} has no ${name}`);

// An icon's entry: an SVG for any size, a PNG at the size its header gives.
function icon(file) {
  const src = path.basename(file);
  if (file.endsWith('.svg')) return { src, sizes: 'any', type: 'image/svg+xml', purpose: 'any' };
  const png = fs.readFileSync(file);
  if (png.toString('latin1', 1, 4) !== 'PNG') fail(`${file} is not a PNG`);
  const [width, height] = [png.readUInt32BE(16), png.readUInt32BE(20)];
  if (width !== height) fail(`${file} is not square`);
  return { src, sizes: `${width}x${height}`, type: 'image/png', purpose: 'any' };
}

const code = fs.readFileSync(worker, 'utf8');
if (code.split('/*VERSIO*/').length !== 2 || code.split('/*FITXERS*/').length !== 2) {
  fail(`${worker} must hold /*VERSIO*/ and /*FITXERS*/ once each`);
}
const html = fs.readFileSync(page, 'utf8');
if (html.split('</head>').length !== 2) fail(`${page} must hold </head> once`);
const sha256 = (content) => crypto.createHash('sha256').update(content).digest('hex');

// The build's version: what every file is made from, the worker's code included.
const inputs = crypto.createHash('sha256').update(html).update(code).update(JSON.stringify(keys));
for (const file of icons) inputs.update(path.basename(file)).update(fs.readFileSync(file));
const version = inputs.digest('hex').slice(0, 16);
const versioned = (name) => `${name}?v=${version}`;

const manifest = {
  id: './',
  name: key('Name'),
  short_name: key('Name'),
  description: key('Comment'),
  lang: 'ca',
  dir: 'ltr',
  start_url: './',
  scope: './',
  display: 'standalone',
  background_color: '#000000',
  theme_color: '#000000',
  categories: key('Categories').split(';').filter((c) => c).map((c) => c.toLowerCase()),
  icons: icons.map(icon).map((entry) => ({ ...entry, src: versioned(entry.src) })),
};

const SERVEI = 'servei.js';
const link = `<link rel="manifest" href="${versioned('manifest.webmanifest')}" data-servei="${SERVEI}">\n` +
  manifest.icons.map((i) => `<link rel="icon" href="${i.src}" sizes="${i.sizes}" type="${i.type}">\n`).join('') +
  `<meta name="description" content="${atributMarcat(manifest.description)}">\n` +
  '<meta name="theme-color" content="#000000">\n</head>';

// The page first: the worker serves it for the folder itself.
const files = {
  'index.html': html.replace('</head>', link),
  'manifest.webmanifest': `${JSON.stringify(manifest, null, 2)}\n`,
};
for (const file of icons) files[path.basename(file)] = fs.readFileSync(file);
const hashes = Object.fromEntries(Object.entries(files).map(([name, content]) => [name, sha256(content)]));
files[SERVEI] = code.replace('/*VERSIO*/', version).replace('/*FITXERS*/', JSON.stringify(hashes));

fs.rmSync(folder, { recursive: true, force: true });
fs.mkdirSync(folder, { recursive: true });
for (const [name, content] of Object.entries(files)) fs.writeFileSync(path.join(folder, name), content);
