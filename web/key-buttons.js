// The on-screen keys and the table of keys, made from the program's own
// table of keys (input/keys.cpp), which the build writes into the page
// (#tank-keys): a key added there gets its button and its row here. The
// words are the page's (web/language.js fills them in): a button's title and
// the row's action by the key's title, "(hold)" for a key that is held.
import { keyName } from './keys.js';

const arrows = { ArrowUp: 'up', ArrowLeft: 'left', ArrowDown: 'down', ArrowRight: 'right' };
const data = document.getElementById('tank-keys');
const keys = data && data.textContent ? JSON.parse(data.textContent) : [];
const pad = document.querySelector('.buttons .pad');
const letters = document.querySelector('.buttons .letters');
const rows = document.getElementById('key-rows');

function cell(...content) {
  const td = document.createElement('td');
  td.append(...content);
  return td;
}

for (const k of keys) {
  const key = keyName(k.special, k.code);
  if (key === null) continue;  // a key the page cannot send
  // An arrow sits on the pad, where its place is its name; the rest in a
  // grid of their own.
  const button = document.createElement('button');
  button.type = 'button';
  button.dataset.key = key;
  button.dataset.title = k.title;
  button.textContent = k.button;
  if (arrows[key]) button.className = arrows[key];
  (arrows[key] ? pad : letters).appendChild(button);

  const row = document.createElement('tr');
  const action = cell();
  action.dataset.text = k.title;
  const hold = document.createElement('span');
  hold.dataset.text = 'hold';
  row.append(k.held ? cell(`${k.button} `, hold) : cell(k.button), action);
  rows.appendChild(row);
}
