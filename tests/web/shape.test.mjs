// The tank's shape changed in the page: from a link or its controls, the
// picture, the tree and the marks in the drawing's code follow; the shape
// written as C++ is the shape's own source with the changed numbers; a
// malformed shape link is refused and the tank keeps its shape.
import fs from 'node:fs';
import {
  check, expect, expectNoErrors, useEngine,
} from './checks.mjs';
import {
  afterReload, captureFrame, compareFrame, openPage,
} from './lib.mjs';
import { fill } from '../../web/words.js';

let browser;
let server;
useEngine((started) => ({ browser, server } = started));

const source = fs.readFileSync(new URL('../../render/tank_shape.cpp', import.meta.url), 'utf8');

// What the page shows of the turret's lift: its control, the turret
// frame's first step in the tree, and the marked lines of the code.
const turretState = (page) => page.evaluate(() => {
  const part = document.querySelector('[data-part="turretFrame"]').closest('li');
  return {
    control: document.getElementById('shape-turretLift').value,
    made: [...document.querySelectorAll('#code .made')].map((line) => line.textContent),
    step: [...document.querySelectorAll('#code .step')].map((line) => line.textContent),
    firstStep: part.querySelector('.steps li').textContent,
  };
});

// The picture the page draws now, as an image's address.
const pictureNow = (page) => page.evaluate(() => {
  window.Module._webRedraw();
  return document.getElementById('canvas').toDataURL('image/png');
});

check('a shape link: the picture, the tree, the control and the code follow it, and the controls take it back', async () => {
  const start = await openPage(browser, server.url);
  const builtIn = await pictureNow(start.page);
  expectNoErrors(start.errors);
  await start.page.close();
  const { page, errors } = await openPage(browser, `${server.url}#shape=turretLift:1.5`);
  await page.click('#code-panel summary');
  let state = await turretState(page);
  expect(state.control === '1.5', `the turret's lift shows ${state.control}, not the link's 1.5`);
  expect(state.firstStep.includes('translate (0, 0, 1.5)'), `the turret frame's step is "${state.firstStep}"`);
  await captureFrame(page, null);
  const lifted = await compareFrame(page, builtIn);
  // The turret alone is lifted: about one pixel in 500 of the frame moves.
  expect(lifted.share < 0.999, `with the turret lifted the picture is still the start frame (${lifted.share})`);
  // Choosing the turret frame marks the lines that made it; its step, the
  // line of the lift.
  await page.click('[data-part="turretFrame"]');
  state = await turretState(page);
  expect(state.made.some((line) => line.includes('glTranslatef(0, 0, t.turretLift);'))
    && state.made.some((line) => line.includes('namePart("turret frame");')) && state.made.length <= 4,
  `choosing the turret frame marked ${JSON.stringify(state.made)}`);
  await page.evaluate(() => document.querySelector('[data-part="turretFrame"]').closest('li').querySelector('.steps li').click());
  state = await turretState(page);
  expect(state.step.length === 1 && state.step[0].includes('t.turretLift'), `its first step marked ${JSON.stringify(state.step)}`);
  // The control back to the built-in lift: the tree has it in the same
  // task, and the picture is the start frame again.
  const sameTask = await page.evaluate(() => {
    const field = document.getElementById('shape-turretLift').nextElementSibling;
    field.value = '0.75';
    field.dispatchEvent(new Event('input', { bubbles: true }));
    return document.querySelector('[data-part="turretFrame"]').closest('li').querySelector('.steps li').textContent;
  });
  expect(sameTask.includes('translate (0, 0, 0.75)'), `the tree after the control: "${sameTask}"`);
  await page.click('[data-part="turretFrame"]');  // the frame hidden again
  await captureFrame(page, null);
  const back = await compareFrame(page, builtIn);
  expect(back.share >= 0.999, `the built-in lift again, but only ${back.share} of the start frame`);
  expectNoErrors(errors);
  await page.close();
});

check("the shape as C++ is render/tank_shape.cpp with the changed numbers only, and a recording's link carries the shape", async () => {
  const { page, errors } = await openPage(browser, server.url);
  await page.click('#shape-panel summary');
  const copied = async () => {
    await page.click('#shape-copy');
    return page.$eval('#shape-cpp', (e) => e.textContent);
  };
  const builtIn = await copied();
  expect(builtIn === source, 'the built-in shape as C++ is not render/tank_shape.cpp');
  await page.evaluate(() => {
    for (const [name, value] of [['turretLift', '1.5'], ['hull.width', '4.5'], ['wheelSlices', '8']]) {
      const field = document.getElementById(`shape-${name.replace('.', '-')}`).nextElementSibling;
      field.value = value;
      field.dispatchEvent(new Event('input', { bubbles: true }));
    }
  });
  const edited = await copied();
  const want = source.replace('0.75f,            // turretLift', '1.5f,            // turretLift')
    .replace('20,               // wheelSlices', '8,               // wheelSlices')
    .replace('{4, 7, 1},        // hull', '{4.5f, 7, 1},        // hull');
  expect(edited === want, `the edited shape as C++:\n${edited}`);
  await page.click('#share');
  const link = await page.$eval('#drive-link', (e) => e.href);
  expect(/#drive=[\w-]+&shape=wheelSlices:8,hull\.width:4\.5,turretLift:1\.5$/.test(link), `the recording's link ${link}`);
  // Followed, it replays the recording with the shape.
  await afterReload(page, () => page.click('#drive-link'), errors);
  const state = await turretState(page);
  const note = await page.$eval('#drive-note', (e) => (e.hidden ? '' : e.textContent));
  expect(state.control === '1.5' && note !== '', `the recording's link replayed "${note}" with the turret's lift at ${state.control}`);
  expectNoErrors(errors);
  await page.close();
});

check('malformed shape links are refused with a message, and the tank keeps its shape', async () => {
  const links = [['turretLift:high', 'malformed'], ['turretLift=1', 'malformed'], ['noSuchField:1', 'unknown'],
    ['turretLift:1,turretLift:2', 'unknown'], ['turretLift:99', 'outOfRange'], ['wheelSlices:2.5', 'outOfRange'],
    [`turretLift:1${'0'.repeat(5000)}`, 'longLink']];
  for (const [link, problem] of links) {
    const { page, errors } = await openPage(browser, `${server.url}#shape=${link}`);
    const note = await page.$eval('#shape-note', (e) => e.textContent);
    const want = fill('en', 'badShapeLink', fill('en', problem));
    expect(note === want, `#shape=${link.slice(0, 40)}: the page says "${note}", not "${want}"`);
    const state = await turretState(page);
    expect(state.control === '0.75' && state.firstStep.includes('translate (0, 0, 0.75)'),
      `#shape=${link.slice(0, 40)}: the turret's lift is ${state.control}`);
    expectNoErrors(errors);
    await page.close();
  }
});
