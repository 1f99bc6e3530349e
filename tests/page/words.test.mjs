// The page's two languages, without a browser: every text in both with the
// same values, the tree's texts rewritten with their numbers and names
// kept, and the language a browser's preferences choose.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { fill, fromBrowser, treeText, words } from '../../web/words.js';

test('both tables have the same texts, none empty, with the same values', () => {
  const names = (language) => Object.keys(words[language]).sort();
  assert.deepEqual(names('pt'), names('en'));
  const holes = (t) => (t.match(/\{\d\}/g) || []).sort().join();
  for (const name of names('en')) {
    assert.ok(words.en[name] && words.pt[name], `"${name}" is empty in a language`);
    assert.equal(holes(words.pt[name]), holes(words.en[name]), `"${name}" has other values in Portuguese`);
  }
  assert.equal(fill('en', 'replaying', 3, 40), 'Replaying a shared drive: step 3 of 40.');
  assert.throws(() => fill('pt', 'noSuchText'), /no text "noSuchText"/);
});

test("the tree's texts in Portuguese keep their numbers and model values", () => {
  const cases = {
    push: 'empilha',
    'translate ({x}, {y}, 0)': 'translação ({x}, {y}, 0)',
    'rotate {heading} about Z': 'rotação de {heading} em torno de Z',
    'rotate -90 about X': 'rotação de -90 em torno de X',
    'scale (4, 7, 1)': 'escala (4, 7, 1)',
    'front left wheel': 'roda dianteira esquerda',
    '6 polygons': '6 polígonos',
    'rotate {pitch} = {speed} × 6 about X': 'rotação de {pitch} = {speed} × 6 em torno de X',
    'cylinder radius 0.5, length 0.4': 'cilindro de raio 0.5, comprimento 0.4',
  };
  for (const [english, portuguese] of Object.entries(cases)) assert.equal(treeText(english, 'pt'), portuguese);
  assert.equal(treeText('translate (1, 2, 3)', 'en'), 'translate (1, 2, 3)');
  assert.equal(treeText('an antenna', 'pt'), null);
});

test("the page follows the first of the browser's languages it has", () => {
  const chosen = [['pt-BR', 'en'], ['de-DE', 'en-GB'], ['fr'], ['EN-us', 'pt'], ['pt'], []].map(fromBrowser);
  assert.deepEqual(chosen, ['pt', 'en', 'en', 'en', 'pt', 'en']);
});
