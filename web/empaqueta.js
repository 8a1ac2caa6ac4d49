// Build-time tool: writes the one self-contained page from its template, style and script, the
// WebAssembly module's script (the module inlined in it) and the committed PNGs as data addresses.
// Usage: node empaqueta.js OUTPUT.html PAGE.html STYLE.css PAGE.js MODULE.js PICTURE.png...
'use strict';
const fs = require('fs');
const path = require('path');

const [output, template, style, script, modul, ...pictures] = process.argv.slice(2);
if (!output || !modul || pictures.length === 0) {
  console.error('usage: node empaqueta.js OUTPUT.html PAGE.html STYLE.css PAGE.js MODULE.js PICTURE.png...');
  process.exit(2);
}

const read = (file) => fs.readFileSync(file, 'utf8');
// Each picture with its size, from its PNG header, so that the page lays the pictures out before
// it has decoded any.
const imatges = {};
for (const file of pictures) {
  const png = fs.readFileSync(file);
  if (png.toString('latin1', 1, 4) !== 'PNG' || png.toString('latin1', 12, 16) !== 'IHDR') {
    console.error(`empaqueta.js: ${file} is not a PNG`);
    process.exit(1);
  }
  imatges[path.basename(file, '.png')] = {
    src: 'data:image/png;base64,' + png.toString('base64'),
    width: png.readUInt32BE(16),
    height: png.readUInt32BE(20),
  };
}

// Inlined in a script element, a text must not close it.
const inScript = (text, file) => {
  if (/<\/script/i.test(text)) {
    console.error(`empaqueta.js: ${file} holds "</script", which would end the page's script early`);
    process.exit(1);
  }
  return text;
};

const parts = {
  '/*ESTIL*/': read(style),
  '/*IMATGES*/': JSON.stringify(imatges),
  '/*MODUL*/': inScript(read(modul), modul),
  '/*PAGINA*/': inScript(read(script), script),
};
let page = read(template);
for (const [mark, text] of Object.entries(parts)) {
  if (page.split(mark).length !== 2) {
    console.error(`empaqueta.js: ${template} must hold ${mark} once`);
    process.exit(1);
  }
  page = page.split(mark).join(text);
}
fs.writeFileSync(output, page);
