// A drive shared as a link or a file, replayed exactly, stopped, or refused.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  check, engine, expect, expectNoErrors, help, useEngine,
} from './checks.mjs';
import {
  afterReload, engineNames, firstDifference, launch, openPage, sleep, traceText, waitForStart, waitForTrace,
} from './lib.mjs';
import { decode, encode } from '../../web/drive-code.js';
import { fill, words } from '../../web/words.js';

// A text of the page as it reads with any numbers in it.
const saying = (name) => new RegExp(`^${words.en[name].replace(/[.*+?^$()|[\]\\]/g, '\\$&').replace(/\{\d\}/g, '\\d+')}`);

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));

// A random drive from a seed: arrows held together, one letter at a time
// (WebKitGTK's driver drops the release of a letter held under another),
// taps of every key the program knows and some it does not, the trace off
// and on, a new window size, and ESC to end it, so that its trace is whole.
async function randomDrive(page, seed) {
  let state = seed;
  const random = (n) => {
    state = (Math.imul(state, 1103515245) + 12345) >>> 0;
    return (state >>> 8) % n;
  };
  const arrows = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight'];
  const letters = ['z', 'x', 'q', 'a', 'i', 'o', 'f', 'l', 'p', 'h', 'd', 'w', 'Z'];
  const held = new Set();
  for (let i = 0; i < 24; i++) {
    const what = random(5);
    if (what <= 1) {
      const key = arrows[random(4)];
      if (held.has(key)) await page.keyboard.up(key);
      else await page.keyboard.down(key);
      held[held.has(key) ? 'delete' : 'add'](key);
    } else if (what === 2) {
      const key = letters[random(4)];
      await page.keyboard.down(key);
      await sleep(random(300));
      await page.keyboard.up(key);
    } else if (what === 3) {
      await page.keyboard.press(letters[random(letters.length)]);
    } else if (i === 12) {
      await page.$eval('.screen', (e) => { e.style.cssText = 'flex: none; width: 500px; height: 400px'; });
    }
    await sleep(random(250));
  }
  for (const key of held) await page.keyboard.up(key);
  await sleep(300);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => /^ended/.test(document.getElementById('status').textContent), { timeout: 5000 });
}

// At the end of a drive or its replay: the trace (its characters are its
// bytes, one each), the model's seven floats, and what the tree shows.
// A text file dropped on the page, as a reader drags one from their files.
function dropFile(page, name, content) {
  return page.evaluate((fileName, text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], fileName, { type: 'text/plain' }));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
  }, name, content);
}

async function endState(page) {
  await page.waitForFunction(() => /^ended/.test(document.getElementById('status').textContent), { timeout: 60000 });
  await sleep(300);
  return page.evaluate(() => {
    const m = Module.HEAPF32.subarray(Module._webModel() / 4, Module._webModel() / 4 + 7);
    return {
      trace: document.getElementById('trace').textContent,
      model: Array.from(m),
      tree: Array.from(document.querySelectorAll('[data-model]'), (e) => e.textContent).join(' '),
    };
  });
}

check('a drive shared as a link replays its trace byte for byte, here and in another engine', async () => {
  const seed = Number(process.env.TANK_SEED || Date.now() % 100000);
  const { page, errors } = await openPage(browser, server.url);
  await randomDrive(page, seed);
  await page.click('#share');
  const link = await page.$eval('#drive-link', (e) => e.href);
  const file = await page.$eval('#drive-file', (e) => decodeURIComponent(e.href.replace(/^data:[^,]*,/, '')));
  expect(/#drive=[A-Za-z0-9_-]+$/.test(link) && file === `${link}\n`, `the link ${link.slice(0, 80)}, the file ${file.slice(0, 80)}`);
  const original = await endState(page);
  expect(original.trace.startsWith(help), 'the original trace was cut: the drive is too long for the panel');
  expectNoErrors(errors);
  await page.close();
  console.log(`     seed ${seed} (TANK_SEED): ${original.trace.split('\n').length - 1} lines, a link of ${link.length} characters`);
  // Replayed here, by the link and by the file, then in another engine.
  const replayed = async (where, open) => {
    const { replay, replayErrors } = await open();
    const said = await replay.$eval('#drive-note', (e) => e.textContent);
    expect(new RegExp(`${saying('replaying').source} ${words.en.stopReplay}$`).test(said), `${where}: the replay said "${said}"`);
    const state = await endState(replay);
    const wrong = firstDifference(state.trace, original.trace);
    expect(!wrong, `${where}: the replay's trace differs from the original's: ${wrong}`);
    expect(state.model.join() === original.model.join(), `${where}: the replay ended at ${state.model}, the original at ${original.model}`);
    expect(state.tree === original.tree, `${where}: the tree shows ${state.tree}, the original showed ${original.tree}`);
    expect(saying('replayEnded').test(await replay.$eval('#drive-note', (e) => e.textContent)), `${where}: the end of the program by the replay was not said`);
    expectNoErrors(replayErrors);
    await replay.close();
  };
  await replayed(engine, async () => {
    const replay = await browser.newPage();
    await replay.setViewport({ width: 1280, height: 900 });
    await replay.goto(link);
    return { replay, replayErrors: replay.errors };
  });
  await replayed(`${engine}, from the file`, async () => {
    const replay = await browser.newPage();
    await replay.setViewport({ width: 1280, height: 900 });
    await replay.goto(server.url);
    await waitForStart(replay, replay.errors);
    await afterReload(replay, () => dropFile(replay, 'drive.txt', file), replay.errors);
    expect(/^#drive=/.test(await replay.evaluate(() => location.hash)), 'the dropped drive is not in the address');
    return { replay, replayErrors: replay.errors };
  });
  const other = engineNames[(engineNames.indexOf(engine) + 1) % engineNames.length];
  const otherBrowser = await launch(other);
  try {
    await replayed(`recorded in ${engine}, replayed in ${other}`, async () => {
      const replay = await otherBrowser.newPage();
      await replay.setViewport({ width: 1280, height: 900 });
      await replay.goto(link);
      return { replay, replayErrors: replay.errors };
    });
  } finally {
    await otherBrowser.close();
  }
});

check('a replay can be stopped and the keys are the reader\'s again; a bad link or file runs nothing', async () => {
  const { page, errors } = await openPage(browser, server.url);
  await page.keyboard.down('ArrowUp');
  await waitForTrace(page, /Velocidade 0\.52/);
  await sleep(1500);
  await page.keyboard.up('ArrowUp');
  await page.click('#share');
  const link = await page.$eval('#drive-link', (e) => e.href);
  // The link followed on the page itself starts afresh.
  await afterReload(page, () => page.click('#drive-link'), errors);
  expect(/^Replaying/.test(await page.$eval('#drive-note', (e) => e.textContent)), 'the link followed on the page did not replay');
  await waitForTrace(page, /Carregou na tecla especial 101\n(.*\n)*Velocidade 0\.2/);
  // Stopped half way: the up arrow the replay held is let go, the keys
  // drive again, and nothing more of the drive comes.
  await page.click('#drive-note button');
  await waitForTrace(page, /Largou a tecla especial 101\n/);
  await sleep(300);
  const said = await page.$eval('#drive-note', (e) => e.textContent);
  expect(saying('replayStopped').test(said), `the stop said "${said}"`);
  const stopped = await traceText(page);
  expect(stopped.split('Largou a tecla especial 101\n').length === 2, `the stop did not let go of the up arrow the replay held, once: ${JSON.stringify(stopped.slice(-400))}`);
  const from = stopped.length;
  await page.focus('#canvas');
  await page.keyboard.press('z');
  await waitForTrace(page, /Carregou na tecla z\n(.*\n)*Largou a tecla z\n/, from);
  await sleep(2000);
  expect(!(await traceText(page)).slice(from).includes('especial 101'), 'the drive went on after the stop');
  expectNoErrors(errors);
  // Links cut short, altered, of another format or not base64url, and a
  // file with no drive: said, and the program runs as on a plain visit.
  const code = link.split('#drive=')[1];
  const foreign = encode(decode(code)).replace(/^dGsB/, 'dGsC');
  const altered = `${code.slice(0, 8)}${code[8] === 'A' ? 'B' : 'A'}${code.slice(9)}`;
  const bad = [[code.slice(0, -3), 'malformed'], [altered, 'malformed'], ['!!', 'malformed'], ['', 'malformed'],
    [foreign, 'foreign']];
  for (const [badCode, reason] of bad) {
    await page.goto('about:blank');
    await page.goto(`${server.url}#drive=${badCode}`);
    await waitForStart(page, errors);
    const note = await page.$eval('#drive-note', (e) => e.textContent);
    expect(note === fill('en', 'badLink', words.en[reason]), `#drive=${badCode.slice(0, 20)}: "${note}"`);
    const start = (await traceText(page)).length;
    await page.keyboard.press('x');
    await waitForTrace(page, /Carregou na tecla x\n/, start);
    expect(!/Carregou|Largou/.test((await traceText(page)).slice(0, start)), `#drive=${badCode.slice(0, 20)} ran keys`);
  }
  await dropFile(page, 'letter.txt', 'a letter, not a drive\n');
  await page.waitForFunction((said) => document.getElementById('drive-note').textContent.startsWith(said), { timeout: 5000 },
    words.en.badFile.split('{')[0]);
  // The keyboard's way to a file, the file input, reads it the same way.
  const cut = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'tank-drive-')), 'drive.txt');
  fs.writeFileSync(cut, `${server.url}#drive=${code.slice(0, -3)}\n`);
  await (await page.$('#drive-input')).uploadFile(cut);
  await page.waitForFunction((said) => document.getElementById('drive-note').textContent === said, { timeout: 5000 },
    fill('en', 'badFile', words.en.malformed));
  fs.rmSync(path.dirname(cut), { recursive: true });
  expectNoErrors(errors);
  await page.close();
});
