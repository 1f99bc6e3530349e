// The page's two languages, without a browser: every text in both with the
// same values, the tree's texts rewritten with their numbers and names
// kept, and the language a browser's preferences choose.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { describePicture, fill, fromBrowser, treeText, words } from '../../web/words.js';

test('both tables have the same texts, none empty, with the same values', () => {
  const names = (language) => Object.keys(words[language]).sort();
  assert.deepEqual(names('pt'), names('en'));
  const holes = (t) => (t.match(/\{\d\}/g) || []).sort().join();
  for (const name of names('en')) {
    assert.ok(words.en[name] && words.pt[name], `"${name}" is empty in a language`);
    assert.equal(holes(words.pt[name]), holes(words.en[name]), `"${name}" has other values in Portuguese`);
  }
  assert.equal(fill('en', 'replaying', 3, 40), 'Replaying a shared recording: tick 3 of 40.');
  assert.throws(() => fill('pt', 'noSuchText'), /no text "noSuchText"/);
});

test("the tree's texts in Portuguese keep their numbers and model values", () => {
  const cases = {
    push: 'empilhamento',
    'translate ({x}, {y}, 0)': 'translação ({x}, {y}, 0)',
    'rotate {heading} about Z': 'rotação de {heading} em torno de Z',
    'rotate -90 about X': 'rotação de -90 em torno de X',
    'scale (4, 7, 1)': 'escala (4, 7, 1)',
    '6 polygons': '6 polígonos',
    'rotate {pitch} = {speed} × 6 about X': 'rotação de {pitch} = {speed} × 6 em torno de X',
    'cylinder radius 0.5, length 0.4': 'cilindro de raio 0.5, comprimento 0.4',
  };
  for (const [english, portuguese] of Object.entries(cases)) assert.equal(treeText(english, 'pt'), portuguese);
  assert.equal(treeText('translate (1, 2, 3)', 'en'), 'translate (1, 2, 3)');
  assert.equal(treeText('front left wheel', 'pt', 'frontLeftWheel'), 'roda dianteira esquerda');
  assert.equal(treeText('hull', 'pt', 'antenna'), null);
  assert.equal(treeText('an antenna', 'pt'), null);
});

test("the page follows the first of the browser's languages it has", () => {
  const chosen = [['pt-BR', 'en'], ['de-DE', 'en-GB'], ['fr'], ['EN-us', 'pt'], ['pt'], []].map(fromBrowser);
  assert.deepEqual(chosen, ['pt', 'en', 'en', 'en', 'pt', 'en']);
});

test('the picture in words: turns to the left or right of ahead, within half a turn, and numbers as the language writes them', () => {
  const view = { projection: 'perspective', mode: 'line' };
  const at = (values) => ({ x: 0, y: 0, speed: 0, heading: 0, wheelAngle: 0, turretAngle: 0, cannonAngle: 0, ...values });
  const english = describePicture(at({ heading: -370, turretAngle: 190.4, wheelAngle: 15, speed: -0.2 }), view, 'en');
  for (const said of [fill('en', 'facingRight', 10), fill('en', 'aimRight', 170), fill('en', 'wheelsLeft', 15), fill('en', 'backwards', '0.20')]) {
    assert.ok(english.includes(said), `"${english}" does not say "${said}"`);
  }
  const ahead = describePicture(at({ heading: 720.2, turretAngle: -0.4, y: -1234.5 }), view, 'pt');
  for (const said of [fill('pt', 'facingAhead'), fill('pt', 'aimAhead'), fill('pt', 'atRest'), '-1234,50']) {
    assert.ok(ahead.includes(said), `"${ahead}" does not say "${said}"`);
  }
});
