// `make captures`: the pictures of the README and of the teachers' guide, taken from the page in
// Debian's Chromium, headless, each after its actions, as the page's tests play them
// (tests/web/banc.js). Every picture the documents show must be one of these.
// Usage: CORVANI_PASSOS=corvani-passos node captures.js PAGE.html FOLDER
'use strict';
const fs = require('node:fs');
const path = require('node:path');

const [page, folder] = process.argv.slice(2);
if (!page || !folder || !process.env.CORVANI_PASSOS) {
  console.error('usage: CORVANI_PASSOS=corvani-passos node captures.js PAGE.html FOLDER');
  process.exit(2);
}
process.env.CORVANI_PAGINA = path.resolve(page);
const { launch, close, Banc } = require('../tests/web/banc.js');

// The window's client area at its opening size, under the menu bar, at one device pixel a pixel.
const VIEW = { width: 867, height: 640, ratio: 1 };

// Each picture's actions: controls by their name in the window's table, 'menu ' and an item's
// text, 'down' and 'up' for the direction bar.
const CAPTURES = {
  // The README's: a ray through two filters, down to the paper painted green and up to the eye.
  'banc.png': ['cmdTinta(3)', 'cmdTinta(5)', 'cmdPinta', 'cmdBlanca', 'cmdfiltre(5)', 'cmdfiltre(3)', 'down'],
  'llums.png': ['cmdLlum(0)', 'cmdLlum(2)'],
  'filtres.png': ['menu Només &Filtres', 'cmdBlanca', 'cmdfiltre(5)', 'cmdfiltre(3)'],
  'analisi.png': ['menu Només &Filtres', 'cmdBlanca', 'cmdfiltre(4)', 'cmdAnalisi'],
  'tintes.png': ['menu Només &Tintes', 'cmdTinta(5)', 'cmdPinta', 'cmdBlanca', 'cmdAnalisi', 'down'],
};

// The pictures the documents show, from their links to doc/img/.
function shown() {
  const root = path.join(__dirname, '..');
  const documents = ['README.md', ...fs.readdirSync(__dirname).filter((f) => f.endsWith('.md')).map((f) => `doc/${f}`)];
  const pictures = new Set();
  for (const document of documents) {
    for (const [, picture] of fs.readFileSync(path.join(root, document), 'utf8').matchAll(/\(\s*(?:doc\/)?img\/([^)\s]+)\)/g)) {
      pictures.add(picture);
    }
  }
  return pictures;
}

(async () => {
  const missing = [...shown()].filter((picture) => !CAPTURES[picture]);
  if (missing.length > 0) {
    console.error(`captures.js: the documents show pictures it does not make: ${missing.join(', ')}`);
    process.exit(1);
  }
  fs.mkdirSync(folder, { recursive: true });
  const browser = await launch();
  try {
    for (const [picture, actions] of Object.entries(CAPTURES)) {
      const banc = await Banc.obre(browser, VIEW);
      await banc.juga(actions);
      if (banc.errors.length > 0) throw new Error(`${picture}: errors in the page: ${banc.errors.join('; ')}`);
      await banc.page.screenshot({ path: path.join(folder, picture) });
      await banc.tanca();
      console.log(`${path.join(folder, picture)}: ${actions.join(', ')}`);
    }
  } finally {
    await close(browser);
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
