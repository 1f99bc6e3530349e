// make soak-web SECONDS=600: seeded random keys and touch-button presses on
// the browser build in headless Chromium for that long. Fails on a page
// error, a stalled trace, a trace panel over its line limit, or JavaScript
// heap growth over 2 MiB after a one-minute warm-up.
//   node bench/web_soak.mjs PAGE_DIR SECONDS SEED
import { countTicks, launch, openPage, sleep } from '../tests/web/lib.mjs';
import { serve } from '../scripts/serve.mjs';

const [pageDir, secondsArg = '600', seedArg = '1'] = process.argv.slice(2);
const seconds = Number(secondsArg);
if (!pageDir || !(seconds > 0)) {
  console.error('usage: web_soak.mjs PAGE_DIR SECONDS [SEED]');
  process.exit(2);
}
const warmUp = Math.min(60, seconds / 2);
const heapLimit = 2 * 1024 * 1024;
const lineLimit = 1000;

// mulberry32: a small seeded generator, so a failing run can be replayed.
let state = Number(seedArg) >>> 0;
function random() {
  state = (state + 0x6d2b79f5) >>> 0;
  let t = state;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (list) => list[Math.floor(random() * list.length)];

// Everything but ESC (which ends the run) and D (which would stop the trace
// this soak watches), plus keys the program has no meaning for.
const keys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'z', 'x', 'q', 'a', 'Z', 'Q',
  'i', 'o', 'f', 'l', 'p', 'h', 'w', '7', 'F2', 'Shift', 'Home'];
const buttons = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'z', 'x', 'q', 'a', 'i', 'o',
  'f', 'l', 'p', 'h'];

const server = await serve({ '/tank/': pageDir });
const browser = await launch('chromium');
const failures = [];
let events = 0;
try {
  const { page, errors } = await openPage(browser, server.url);
  const client = await page.createCDPSession();
  const heap = async () => {
    await client.send('HeapProfiler.collectGarbage');
    return (await page.metrics()).JSHeapUsedSize;
  };
  const boxes = {};
  for (const key of buttons) {
    const box = await (await page.$(`[data-key="${key}"]`)).boundingBox();
    boxes[key] = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }
  const panelLines = () => page.evaluate(() => document.getElementById('trace').textContent.split('\n').length - 1);

  const start = performance.now();
  let heapAfterWarmUp = null;
  let lastCheck = performance.now();
  let ticksSeen = 0;
  await countTicks(page);
  while (performance.now() - start < seconds * 1000) {
    if (random() < 0.7) {
      const key = pick(keys);
      await page.keyboard.down(key);
      await sleep(random() * 300);
      await page.keyboard.up(key);
    } else {
      const { x, y } = boxes[pick(buttons)];
      await page.mouse.move(x, y);
      await page.mouse.down();
      await sleep(random() * 300);
      await page.mouse.up();
    }
    events++;
    await sleep(random() * 150);

    if (performance.now() - lastCheck >= 2000) {
      lastCheck = performance.now();
      const ticks = await page.evaluate(() => window.ticks);
      if (ticks <= ticksSeen) failures.push(`the trace stalled at ${((performance.now() - start) / 1000).toFixed(0)} s`);
      ticksSeen = ticks;
      const lines = await panelLines();
      if (lines > lineLimit) failures.push(`the trace panel holds ${lines} lines`);
      if (heapAfterWarmUp === null && performance.now() - start >= warmUp * 1000) heapAfterWarmUp = await heap();
      if (errors.length) failures.push(`page errors: ${errors.join('; ')}`);
      if (failures.length) break;
    }
  }
  const elapsed = (performance.now() - start) / 1000;
  const ticks = await page.evaluate(() => window.ticks);
  const heapEnd = await heap();
  if (heapAfterWarmUp !== null && heapEnd - heapAfterWarmUp > heapLimit) {
    failures.push(`JavaScript heap grew by ${((heapEnd - heapAfterWarmUp) / 1024).toFixed(0)} KiB`);
  }
  const lines = await panelLines();
  console.log(`soak-web: ${elapsed.toFixed(0)} s, ${events} events (seed ${seedArg}), `
    + `${(ticks / elapsed).toFixed(1)} ticks/s, trace panel ${lines} lines, JavaScript heap `
    + `${heapAfterWarmUp === null ? 'n/a' : (heapAfterWarmUp / 1024).toFixed(0)} KiB after `
    + `${warmUp} s, ${(heapEnd / 1024).toFixed(0)} KiB at the end`);
} finally {
  await browser.close();
  server.close();
}
if (failures.length) {
  console.log(`soak-web FAILED: ${failures.join('; ')}`);
  process.exit(1);
}
console.log('soak-web: passed');
