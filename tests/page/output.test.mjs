// The program's output on its way to the panel: exact Latin-1, every line
// of a burst in order, and bounded whatever arrives.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { outputBuffer } from '../../web/output.js';

// Latin-1 text as its bytes, a few at a time as the program writes them.
const feed = (buffer, text) => {
  const bytes = Uint8Array.from(text, (c) => c.charCodeAt(0));
  for (let at = 0; at < bytes.length; at += 37) buffer.add(bytes.subarray(at, at + 37));
};

test('a thousand lines at once, and a line cut between two takes, arrive whole and in order', () => {
  const buffer = outputBuffer(1000, 256 * 1024);
  const lines = Array.from({ length: 1000 }, (_, i) => `o,O - Alterna entre projec\u00e7\u00e3o ${i}\n`);
  feed(buffer, lines.join(''));
  assert.deepEqual(buffer.take(), { text: lines.join(''), dropped: false });
  feed(buffer, 'Velocidade 0.');
  assert.deepEqual(buffer.take(), { text: 'Velocidade 0.', dropped: false });
  feed(buffer, '52\n');
  assert.deepEqual(buffer.take(), { text: '52\n', dropped: false });
  assert.deepEqual(buffer.take(), { text: '', dropped: false });
});

test('a flood between two takes holds no more than the panel shows, and gives its last lines', () => {
  const buffer = outputBuffer(1000, 256 * 1024);
  let largest = 0;
  let last = [];
  for (let i = 0; i < 300000; i++) {
    const line = `Carregou na tecla: h ${i} ${'\u00e7'.repeat(i % 50)}\n`;
    feed(buffer, line);
    last.push(line);
    if (last.length > 20000) last = last.slice(-10000);
    largest = Math.max(largest, buffer.size());
  }
  assert.ok(largest <= 256 * 1024 + 65536, `${largest} characters held`);
  feed(buffer, 'Velocidade');
  // The newest lines, whole, at least as many as the panel shows.
  const taken = buffer.take();
  const count = taken.text.split('\n').length - 1;
  assert.ok(count >= 999, `${count} lines kept`);
  assert.deepEqual(taken, { text: [...last.slice(-count), 'Velocidade'].join(''), dropped: true });
  // One endless line is cut too.
  for (let i = 0; i < 200; i++) buffer.add(new Uint8Array(10000).fill(65));
  assert.ok(buffer.size() <= 256 * 1024 + 65536);
  assert.equal(buffer.take().text, 'A'.repeat(256 * 1024));
});
