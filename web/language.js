// Which of the page's two languages it shows: the reader's choice where the
// browser keeps it, else the first of the browser's languages that is one
// of them. The program's own output (its help, its trace) is its own and
// never translated.
//
// The markup names its texts: data-text (the element's text), data-label
// (its aria-label) and data-title (its title; with data-key, the on-screen
// key's aria-label too). The page's modules ask for
// theirs with text(name, ...values) and redo what they have written when
// the language changes (onChange).
import { fill, fromBrowser, treeText as translateTree, words } from './words.js';

const storageKey = 'tank-language';
let chosen = null;
try {
  chosen = localStorage.getItem(storageKey);
} catch {
  // no storage here (a sandboxed frame, storage turned off)
}
if (!(chosen in words)) chosen = fromBrowser(navigator.languages || [navigator.language || 'en']);

export const text = (name, ...values) => fill(chosen, name, ...values);

// A tree text (render/diagram.cpp writes them in English) in the page's
// language, a part's name by the part's id; as it is where the page has no
// words for it.
export const treeText = (english, partId) => translateTree(english, chosen, partId) || english;

const changes = [];
export const onChange = (change) => { changes.push(change); };

// A message written into an element (the status line, the replay's line),
// with a button that does something where something can be done: message()
// gives the words and label names the button's text, and both are written
// again when the language changes. Returns what it says.
const sayings = new Map();  // element: { message, label, action }
export function say(element, message, label, action) {
  const saying = { message, label, action };
  sayings.set(element, saying);
  element.textContent = message();
  if (label) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = text(label);
    button.addEventListener('click', action);
    element.append(' ', button);
  }
  return saying;
}
onChange(() => {
  sayings.forEach((s, element) => say(element, s.message, s.label, s.action));
});

// The installed app's name and description, in the page's language.
const manifest = document.querySelector('link[rel="manifest"]');
function apply() {
  document.documentElement.lang = chosen;
  if (manifest) manifest.setAttribute('href', chosen === 'en' ? 'manifest.webmanifest' : `manifest.${chosen}.webmanifest`);
  document.querySelectorAll('[data-text]').forEach((e) => { e.textContent = text(e.dataset.text); });
  document.querySelectorAll('[data-label]').forEach((e) => e.setAttribute('aria-label', text(e.dataset.label)));
  document.querySelectorAll('[data-title]').forEach((e) => { e.title = text(e.dataset.title); });
  // An on-screen key is named by its key and what it does: "Z: turn the
  // turret left", not "Z" alone.
  document.querySelectorAll('[data-key][data-title]').forEach((e) => {
    e.setAttribute('aria-label', `${e.textContent.trim()}: ${text(e.dataset.title)}`);
  });
  changes.forEach((change) => change());
}

// The switch: the other language, remembered where the browser allows.
function choose(language) {
  chosen = language;
  try {
    localStorage.setItem(storageKey, language);
  } catch {
    // not remembered: the next visit follows the browser again
  }
  apply();
}
const button = document.getElementById('language');
button.addEventListener('click', () => choose(chosen === 'en' ? 'pt' : 'en'));
onChange(() => { button.lang = chosen === 'en' ? 'pt' : 'en'; });
apply();
