// The page checked by axe-core, in Chromium, in the states a pupil meets: no rule of WCAG 2.0, 2.1
// and 2.2 at levels A and AA, nor of good practice with landmarks, finds anything to mend.
'use strict';
const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const { navegador } = require('./banc.js');

const AXE = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const { withPage } = navegador();

// Rules that cannot judge this page, each with the reason.
const FORA = {
  // axe measures a control's own box, where the page takes a press on a small control in room
  // around its face too; dianes.test.js measures where the pointer reaches each control.
  'target-size': 'the controls\' zones are not in their boxes',
};

const NIVELLS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'];

// Actions on the bench, then keys: a state of the page in which to run the rules.
const ESTATS = [
  ['as the page opens', [], []],
  ['the red lamp on, its Off shown', ['cmdLlum(0)'], []],
  ['the yellow filter placed in white light', ['cmdBlanca', 'cmdfiltre(5)'], []],
  ['the light split into its components', ['cmdBlanca', 'cmdAnalisi'], []],
  ['a menu open from the keyboard', ['cmdLlum(1)'], ['Alt+O']],
  ['a message box open', ['cmdBuidaPot'], []],
];

describe('axe-core finds nothing to mend', () => {
  for (const [name, clicks, keys] of ESTATS) {
    test(name, () => withPage(async (banc) => {
      for (const nom of clicks) await banc.clica(nom);
      await banc.tecles(...keys);
      await banc.page.evaluate(AXE);
      const violations = await banc.page.evaluate(async (nivells, fora) => {
        const ids = (tags) => axe.getRules(tags).map((r) => r.ruleId);
        const landmarks = ids(['best-practice']).filter((id) => /^(landmark|region$)/.test(id));
        const rules = [...new Set([...ids(nivells), ...landmarks])].filter((id) => !(id in fora));
        const { violations: found } = await axe.run(document, { runOnly: { type: 'rule', values: rules } });
        return found.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}: ` +
          `${v.nodes[0].failureSummary.replace(/\s+/g, ' ')}`);
      }, NIVELLS, FORA);
      assert.deepEqual(violations, []);
    }, { width: 1366, height: 768 }));
  }
});
