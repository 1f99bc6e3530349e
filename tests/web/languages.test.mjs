// The page in English and in Portuguese.
import {
  check, expect, expectNoErrors, help, useEngine,
} from './checks.mjs';
import {
  axeViolations, firstDifference, openPage, traceText, waitForStart,
} from './lib.mjs';
import { treeText, words } from '../../web/words.js';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));


check('Portuguese and English: every text in both, the choice remembered, the program\'s words never translated', async () => {
  const { page, errors } = await openPage(browser, server.url);
  try {
    // The tree as this build's program describes it: every text has a
    // Portuguese rule (the tables themselves are checked in tests/page/).
    const tree = await page.evaluate(() => JSON.parse(Module.UTF8ToString(Module._webTreeJson())));
    const untranslated = [...new Set(tree.flatMap((n) => [...n.steps, ...n.label.slice(1)]))].filter((t) => treeText(t, 'pt') === null)
      .concat(tree.filter((n) => treeText(n.label[0], 'pt', n.id) === null).map((n) => `${n.label[0]} (${n.id})`));
    expect(untranslated.length === 0, untranslated.map((t) => `the tree's "${t}" has no Portuguese`).join('; '));
    const tables = { words };
    // What the page shows in one language has nothing of the other's.
    const shown = () => page.evaluate(() => {
      const texts = [];
      const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
      for (let n = walker.nextNode(); n; n = walker.nextNode()) {
        if (!n.parentElement.closest('#trace, script, var, b') && n.data.trim()) texts.push(n.data.trim());
      }
      for (const e of document.querySelectorAll('[aria-label], [title]')) texts.push(e.getAttribute('aria-label') || e.title);
      return texts;
    });
    const only = (language, other) => Object.keys(tables.words[language]).filter((n) => tables.words[language][n] !== tables.words[other][n] && !/\{\d\}/.test(tables.words[language][n]) && n !== 'other' && n !== 'otherTitle')
      .map((n) => tables.words[language][n]);
    const foreignIn = (texts, words) => texts.filter((t) => words.includes(t));
    const english = await shown();
    expect(foreignIn(english, only('pt', 'en')).length === 0, `in English the page shows ${foreignIn(english, only('pt', 'en')).join(' | ')}`);
    await page.click('#language');
    const portuguese = await shown();
    expect(foreignIn(portuguese, only('en', 'pt')).length === 0, `in Portuguese the page shows ${foreignIn(portuguese, only('en', 'pt')).join(' | ')}`);
    // Each part shown under its name in Portuguese, as the tree gives it.
    const parts = await page.evaluate(() => Array.from(document.querySelectorAll('#tree .part'), (p) => p.innerText.split('\n')[0]));
    const want = tree.map((n) => treeText(n.label[0], 'pt', n.id));
    expect(parts.join() === want.join(), `the tree's parts in Portuguese: ${parts.join(', ')}, not ${want.join(', ')}`);
    const violations = await axeViolations(page);
    expect(violations.length === 0, `axe in Portuguese: ${violations.join('; ')}`);
    // Each on-screen key named by its key and its action, in the page's
    // language.
    const unnamed = await page.evaluate((names) => Array.from(document.querySelectorAll('[data-key]'), (e) => {
      const name = e.getAttribute('aria-label') || '';
      const action = names[e.dataset.title];
      return name.includes(action) && (e.dataset.label || name.startsWith(`${e.textContent.trim()}: `)) ? null : `${e.dataset.key} "${name}"`;
    }).filter(Boolean), words.pt);
    expect(unnamed.length === 0, `on-screen keys not named for their key and action in Portuguese: ${unnamed.join(', ')}`);
    // Remembered over a reload; the program's own words as they were.
    await page.reload();
    await waitForStart(page, errors);
    const state = await page.evaluate(() => [document.documentElement.lang, document.getElementById('status').textContent, document.getElementById('fullscreen').textContent]);
    expect(state.join('|') === 'pt|a correr|Ecrã inteiro', `after a reload: ${state.join('|')}`);
    const wrong = firstDifference((await traceText(page)).slice(0, help.length), help);
    expect(!wrong, `in Portuguese the trace does not begin with the program's help: ${wrong}`);
    await page.click('#language');
    expect(await page.$eval('#fullscreen', (e) => e.textContent) === 'Full screen', 'the switch did not go back to English');
    expectNoErrors(errors);
  } finally {
    await page.evaluate(() => localStorage.removeItem('tank-language')).catch(() => {});
    await page.close();
  }
});
