// The shape a student makes in the page, taken home: the page's C++ built
// into the desktop program draws the picture the page drew.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { check, expect, expectNoErrors, useEngine } from './checks.mjs';
import { captureFrame, compareFrame, openPage } from './lib.mjs';

let browser;
let server;
useEngine((started) => ({ browser, server } = started));

const sources = new URL('../..', import.meta.url).pathname;
// Numbers of every kind (floats, a double, a whole number, a wheel's mount)
// changed far enough that the picture is not the built-in one's: the ground
// alone changes most of it.
const shape = 'rideHeight:1.5,wheels[2].x:-4.5,wheelRadius:1,wheelSlices:7,hull.width:9,hull.length:11,turretLift:2,'
  + 'cannon.length:8.25,groundGrey:0.3';

check('the shape copied as C++ and built on the desktop draws the picture the page draws', async () => {
  const { page, errors } = await openPage(browser, `${server.url}#shape=${shape}`);
  await page.click('#shape-panel summary');
  await page.click('#shape-copy');
  const cpp = await page.$eval('#shape-cpp', (e) => e.textContent);
  await captureFrame(page, null);
  const builtIn = await compareFrame(page, 'golden/start.png');
  expect(builtIn.share < 0.9, `the page's shape draws nearly the built-in start frame (${builtIn.share})`);
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-shape-'));
  try {
    fs.writeFileSync(path.join(work, 'tank_shape.cpp'), cpp);
    const png = path.join(work, 'desktop.png');
    execFileSync('bash', [new URL('../shape_desktop.sh', import.meta.url).pathname, sources, path.join(work, 'tank_shape.cpp'), png],
      { stdio: ['ignore', 'inherit', 'inherit'], timeout: 240000 });
    const desktop = `data:image/png;base64,${fs.readFileSync(png).toString('base64')}`;
    const { share } = await compareFrame(page, desktop);
    expect(share >= 0.99, `only ${(share * 100).toFixed(2)} % of the page's pixels within 16/255 of the desktop's with the same shape`);
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  expectNoErrors(errors);
  await page.close();
});
