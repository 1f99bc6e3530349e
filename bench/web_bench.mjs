// make bench-web: the browser build's figures beside a floor page, the same
// page around a program that only clears the canvas and prints one line of
// the trace's shape every 20 ms, measured side by side in one run; and, on
// a phone as Lighthouse simulates one, beside the plain page, the same
// markup drawn with plain WebGL and no emscripten (bench/plain.js).
//   node bench/web_bench.mjs PAGE_DIR FLOOR_DIR PLAIN_DIR ENGINE...
// A benchmark, not a test: it prints tables with verdicts and exits 0
// unless a page cannot be measured at all.
import zlib from 'node:zlib';
import fs from 'node:fs';
import path from 'node:path';
import { processes, processesUnder } from '../tests/web/drivers.mjs';
import { countTicks, launch, sleep, waitForStart } from '../tests/web/lib.mjs';
import { lighthouseMobile } from './lighthouse.mjs';
import { serve } from '../scripts/serve.mjs';
import { encode } from '../web/drive-code.js';
import { keyEvent, reshapeEvent, translate } from '../web/keys.js';

const [pageDir, floorDir, plainDir, ...engines] = process.argv.slice(2);
if (!pageDir || !floorDir || !plainDir || engines.length === 0) {
  console.error('usage: web_bench.mjs PAGE_DIR FLOOR_DIR PLAIN_DIR ENGINE...');
  process.exit(2);
}
const starts = 5;  // page loads per start-up figure; the median is kept
const rounds = Number(process.env.ROUNDS || 5);  // rounds of the main-thread figures
const phaseSeconds = Number(process.env.PHASE_SECONDS || 5);

const server = await serve({ '/tank/': pageDir, '/floor/': floorDir, '/plain/': plainDir }, { home: '/tank/', record: true });
const pages = { tank: server.url, floor: new URL('/floor/', server.url).href, plain: new URL('/plain/', server.url).href };

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Loads a page as at a first visit (a browser context of its own, so no
// earlier visit's worker serves it) and waits for its first frame.
async function load(browser, url) {
  const context = await browser.puppeteer.createBrowserContext();
  const page = await context.newPage();
  page.once('close', () => context.close().catch(() => {}));
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('first-frame').length > 0,
    { timeout: 30000, polling: 10 });
  const firstFrame = await page.evaluate(() => performance.getEntriesByName('first-frame')[0].startTime);
  return { page, errors, firstFrame };
}

// CPU seconds used so far by the browser's processes (the one puppeteer
// started and all below it), from /proc: what the engine costs the machine,
// rendering and compositing included, for engines that report nothing
// themselves (Firefox).
// browser: puppeteer's own, as a page gives it.
function browserCpu(browser) {
  const root = browser.process().pid;
  const all = processes();
  return [root, ...processesUnder(root, all)].reduce((total, pid) => total + (all.get(pid)?.cpu ?? 0), 0);
}

async function sample(page) {
  const cpu = browserCpu(page.browser());
  const inPage = await page.evaluate(() => [performance.now(), window.ticks]);
  let task = null;
  try {
    const m = await page.metrics();  // Chromium (DevTools protocol) only
    task = [m.TaskDuration, m.Timestamp];
  } catch {
    // Firefox gives no such metrics
  }
  return { now: inPage[0], ticks: inPage[1], task, cpu };
}

// One phase: main-thread seconds per second (DevTools' TaskDuration, where
// the engine has it) and trace lines per second.
async function phase(page, seconds) {
  const a = await sample(page);
  await sleep(seconds * 1000);
  const b = await sample(page);
  const elapsed = (b.now - a.now) / 1000;
  return {
    task: a.task && b.task ? (b.task[0] - a.task[0]) / (b.task[1] - a.task[1]) : null,
    cpu: (b.cpu - a.cpu) / elapsed,
    rate: (b.ticks - a.ticks) / elapsed,
  };
}

// A page at rest with the trace on, then with the up arrow held, then with
// a part of the tree chosen too (its frame drawn), then at rest with the
// trace off (D), each phase for the same time. Then, for the tank, a
// replay of a drive with the up arrow held all along, from its link; the
// floor, which replays nothing, is held against it with its driving phase.
async function phases(browser, url) {
  const { page, errors } = await load(browser, url);
  await waitForStart(page, errors);
  await countTicks(page);
  await sleep(3000);  // past the start-up's compiling and collecting
  const rest = await phase(page, phaseSeconds);
  await page.keyboard.down('ArrowUp');
  const driving = await phase(page, phaseSeconds);
  // The turret's frame chosen in the tree, as a reader clicks it, and again.
  const turretFrame = () => page.evaluate(() => document.querySelector('[data-part="turretFrame"]')?.click());
  await turretFrame();
  const framed = await phase(page, phaseSeconds);
  await turretFrame();
  await page.keyboard.up('ArrowUp');
  await page.keyboard.press('d');
  await sleep(300);
  const off = await phase(page, phaseSeconds);
  // The drive: the start's reshape, then the up arrow pressed before the
  // first step and held for a minute.
  const drive = { steps: 3000, events: [[0, reshapeEvent], [0, keyEvent(translate('ArrowUp', 'ArrowUp'), true)]] };
  const link = await page.evaluate((code) => (typeof window.Module._webModelText === 'function'
    ? `${location.href.replace(/#.*$/, '')}#drive=${code}` : null), encode(drive));
  await page.close();
  let replay = driving;
  if (link) {
    const replaying = await load(browser, link);
    await countTicks(replaying.page);
    await sleep(3000);
    replay = await phase(replaying.page, phaseSeconds);
    errors.push(...replaying.errors);
    await replaying.page.close();
  }
  return { rest, driving, framed, off, replay, errors };
}

async function measure(engine) {
  const browser = await launch(engine);
  try {
    const startTimes = { tank: [], floor: [] };
    for (let i = 0; i < starts; i++) {
      for (const which of ['tank', 'floor']) {
        const { page, firstFrame } = await load(browser, pages[which]);
        startTimes[which].push(firstFrame / 1000);
        await page.close();
      }
    }
    server.served.length = 0;
    const { page, errors } = await load(browser, pages.tank);
    const loaded = server.served.filter((name) => name.startsWith('/tank/'));
    await page.close();

    const runs = { tank: [], floor: [] };
    for (let i = 0; i < rounds; i++) {
      for (const which of ['tank', 'floor']) runs[which].push(await phases(browser, pages[which]));
    }
    return { loaded, startTimes, runs, errors: [...errors, ...runs.tank.flatMap((r) => r.errors)] };
  } finally {
    await browser.close();
  }
}

// Lighthouse's mobile figures first, on a quiet machine.
const lighthouseRuns = Number(process.env.LIGHTHOUSE_RUNS || 3);
const phone = await lighthouseMobile({ tank: pages.tank, plain: pages.plain }, lighthouseRuns);
const results = {};
for (const engine of engines) results[engine] = await measure(engine);
server.close();

// Page weight: every file a page load fetched, as stored and gzipped, the
// navigation's "/" being index.html; what the program needs to run, and
// with it what the worker keeps for the offline copy and the installable
// app (the worker, manifest and icons), which the load may not have
// finished fetching when it is measured.
const appFiles = ['sw.js', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];
const fetched = Object.values(results).flatMap((r) => r.loaded)
  .map((name) => (name === '/tank/' ? 'index.html' : name.slice('/tank/'.length)));
const files = [...new Set([...fetched.filter((name) => !appFiles.includes(name)), ...appFiles])];
const sums = { run: [0, 0], all: [0, 0] };
console.log('page weight');
for (const name of files) {
  const data = fs.readFileSync(path.join(pageDir, name));
  const gz = zlib.gzipSync(data, { level: 9 }).length;
  for (const key of appFiles.includes(name) ? ['all'] : ['run', 'all']) {
    sums[key][0] += data.length;
    sums[key][1] += gz;
  }
  console.log(`  ${name.padEnd(22)} ${String(data.length).padStart(8)} B ${String(gz).padStart(8)} B gzipped`);
}
const ok = (good) => (good ? 'ok' : 'MISSED');
const weight = (label, [b, g]) => `  ${label.padEnd(22)} ${String(b).padStart(8)} B ${String(g).padStart(8)} B gzipped`;
console.log(`${weight('to run the program', sums.run)}   target <= 260 KB: ${ok(sums.run[0] <= 260 * 1024)}`);
console.log(`${weight('with the app\'s files', sums.all)}   target <= 100 KB gzipped: ${ok(sums.all[1] <= 100 * 1024)}`);
const program = ['tank.js', 'tank.wasm'].map((name) => fs.readFileSync(path.join(pageDir, name)))
  .reduce(([b, g], data) => [b + data.length, g + zlib.gzipSync(data, { level: 9 }).length], [0, 0]);
console.log(`${weight('the program\'s two files', program)}   target <= 30 KB gzipped: ${ok(program[1] <= 30 * 1024)}`);
const single = fs.readFileSync(path.join(pageDir, 'tank.html'));
console.log(`${weight('the single file', [single.length, zlib.gzipSync(single, { level: 9 }).length])}`
  + `   target < 260,000 B: ${ok(single.length < 260000)}\n`);

// Each figure's median, and its range over the runs.
const spread = (values, digits) => `${median(values).toFixed(digits)} (${Math.min(...values).toFixed(digits)}-${Math.max(...values).toFixed(digits)})`;
console.log(`Lighthouse ${JSON.parse(fs.readFileSync(new URL('../node_modules/lighthouse/package.json', import.meta.url))).version}, mobile (simulated slow 4G, 4x slower CPU), Chromium, the served pages, in turn: median (range) of ${lighthouseRuns} runs`);
console.log(`  ${'measure'.padEnd(30)} ${'tank'.padStart(24)} ${'target'.padEnd(22)} ${'plain WebGL'.padStart(24)}`);
const plainScore = median(phone.plain.score);
for (const [label, figure, digits, good, target] of [
  ['performance score', 'score', 0, (v) => v >= 90 && v >= plainScore - 5, '>= 90, plain - 5'],
  ['total blocking time (ms)', 'tbt', 0, (v) => v <= 300, '<= 300'],
  ['time to interactive (s)', 'tti', 2, () => true, ''],
  ['first contentful paint (s)', 'fcp', 2, () => true, ''],
  ['largest contentful paint (s)', 'lcp', 2, () => true, ''],
  ['longest task (ms)', 'longest', 0, () => true, ''],
  ['transferred (KB)', 'kb', 1, (v) => v <= 100, '<= 100'],
]) {
  const verdict = target ? `${good(median(phone.tank[figure])) ? 'ok' : 'MISSED'} ${target}` : '';
  console.log(`  ${label.padEnd(30)} ${spread(phone.tank[figure], digits).padStart(24)} ${verdict.padEnd(22)} ${spread(phone.plain[figure], digits).padStart(24)}`);
}
console.log('');

const fmt = (v, digits) => (v === null || v === undefined || Number.isNaN(v) ? 'n/a' : v.toFixed(digits));
// The median over the rounds of one figure of one phase.
const med = (r, which, phaseName, figure) => {
  const values = r.runs[which].map((run) => run[phaseName][figure]);
  return values.includes(null) ? null : median(values);
};
const ratioRow = (r, figure, a, b, target) => {
  const value = med(r, 'tank', a, figure) / med(r, 'floor', b, figure);
  return Number.isFinite(value) ? `${fmt(value, 2)} ${ok(value <= target)}` : 'n/a';
};

const table = (title, rows) => {
  console.log(title);
  console.log(['  measure'.padEnd(46), ...engines.map((e) => e.padStart(16)), 'target'.padStart(10)].join(' '));
  for (const [label, value, target] of rows) {
    console.log([`  ${label}`.padEnd(46), ...engines.map((e) => value(results[e]).padStart(16)), target.padStart(10)].join(' '));
  }
  console.log('');
};

table('start-up (median of 5 loads of each page)', [
  ['navigation to first frame, tank (s)', (r) => fmt(median(r.startTimes.tank), 3), ''],
  ['navigation to first frame, floor (s)', (r) => fmt(median(r.startTimes.floor), 3), ''],
  ['tank - floor (s)', (r) => {
    const d = median(r.startTimes.tank) - median(r.startTimes.floor);
    return `${fmt(d, 3)} ${ok(d <= 0.2)}`;
  }, '<= 0.2'],
]);

for (const [figure, title] of [['task', "main thread, s per s (DevTools' TaskDuration)"],
  ['cpu', "the browser's processes, CPU s per s (/proc; the targets are the main thread's)"]]) {
  table(`${title}, median of ${rounds} rounds of ${phaseSeconds} s`, [
    ['tank, trace on, at rest', (r) => fmt(med(r, 'tank', 'rest', figure), 3), ''],
    ['floor, printing, at rest', (r) => fmt(med(r, 'floor', 'rest', figure), 3), ''],
    ['tank, trace on, up arrow held', (r) => fmt(med(r, 'tank', 'driving', figure), 3), ''],
    ['floor, printing, up arrow held', (r) => fmt(med(r, 'floor', 'driving', figure), 3), ''],
    ['tank, trace off', (r) => fmt(med(r, 'tank', 'off', figure), 3), ''],
    ['floor, silent', (r) => fmt(med(r, 'floor', 'off', figure), 3), ''],
    ['tank on / printing floor, at rest', (r) => ratioRow(r, figure, 'rest', 'rest', 1.5), '<= 1.5'],
    ['tank on / printing floor, driving', (r) => ratioRow(r, figure, 'driving', 'driving', 1.1), '<= 1.1'],
    ['tank on / silent floor, at rest', (r) => ratioRow(r, figure, 'rest', 'off', 2), '<= 2'],
    ['tank on / silent floor, driving', (r) => ratioRow(r, figure, 'driving', 'off', 2), '<= 2'],
    ['tank off / silent floor', (r) => ratioRow(r, figure, 'off', 'off', 1.1), '<= 1.1'],
    ['tank, a frame shown, driving', (r) => fmt(med(r, 'tank', 'framed', figure), 3), ''],
    ['tank, replaying a drive', (r) => fmt(med(r, 'tank', 'replay', figure), 3), ''],
    ['framed / printing floor, driving', (r) => ratioRow(r, figure, 'framed', 'driving', 1.5), '<= 1.5'],
    ['framed / silent floor', (r) => ratioRow(r, figure, 'framed', 'off', 2), '<= 2'],
    ['replay / printing floor, driving', (r) => ratioRow(r, figure, 'replay', 'driving', 1.5), '<= 1.5'],
    ['replay / silent floor', (r) => ratioRow(r, figure, 'replay', 'off', 2), '<= 2'],
  ]);
}

table(`tick rate, trace lines per s, median of ${rounds} rounds`, [
  ['tank at rest', (r) => { const v = med(r, 'tank', 'rest', 'rate'); return `${fmt(v, 1)} ${ok(v >= 49.5)}`; }, '>= 49.5'],
  ['tank, up arrow held', (r) => { const v = med(r, 'tank', 'driving', 'rate'); return `${fmt(v, 1)} ${ok(v >= 49.5)}`; }, '>= 49.5'],
  ['tank, a frame shown', (r) => { const v = med(r, 'tank', 'framed', 'rate'); return `${fmt(v, 1)} ${ok(v >= 49.5)}`; }, '>= 49.5'],
  ['tank, replaying', (r) => { const v = med(r, 'tank', 'replay', 'rate'); return `${fmt(v, 1)} ${ok(v >= 49.5)}`; }, '>= 49.5'],
  ['floor at rest', (r) => fmt(med(r, 'floor', 'rest', 'rate'), 1), ''],
  ['page errors', (r) => String(r.errors.length), '0'],
]);
