// The shape as C++ and as a link, and the lines of drawTank() each part and
// step of the tree came from, without a browser.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';
import { partLines, shapeUses } from '../../web/code-lines.js';
import { fragmentOf, fragmentPart } from '../../web/fragment.js';
import {
  literal, readShapeLink, shapeLink, writeSource,
} from '../../web/shape-code.js';

test('a number written as C++ keeps how the source wrote it, and a float is written as a float', () => {
  const cases = [[4.5, 'float', '4', '4.5f'], [5, 'float', '4', '5'], [3, 'float', '2.0f', '3.0f'], [6, 'double', '6.0', '6.0'],
    [Math.fround(0.1), 'float', '0.75f', '0.1f'], [Math.fround(-2.35), 'float', '-0.2f', '-2.35f'], [0.55, 'double', '0.5', '0.55'],
    [8, 'int', '20', '8']];
  for (const [value, type, was, want] of cases) assert.equal(literal(value, type, was), want, `${value} (${type}) where ${was} was`);
  // Numbers in comments, strings and names are not the shape's.
  const source = '#include "a1.h"\n// 12 wheels\nS s2 = {\n  1,  // x2\n  {2.5f, -3}, \'4\'\n};\n';
  const fields = [{ type: 'int' }, { type: 'float' }, { type: 'float' }];
  assert.equal(writeSource(source, fields, [7, 0.5, -3]), source.replace('1,', '7,').replace('2.5f', '0.5f'));
  assert.equal(writeSource(source, fields.slice(1), [0.5, -3]), null);
});

test('a shape link holds the changed numbers only; a malformed one is refused and says why', () => {
  const fields = [{ name: 'turretLift', type: 'float', low: -2, high: 4, value: 0.75 },
    { name: 'wheels[0].x', type: 'float', low: -5, high: 5, value: 2 },
    { name: 'wheelSlices', type: 'int', low: 3, high: 60, value: 20 }];
  const values = [Math.fround(1.3), 2, 8];
  const link = shapeLink(fields, values);
  assert.equal(link, 'turretLift:1.3,wheelSlices:8');
  assert.deepEqual(readShapeLink(link, fields), { values });
  assert.equal(shapeLink(fields, fields.map((f) => f.value)), '');
  const refused = {
    'turretLift:1.3,': 'malformed', 'turretLift:+1': 'malformed', 'turretLift:1.': 'malformed', 'turretLift:NaN': 'malformed',
    'turretlift:1': 'unknown', 'wheelSlices:8,wheelSlices:9': 'unknown', 'turretLift:4.01': 'outOfRange',
    'wheelSlices:2': 'outOfRange', 'wheelSlices:8.5': 'outOfRange', 'wheels[0].x:1e9': 'outOfRange',
  };
  for (const [text, problem] of Object.entries(refused)) assert.deepEqual(readShapeLink(text, fields), { problem }, text);
  assert.deepEqual(readShapeLink(`turretLift:1.${'0'.repeat(5000)}`, fields), { problem: 'longLink' });
  // In an address: beside a recording, and as a browser may escape it.
  assert.equal(fragmentPart('#drive=dGsB&shape=wheels%5B0%5D.x:1', 'shape'), 'wheels[0].x:1');
  assert.equal(fragmentPart('#drive=dGsB', 'shape'), null);
  assert.equal(fragmentOf({ drive: 'dGsB', shape: '' }), 'drive=dGsB');
});

test("each part of the tree marks the lines of drawTank() that made it, and each step its own call", () => {
  const render = fs.readFileSync(new URL('../../render/render.cpp', import.meta.url), 'utf8');
  const lines = /^void drawTank\(\)\n\{\n[\s\S]*?^\}\n/m.exec(render)[0].split('\n');
  const marked = (name, steps) => {
    const found = partLines(lines, { label: [name], steps, parent: name === 'world' ? '' : 'world' });
    return found && { lines: found.lines.map((i) => lines[i].trim()), steps: Object.fromEntries(Object.entries(found.stepLines).map(([s, i]) => [s, lines[i].trim()])) };
  };
  const turret = marked('turret frame', ['translate (0, 0, 0.75)', 'rotate {turretAngle} about Z']);
  assert.deepEqual(turret.lines, ['glTranslatef(0, 0, t.turretLift);', 'glRotatef(m.turretAngle, 0, 0, 1);', 'namePart("turret frame");']);
  assert.deepEqual(turret.steps, { 0: turret.lines[0], 1: turret.lines[1] });
  // A rear wheel skips the steering the if leaves out; its name comes from
  // the shape, and its cylinder is what it draws.
  const wheel = marked('rear left wheel', ['push', 'translate (-2.4, -2.8, -0.2)', 'rotate 90 about Y', 'pop']);
  assert.ok(wheel.lines.includes('namePart(w.name);') && wheel.lines.some((l) => l.startsWith('gluCylinder(')), wheel.lines.join(' | '));
  assert.deepEqual(wheel.steps, { 0: 'glPushMatrix();', 1: 'glTranslatef(w.x, w.y, w.z);', 2: 'glRotatef(t.wheelTurn, 0, 1, 0);  // cylinder axis from +Z to +X' });
  // The tank frame's first steps are drawScene()'s, not drawTank()'s.
  const tank = marked('tank frame', ['push', 'translate ({x}, {y}, 0)', 'push', 'translate (0, -2.8, 0)', 'rotate {heading} about Z', 'translate (0, 2.8, 0)', 'translate (0, 0, 0.7)']);
  assert.deepEqual(Object.keys(tank.steps), ['2', '3', '4', '5', '6']);
  assert.equal(marked('world', []), null);
  assert.deepEqual(shapeUses('    glTranslatef(0, 0, t.rideHeight + t.hull.height);', ['rideHeight', 'hull.width', 'hull.height']).map((u) => u.field),
    ['rideHeight', 'hull.width']);
});
