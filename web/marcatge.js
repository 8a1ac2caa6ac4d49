// Build-time: the bench's controls as markup, written into the page from the module's table, so
// that the browser reads them with the page rather than the script making them one by one. The
// page's script finds them by their data-control, places them and gives them their handlers; the
// markup is every element and attribute the controls start with, bottom of the stack first, as
// the desktop makes them.
'use strict';

const { cssColor: css, textMarcat: text, atributMarcat: attr } = require('./comu.js');

// The control's element: its tag, its attributes in order, and what it holds. The order of the
// class names and of the inline style's declarations is the one the page has always given them.
function control(row, i, count) {
  const nom = row.index >= 0 ? `${row.nom}(${row.index})` : row.nom;
  let tag, classes, attrs = [], style = [], inner = '';
  switch (row.kind) {
    case 'GraphicalButton':
    case 'Button':
      tag = 'button';
      classes = ['boto', row.kind === 'Button' ? 'sistema' : 'grafic'];
      attrs.push(['type', 'button']);
      inner = `<span>${text(row.caption)}</span>`;
      break;
    case 'PictureBox':
      tag = 'div';
      classes = ['imatge'];
      attrs.push(['role', 'img'], ['tabindex', '0']);
      style.push(`border-width: calc(${row.borderWidth} * var(--u))`);
      break;
    case 'ScrollBar':
      tag = 'div';
      classes = ['barra'];
      attrs.push(['role', 'scrollbar'], ['aria-orientation', 'vertical'], ['aria-controls', 'llenc'],
        ['aria-valuemin', '0'], ['aria-valuemax', '1'], ['tabindex', '0']);
      inner = '<div class="fletxa amunt"></div><div class="guia"><div class="polze"></div></div>' +
        '<div class="fletxa avall"></div>';
      break;
    case 'Frame':
      tag = 'fieldset';
      classes = ['marc'];
      inner = `<legend><span>${text(row.caption)}</span></legend>`;
      break;
    case 'Label':
      tag = 'div';
      classes = ['etiqueta'];
      inner = `<span>${text(row.caption)}</span>`;
      break;
    case 'Shape':
      return null; // drawn on the canvas
    default:
      throw new Error(`${nom}: no markup for a control of kind ${row.kind}`);
  }
  classes.push('control');
  style.push(`z-index: ${count - i}`);
  if (row.back !== null) style.push(`background-color: ${css(row.back)}`);
  // The caption's ink, which the style gives way to where a button is disabled.
  if (row.fore !== null) style.push(`--tinta: ${css(row.fore)}`);
  if (row.picture) attrs.push(['data-imatge', row.picture]);
  if (row.tooltip) attrs.push(['title', row.tooltip]);
  // A button's name follows its caption, set by the page; the others' is the table's.
  if (row.accessibleName && tag !== 'button') attrs.push(['aria-label', row.accessibleName]);
  if (!row.visible) attrs.push(['hidden', '']);
  const all = [['class', classes.join(' ')], ['data-control', nom], ...attrs, ['style', style.join('; ')]];
  return `<${tag}${all.map(([k, v]) => (v === '' ? ` ${k}` : ` ${k}="${attr(v)}"`)).join('')}>${inner}</${tag}>`;
}

// The controls' markup, one element a line, the bottom of the stack first: the page's Tab order.
function controls(taula) {
  const count = taula.controls.length;
  return taula.controls.map((row, i) => control(row, i, count)).filter((m) => m).reverse().join('\n');
}

// A rule for each picture, which every control showing it shares, so that the page holds each
// picture once.
function estilImatges(imatges) {
  return Object.entries(imatges).map(([nom, src]) => `.control[data-imatge="${nom}"] { background-image: url(${src}); }`).join('\n');
}

module.exports = { controls, estilImatges };
