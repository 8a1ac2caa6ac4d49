// Build-time tool: writes the one self-contained page from its template, style and scripts, the
// sentence it shows where it cannot run, taken from the program's texts, the module's table of
// controls and their markup written from it, the WebAssembly module's script, the module itself
// in base 64, and the committed PNGs as data addresses.
// Usage: node empaqueta.js OUTPUT.html PAGE.html STYLE.css TEXTS.h TABLE.json MODULE.js MODULE.wasm SCRIPT.js... PICTURE.png...
// The page's scripts run in the order given, as one script.
'use strict';
const fs = require('fs');
const path = require('path');
const marcatge = require('./marcatge.js');
const { textMarcat } = require('./comu.js');

const [output, template, style, textos, taula, modul, binari, ...rest] = process.argv.slice(2);
const scripts = rest.filter((file) => file.endsWith('.js'));
const pictures = rest.filter((file) => file.endsWith('.png'));
if (!taula || !taula.endsWith('.json') || !modul || !binari || !binari.endsWith('.wasm') ||
    scripts.length === 0 || pictures.length === 0 || scripts.length + pictures.length !== rest.length) {
  console.error('usage: node empaqueta.js OUTPUT.html PAGE.html STYLE.css TEXTS.h TABLE.json MODULE.js MODULE.wasm SCRIPT.js... PICTURE.png...');
  process.exit(2);
}

const read = (file) => fs.readFileSync(file, 'utf8');
const fail = (message) => {
  console.error(`empaqueta.js: ${message}`);
  process.exit(1);
};

// A text of the header of texts by its name: its string literals joined, their escapes undone.
function textDe(name) {
  const found = new RegExp(`\\b${name}\\s*=\\s*((?:"(?:[^"\\\\]|\\\\.)*"\\s*)+);`).exec(read(textos));
  if (!found) fail(`${textos} has no text ${name}`);
  return [...found[1].matchAll(/"((?:[^"\\]|\\.)*)"/g)].map((m) => m[1]).join('')
    .replace(/\\(.)/g, (_, c) => ({ n: '\n', t: '\t' }[c] ?? c));
}

// Each picture's size, from its PNG header, so that the page lays the pictures out before it has
// decoded any; the pictures themselves go in the style.
const mides = {};
const imatges = {};
for (const file of pictures) {
  const png = fs.readFileSync(file);
  if (png.toString('latin1', 1, 4) !== 'PNG' || png.toString('latin1', 12, 16) !== 'IHDR') fail(`${file} is not a PNG`);
  const nom = path.basename(file, '.png');
  imatges[nom] = 'data:image/png;base64,' + png.toString('base64');
  mides[nom] = { width: png.readUInt32BE(16), height: png.readUInt32BE(20) };
}

// Inlined in a script element, a text must not close it.
const inScript = (text, file) => {
  if (/<\/script/i.test(text)) fail(`${file} holds "</script", which would end the page's script early`);
  return text;
};

const taulaDeControls = JSON.parse(read(taula));
for (const row of taulaDeControls.controls) {
  if (row.picture && !imatges[row.picture]) fail(`${row.nom} shows ${row.picture}, which is not among the pictures`);
}

const parts = {
  '/*ESTIL*/': `${read(style)}\n${marcatge.estilImatges(imatges)}`,
  '/*CONTROLS*/': marcatge.controls(taulaDeControls),
  '/*REQUISIT*/': textMarcat(textDe('requisitNavegador')),
  '/*IMATGES*/': JSON.stringify(mides),
  '/*TAULA*/': inScript(JSON.stringify(taulaDeControls), taula),
  '/*BINARI*/': JSON.stringify(fs.readFileSync(binari).toString('base64')),
  '/*MODUL*/': inScript(read(modul), modul),
  '/*PAGINA*/': scripts.map((script) => inScript(read(script), script)).join('\n'),
};
let page = read(template);
for (const [mark, text] of Object.entries(parts)) {
  if (page.split(mark).length !== 2) fail(`${template} must hold ${mark} once`);
  page = page.split(mark).join(text);
}
fs.writeFileSync(output, page);
