// The build's last step for the page, run by web/web.cmake:
//   node assemble.mjs page DIR SINGLE_JS   stamp DIR/sw.js and write DIR/tank.html
//   node assemble.mjs worker DIR           stamp DIR/sw.js only (after DIR changed)
// sw.js is this folder's worker with the page's files and a name for this
// build's set: a hash of their contents, so any change makes a new set.
// tank.html is the same page as one file: index.html with the style, the
// page's script and the program (SINGLE_JS, built with the WebAssembly
// inside) written into it, and nothing left that would load another file.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const [what, dir, singleJs] = process.argv.slice(2);
if (!dir || !(what === 'worker' || (what === 'page' && singleJs))) {
  console.error('usage: assemble.mjs page DIR SINGLE_JS | worker DIR');
  process.exit(2);
}

// Every file the page loads, the worker's set.
const pageFiles = ['index.html', 'page.js', 'page.css', 'tank.js', 'tank.wasm',
  'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

function stampWorker() {
  const hash = crypto.createHash('sha256');
  for (const name of pageFiles) {
    hash.update(`${name}\0`);
    hash.update(fs.readFileSync(path.join(dir, name)));
  }
  const build = hash.digest('hex').slice(0, 16);
  const worker = fs.readFileSync(path.join(here, 'sw.js'), 'utf8')
    .replace('@BUILD@', build)
    .replace('@FILES@', pageFiles.map((name) => `'${name}'`).join(', '));
  fs.writeFileSync(path.join(dir, 'sw.js'), worker);
  return build;
}

// Replaces the one occurrence of `from`; a page that no longer has it fails
// the build rather than giving a single file that loads something.
function replaceOnce(text, from, to) {
  const at = text.indexOf(from);
  if (at < 0 || text.indexOf(from, at + 1) >= 0) {
    throw new Error(`index.html must hold exactly one ${JSON.stringify(from)}`);
  }
  return text.slice(0, at) + to + text.slice(at + from.length);
}

// A script's text inside <script>: nothing in it may end the element.
const inline = (js) => js.replace(/<\/script/gi, '<\\/script').replace(/<!--/g, '<\\!--');

try {
  const build = stampWorker();
  if (what === 'page') {
    const read = (name) => fs.readFileSync(path.join(dir, name), 'utf8');
    let html = read('index.html');
    html = replaceOnce(html, '<html lang="en">', '<html lang="en" data-single-file>');
    html = replaceOnce(html, '<link rel="stylesheet" href="page.css">', `<style>\n${read('page.css')}</style>`);
    html = replaceOnce(html, '<link rel="manifest" href="manifest.webmanifest">\n', '');
    html = replaceOnce(html, '<link rel="apple-touch-icon" href="icon-192.png">\n', '');
    html = replaceOnce(html, '<script src="page.js"></script>', `<script>\n${inline(read('page.js'))}</script>`);
    html = replaceOnce(html, '<script src="tank.js"></script>',
      `<script>\n${inline(fs.readFileSync(singleJs, 'utf8'))}</script>`);
    fs.writeFileSync(path.join(dir, 'tank.html'), html);
    console.log(`assemble: ${dir}/tank.html (${fs.statSync(path.join(dir, 'tank.html')).size} B), worker set ${build}`);
  }
} catch (error) {
  console.error(`assemble: ${error.message}`);
  process.exit(1);
}
