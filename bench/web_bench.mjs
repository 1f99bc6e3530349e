// make bench-web: the browser build's figures, beside a floor page that
// only clears the canvas every 20 ms, measured side by side in one run.
//   node bench/web_bench.mjs PAGE_DIR FLOOR_DIR ENGINE...
// A benchmark, not a test: it prints a table with verdicts and exits 0
// unless the page cannot be measured at all.
import zlib from 'node:zlib';
import fs from 'node:fs';
import path from 'node:path';
import { countTicks, launch, sleep } from '../tests/web/lib.mjs';
import { serve } from '../scripts/serve.mjs';

const [pageDir, floorDir, ...engines] = process.argv.slice(2);
if (!pageDir || !floorDir || engines.length === 0) {
  console.error('usage: web_bench.mjs PAGE_DIR FLOOR_DIR ENGINE...');
  process.exit(2);
}
const starts = 5;  // page loads per figure of start-up; the median is kept

const server = await serve({ '/': pageDir, '/floor/': floorDir });

// Loads a page, waits for its first frame and counts ticks from then on.
async function load(browser, url) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('first-frame').length > 0,
    { timeout: 30000, polling: 10 });
  const firstFrame = await page.evaluate(() => performance.getEntriesByName('first-frame')[0].startTime);
  await countTicks(page);
  return { page, errors, firstFrame };
}

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function tickRate(page, seconds) {
  const t0 = await page.evaluate(() => [performance.now(), window.ticks]);
  await sleep(seconds * 1000);
  const t1 = await page.evaluate(() => [performance.now(), window.ticks]);
  return (t1[1] - t0[1]) / ((t1[0] - t0[0]) / 1000);
}

async function metrics(page) {
  try {
    const m = await page.metrics();
    return { task: m.TaskDuration, heap: m.JSHeapUsedSize, time: m.Timestamp };
  } catch {
    return null;  // not every engine gives them (Firefox does not)
  }
}

async function measure(engine) {
  const browser = await launch(engine);
  try {
    const tankStarts = [];
    const floorStarts = [];
    for (let i = 0; i < starts; i++) {
      for (const [url, into] of [[server.url, tankStarts], [`${server.url}floor/`, floorStarts]]) {
        const { page, firstFrame } = await load(browser, url);
        into.push(firstFrame / 1000);
        await page.close();
      }
    }
    server.served.length = 0;
    const { page, errors } = await load(browser, server.url);
    const loaded = server.served.map((f) => f.name);
    await sleep(Math.max(0, 2000 - (await page.evaluate(() => performance.now()))));
    const m0 = await metrics(page);
    const rest = await tickRate(page, 10);
    const m1 = await metrics(page);
    await page.keyboard.down('ArrowUp');
    const driving = await tickRate(page, 8);
    await page.keyboard.up('ArrowUp');
    const m2 = await metrics(page);
    await page.close();
    return {
      loaded,
      tankStart: median(tankStarts),
      floorStart: median(floorStarts),
      rest,
      driving,
      mainThread: m0 && m1 ? (m1.task - m0.task) / (m1.time - m0.time) : null,
      heapAt2: m0 && m0.heap,
      heapEnd: m2 && m2.heap,
      errors,
    };
  } finally {
    await browser.close();
  }
}

const results = {};
for (const engine of engines) results[engine] = await measure(engine);
server.close();

// Page weight: every file a page load fetched, as stored and gzipped.
const files = [...new Set(Object.values(results).flatMap((r) => r.loaded))];
let bytes = 0;
let gzipped = 0;
console.log('page weight');
for (const name of files) {
  const data = fs.readFileSync(path.join(pageDir, name === '/' ? 'index.html' : name));
  const gz = zlib.gzipSync(data, { level: 9 }).length;
  bytes += data.length;
  gzipped += gz;
  console.log(`  ${name.padEnd(20)} ${String(data.length).padStart(8)} B ${String(gz).padStart(8)} B gzipped`);
}
const ok = (good) => (good ? 'ok' : 'MISSED');
console.log(`  ${'all'.padEnd(20)} ${String(bytes).padStart(8)} B ${String(gzipped).padStart(8)} B gzipped`
  + `   target <= 200 KB: ${ok(bytes <= 200 * 1024)}\n`);

const fmt = (v, digits) => (v === null || v === undefined ? 'n/a' : v.toFixed(digits));
const rows = [
  ['navigation to first frame (s)', (r) => fmt(r.tankStart, 3), ''],
  ['  same, floor page (s)', (r) => fmt(r.floorStart, 3), ''],
  ['  tank - floor (s)', (r) => `${fmt(r.tankStart - r.floorStart, 3)} ${ok(r.tankStart - r.floorStart <= 0.2)}`, '<= 0.2'],
  ['tick rate at rest, 10 s (lines/s)', (r) => `${fmt(r.rest, 1)} ${ok(r.rest >= 49.5)}`, '>= 49.5'],
  ['tick rate, up arrow held, 8 s', (r) => `${fmt(r.driving, 1)} ${ok(r.driving >= 49.5)}`, '>= 49.5'],
  ['main-thread s per s, at rest', (r) => fmt(r.mainThread, 3), ''],
  ['JS heap at 2 s (KiB)', (r) => fmt(r.heapAt2 && r.heapAt2 / 1024, 0), ''],
  ['JS heap at the end (KiB)', (r) => fmt(r.heapEnd && r.heapEnd / 1024, 0), ''],
  ['page errors', (r) => String(r.errors.length), '0'],
];
console.log(['measure'.padEnd(36), ...engines.map((e) => e.padStart(16)), 'target'.padStart(10)].join(' '));
for (const [label, value, target] of rows) {
  console.log([label.padEnd(36), ...engines.map((e) => value(results[e]).padStart(16)), target.padStart(10)].join(' '));
}
console.log(`(start-up: median of ${starts} loads of each page)`);
