// The controls' markup written into the page when it is built, from rows shaped as the module's
// table gives them: texts escaped wherever they go, the table's colours and visibility, the stack
// from the bottom up, and no row left out or made up without saying so.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { controls } = require('../../web/marcatge.js');

const fila = (fields) => ({
  nom: 'c', index: -1, kind: 'GraphicalButton', caption: '', tooltip: '', accessibleName: '', picture: '',
  back: null, fore: null, borderWidth: 0, visible: true, ...fields,
});

const rows = [
  ['a caption with markup in it stays text',
    fila({ caption: 'R & <b>G</b>' }), /<span>R &amp; &lt;b&gt;G&lt;\/b&gt;<\/span>/],
  ['a tooltip with quotes stays within its attribute',
    fila({ tooltip: 'la "llum" d\'en <A>' }), / title="la &quot;llum&quot; d'en &lt;A&gt;"/],
  ['a picture\'s name is its own attribute, its border in the layer\'s units',
    fila({ kind: 'PictureBox', accessibleName: 'ull', borderWidth: 1 }),
    /<div class="imatge control" data-control="c" role="img" tabindex="0" aria-label="ull" style="border-width: calc\(1 \* var\(--u\)\)/],
  ['a control of an array is named with its index, its colours packed as the desktop packs them',
    fila({ nom: 'cmdLlum', index: 2, back: 0xff8000, fore: 0x0000ff }),
    /data-control="cmdLlum\(2\)".*background-color: rgb\(0,128,255\); --tinta: rgb\(255,0,0\)/],
  ['a control the table starts hidden is hidden', fila({ visible: false }), / hidden style=/],
  ['a shape is drawn, not marked up', fila({ kind: 'Shape' }), /^$/],
];

for (const [name, row, markup] of rows) {
  test(name, () => assert.match(controls({ controls: [row] }), markup));
}

test('the stack is written from the bottom up, as the Tab order goes', () => {
  const markup = controls({ controls: ['a', 'b', 'c'].map((nom) => fila({ nom })) });
  assert.deepEqual([...markup.matchAll(/data-control="(\w)".*z-index: (\d)/g)].map((m) => m[1] + m[2]), ['c1', 'b2', 'a3']);
});

test('a kind the markup does not know stops the build', () => {
  assert.throws(() => controls({ controls: [fila({ kind: 'ComboBox' })] }), /ComboBox/);
});
