// The live tree of transforms and the frames of its parts.
import {
  check, expect, expectNoErrors, useEngine,
} from './checks.mjs';
import {
  captureFrame, openPage, pixelAt, sleep, traceText, waitForTrace,
} from './lib.mjs';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));

// Where a point of a part's frame falls in the 640 x 480 window, from the
// part's steps in the page's tree (every step of its own and its parents',
// push and pop as GL keeps them), the camera at (40, 40, 40) looking at the origin with
// Z up, and the start's orthographic projection: [x, y] from the bottom left.
function windowPoint(tree, id, model, point) {
  const [x, y, speed, heading, wheelAngle, turretAngle, cannonAngle] = model;
  const values = { x, y, speed, heading, wheelAngle, turretAngle, cannonAngle,
    pitch: Math.fround(speed * 6), roll: Math.fround(2 * speed * wheelAngle) };
  const multiply = (a, b) => a.map((row, i) => b[0].map((_, j) => row.reduce((sum, v, k) => sum + v * b[k][j], 0)));
  const number = (t) => (/^\{(\w+)\}$/.test(t) ? values[t.slice(1, -1)] : Number(t));
  const stepMatrix = (step) => {
    let m = /^translate \((\S+), (\S+), (\S+)\)$/.exec(step);
    if (m) {
      const [tx, ty, tz] = m.slice(1).map(number);
      return [[1, 0, 0, tx], [0, 1, 0, ty], [0, 0, 1, tz], [0, 0, 0, 1]];
    }
    m = /^scale \((\S+), (\S+), (\S+)\)$/.exec(step);
    if (m) {
      const [sx, sy, sz] = m.slice(1).map(number);
      return [[sx, 0, 0, 0], [0, sy, 0, 0], [0, 0, sz, 0], [0, 0, 0, 1]];
    }
    m = /^rotate (\S+) .*about ([XYZ])$/.exec(step);
    if (!m) throw new Error(`a step the check cannot follow: ${step}`);
    const a = number(m[1]) * Math.PI / 180;
    const c = Math.cos(a);
    const s = Math.sin(a);
    return { X: [[1, 0, 0, 0], [0, c, -s, 0], [0, s, c, 0], [0, 0, 0, 1]],
      Y: [[c, 0, s, 0], [0, 1, 0, 0], [-s, 0, c, 0], [0, 0, 0, 1]],
      Z: [[c, -s, 0, 0], [s, c, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]] }[m[2]];
  };
  const chain = [];
  for (let node = tree.find((n) => n.id === id); node; node = tree.find((n) => n.id === node.parent)) chain.unshift(node);
  // The view: eye (40, 40, 40) to the origin, Z up (gluLookAt's rows).
  const f = [-1, -1, -1].map((v) => v / Math.sqrt(3));
  const side = [f[1] * 1 - f[2] * 0, f[2] * 0 - f[0] * 1, 0];
  const sideLength = Math.hypot(...side);
  const s = side.map((v) => v / sideLength);
  const u = [s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]];
  const eye = [40, 40, 40];
  const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  let m = [[...s, -dot(s, eye)], [...u, -dot(u, eye)], [...f.map((v) => -v), dot(f, eye)], [0, 0, 0, 1]];
  const stack = [];
  for (const node of chain) {
    for (const step of node.steps) {
      if (step === 'push') stack.push(m);
      else if (step === 'pop') m = stack.pop();
      else m = multiply(m, stepMatrix(step));
    }
  }
  const p = multiply(m, [[point[0]], [point[1]], [point[2]], [1]]);
  const halfWidth = 20 * 640 / 480;
  return [(p[0][0] / halfWidth + 1) / 2 * 640, (p[1][0] / 20 + 1) / 2 * 480];
}

check('the live tree shows the model as each frame drew it, as the trace writes it', async () => {
  const { page, errors } = await openPage(browser, server.url);
  await page.evaluate(() => {
    window.written = '';
    const show = Module.onOutput;
    Module.onOutput = (bytes) => { window.written += String.fromCharCode(...bytes); show(bytes); };
  });
  // After the next frame from which the page wrote the tree anew (just
  // after it): every value the tree shows, the model in memory and the
  // trace so far as the frame was drawn. The tank moves at every tick, so
  // every write of the tree changes it.
  const afterWrite = () => page.evaluate(() => new Promise((resolve) => {
    const pageHook = Module.onFrame;
    const shownNow = () => {
      const shown = {};
      for (const e of document.querySelectorAll('[data-model]')) (shown[e.dataset.model] = shown[e.dataset.model] || []).push(e.textContent);
      return shown;
    };
    let done = false;
    Module.onFrame = () => {
      const before = JSON.stringify(shownNow());
      pageHook();
      const m = Module.HEAPF32.subarray(Module._webModel() / 4, Module._webModel() / 4 + 7);
      const frame = { model: Array.from(m), written: window.written };
      setTimeout(() => {
        const shown = shownNow();
        if (done || JSON.stringify(shown) === before) return;
        done = true;
        Module.onFrame = pageHook;
        const lit = document.querySelector('[data-model="turretAngle"]').closest('li').classList.contains('changed');
        resolve({ shown, ...frame, lit });
      }, 0);
    };
  }));
  const fmt = (v) => (Object.is(v, -0) ? '-0.00' : v.toFixed(2));
  await page.keyboard.down('ArrowUp');
  await page.keyboard.down('ArrowLeft');
  await page.keyboard.down('q');
  await waitForTrace(page, /Velocidade 0\.52/);
  await sleep(800);  // the cannon up to 76 (38 ticks)
  // One letter held at a time: WebKitGTK's driver sends no release for
  // a letter once another is pressed.
  await page.keyboard.up('q');
  await page.keyboard.down('z');
  await sleep(300);
  const at = await afterWrite();
  const [x, y, speed, heading, wheelAngle, turretAngle, cannonAngle] = at.model;
  const want = { x, y, speed, heading, wheelAngle, turretAngle, cannonAngle,
    pitch: Math.fround(speed * 6), roll: Math.fround(2 * speed * wheelAngle) };
  const wrong = Object.keys(want).filter((name) => !at.shown[name] || at.shown[name].some((t) => t !== fmt(want[name])));
  expect(wrong.length === 0, `the tree shows ${wrong.map((n) => `${n} ${at.shown[n]} for ${fmt(want[n])}`).join(', ')}`);
  expect(speed === Math.fround(0.52) && wheelAngle === 15 && cannonAngle === 76,
    `not the state held for: speed ${speed}, wheels ${wheelAngle}, cannon ${cannonAngle}`);
  expect(at.shown.pitch[0] === '3.12' && at.shown.roll[0] === '15.60', `pitch ${at.shown.pitch}, roll ${at.shown.roll}`);
  const steps = at.written.split('Velocidade ');
  const last = /^(\S+) Direccao (\S+)\n/.exec(steps[steps.length - 1]);
  expect(last && last[1] === at.shown.speed[0] && last[2] === at.shown.heading[0],
    `the trace's last step says ${last && last.slice(1)}, the tree ${at.shown.speed} ${at.shown.heading}`);
  const ticksWithZ = at.written.slice(at.written.indexOf('Carregou na tecla z')).split('Velocidade').length - 1;
  expect(turretAngle === 2 * ticksWithZ, `the turret at ${turretAngle} after ${ticksWithZ} ticks with Z held`);
  const released = (await traceText(page)).length;
  for (const key of ['z', 'ArrowLeft', 'ArrowUp']) await page.keyboard.up(key);
  await waitForTrace(page, /Largou a tecla especial 101\n/, released);
  // Z held turns the turret at every tick: its step is lit.
  expect(at.lit, 'the turret\'s step was not marked while Z turned it');
  // After I the tank is still: the tree shows zeros within a few writes.
  await page.keyboard.press('i');
  const notZero = () => page.evaluate(() => Array.from(document.querySelectorAll('[data-model]'))
    .filter((e) => e.textContent !== '0.00').map((e) => `${e.dataset.model} ${e.textContent}`));
  await page.waitForFunction(() => Array.from(document.querySelectorAll('[data-model]')).every((e) => e.textContent === '0.00'),
    { timeout: 3000 }).catch(() => {});
  const left = await notZero();
  expect(left.length === 0, `after I the tree shows ${left.join(', ')}`);
  expectNoErrors(errors);
  await page.close();
});

check('a part chosen in the tree: its origin and axes drawn where its transforms put them; none chosen, the frame as before', async () => {
  const { page, errors } = await openPage(browser, server.url);
  // Driven somewhere, turned, then the turret turned, and at rest.
  await page.keyboard.down('ArrowUp');
  await page.keyboard.down('ArrowLeft');
  await sleep(800);
  await page.keyboard.up('ArrowLeft');
  await page.keyboard.up('ArrowUp');
  await page.keyboard.down('z');
  await sleep(700);
  await page.keyboard.up('z');
  const from = (await traceText(page)).length;
  await waitForTrace(page, /Velocidade 0\.00 (.*)\n(.*\n)*Velocidade 0\.00 \1\n/, from);
  await captureFrame(page, null);
  const plain = await page.evaluate(() => Array.from(window.keptFrame));
  const model = await page.evaluate(() => Array.from(Module.HEAPF32.subarray(Module._webModel() / 4, Module._webModel() / 4 + 7)));
  expect(model[5] >= 20 && model[3] !== 0, `the turret at ${model[5]}, the heading ${model[3]}: not turned`);
  const tree = await page.evaluate(() => JSON.parse(Module.UTF8ToString(Module._webTreeJson())));
  const at = (part, point) => windowPoint(tree, part, model, point);
  const near = async (point, want, what) => {
    const got = [];
    for (let dx = -1; dx <= 1; dx++) {
      for (let dy = -1; dy <= 1; dy++) got.push(await pixelAt(page, Math.floor(point[0]) + dx, Math.floor(point[1]) + dy));
    }
    expect(got.some((c) => c.every((v, i) => Math.abs(v - want[i]) <= 60)),
      `${what} at (${point.map((v) => v.toFixed(1))}): no pixel near ${want} among ${got.map((c) => `(${c})`).join(' ')}`);
  };
  await page.click('[data-part="turretFrame"]');
  expect(await page.$eval('[data-part="turretFrame"]', (e) => e.getAttribute('aria-pressed')) === 'true', 'a click did not choose the turret frame');
  await captureFrame(page, null);
  const origin = at('turretFrame', [0, 0, 0]);
  const centre = await pixelAt(page, Math.floor(origin[0]), Math.floor(origin[1]));
  expect(centre.every((v) => v >= 240), `the turret frame's origin at (${origin.map((v) => v.toFixed(1))}) is ${centre}, not white`);
  // Along each axis, past the origin's square: where two axes meet on
  // the screen, one covers part of the other.
  const along = async (axis, want, what, pose = model) => {
    const problems = [];
    for (const t of [0.95, 0.8, 0.65, 0.5]) {
      try {
        await near(windowPoint(tree, 'turretFrame', pose, axis.map((v) => v * t)), want, what);
        return;
      } catch (error) {
        problems.push(error.message);
      }
    }
    throw new Error(problems.join('; '));
  };
  await along([1, 0, 0], [255, 0, 0], 'its x axis');
  await along([0, 1, 0], [0, 255, 0], 'its y axis');
  await along([0, 0, 1], [0, 0, 255], 'its z axis');
  await near(at('turret', [0.5, 0.5, 0.5]), [255, 255, 255], 'a corner of the turret, marked');
  // An axis pointing away from the camera lies along the z axis's line
  // on the screen, and one pointing across along another's: still seen.
  for (const turret of [135, 225]) {
    const pose = [0, 0, 0, 0, 0, turret, 0];
    await captureFrame(page, pose);
    for (const [axis, want, what] of [[[1, 0, 0], [255, 0, 0], 'x'], [[0, 1, 0], [0, 255, 0], 'y'], [[0, 0, 1], [0, 0, 255], 'z']]) {
      await along(axis, want, `the ${what} axis with the turret at ${turret}`, pose);
    }
  }
  await captureFrame(page, model);
  // Chosen with nothing to see yet is still not the plain frame; none
  // chosen again gives it back, pixel for pixel.
  expect(!(await page.evaluate((p) => window.keptFrame.every((v, i) => v === p[i]), plain)), 'choosing a part changed nothing');
  await page.click('[data-part="turretFrame"]');
  await captureFrame(page, null);
  const same = await page.evaluate((p) => window.keptFrame.filter((v, i) => v !== p[i]).length, plain);
  expect(same === 0, `with no part chosen the frame differs from before in ${same} values`);
  expectNoErrors(errors);
  await page.close();
});
