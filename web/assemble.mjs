// The build's last step for the page, run by web/web.cmake:
//   node assemble.mjs page DIR SINGLE_JS TREE_JSON
//       write the tree into DIR/index.html, stamp DIR/sw.js, write DIR/tank.html
//   node assemble.mjs worker DIR   stamp DIR/sw.js only (after DIR changed)
// The tree (TREE_JSON, from the writer of the diagram in docs/) goes into
// the page's empty <script type="application/json" id="tank-tree">.
// sw.js is this folder's worker with the page's files and a name for this
// build's set: a hash of their contents, so any change makes a new set.
// tank.html is the same page as one file: index.html with the style, the
// page's script and the program (SINGLE_JS, built with the WebAssembly
// inside) written into it, and nothing left that would load another file.
// The program's script, as emscripten writes it, has its local names
// shortened by terser (pinned in tests/web/package.json, and installed by
// make web-build): tank.js as served and inside tank.html; the page's own
// scripts are shortened only in tank.html, and served as they are written.
import crypto from 'node:crypto';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const [what, dir, singleJs, treeJson] = process.argv.slice(2);
if (!dir || !(what === 'worker' || (what === 'page' && treeJson))) {
  console.error('usage: assemble.mjs page DIR SINGLE_JS TREE_JSON | worker DIR');
  process.exit(2);
}

// Every file the page loads, the worker's set.
const pageFiles = ['index.html', 'page.css', 'language.js', 'trace.js', 'page.js', 'tree.js', 'drive.js', 'tank.js', 'tank.wasm',
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

// A script's text inside <script>: nothing in it may end the element, and
// no control character HTML forbids (a program built with its WebAssembly
// as raw bytes in a string has many) is left raw: each is written as the
// escape that stands for it in a string, which is where they can be.
const inline = (js) => js.replace(/<\/script/gi, '<\\/script').replace(/<!--/g, '<\\!--')
  .replace(/[\0-\x08\x0b\x0e-\x1f\x7f-\x9f]/g, (c) => `\\x${c.charCodeAt(0).toString(16).padStart(2, '0')}`);

// The single file's style without comments and indentation.
const uncommentCss = (css) => css.replace(/\/\*[\s\S]*?\*\//g, '').replace(/^\s+/gm, '').replace(/\n/g, '');

const treeElement = '<script type="application/json" id="tank-tree"></script>';

// The single file's own Content-Security-Policy, as the served page's
// (scripts/serve.mjs) but for its inline scripts and style, each allowed by
// its hash and nothing else inline; a data block (the tree) runs nothing.
function singleFilePolicy(html) {
  const hashes = (tag) => [...html.matchAll(new RegExp(`<${tag}>([\\s\\S]*?)</${tag}>`, 'g'))]
    .map((m) => `'sha256-${crypto.createHash('sha256').update(m[1], 'utf8').digest('base64')}'`).join(' ');
  const policy = [
    "default-src 'none'", `script-src ${hashes('script')} 'wasm-unsafe-eval'`, `style-src ${hashes('style')}`,
    // The runtime fetches its WebAssembly from a data: address.
    'img-src data:', 'connect-src data:', "object-src 'none'", "base-uri 'none'", "form-action 'none'",
  ].join('; ');
  return `<meta http-equiv="Content-Security-Policy" content="${policy}">`;
}

// Local names only: nothing the page, the runtime or the browser reaches by
// name changes, and no expression is rewritten.
async function shorten(js) {
  const { minify } = createRequire(new URL('../tests/web/package.json', import.meta.url))('terser');
  return (await minify(js, { compress: false, mangle: true, format: { comments: false } })).code;
}

try {
  if (what === 'page') {
    const program = path.join(dir, 'tank.js');
    fs.writeFileSync(program, await shorten(fs.readFileSync(program, 'utf8')));
    const tree = JSON.stringify(JSON.parse(fs.readFileSync(treeJson, 'utf8')));
    const index = path.join(dir, 'index.html');
    fs.writeFileSync(index, replaceOnce(fs.readFileSync(index, 'utf8'), treeElement,
      treeElement.replace('><', `>${inline(tree)}<`)));
  }
  const build = stampWorker();
  if (what === 'page') {
    const read = (name) => fs.readFileSync(path.join(dir, name), 'utf8');
    // Its markup without indentation, which HTML collapses anyway.
    let html = read('index.html').replace(/^[ \t]+/gm, '');
    html = replaceOnce(html, '<html lang="en">', '<html lang="en" data-single-file>');
    html = replaceOnce(html, '<link rel="stylesheet" href="page.css">', `<style>\n${uncommentCss(read('page.css'))}</style>`);
    html = replaceOnce(html, '<link rel="manifest" href="manifest.webmanifest">\n', '');
    html = replaceOnce(html, '<link rel="apple-touch-icon" href="icon-192.png">\n', '');
    for (const script of ['language.js', 'trace.js', 'page.js', 'tree.js', 'drive.js']) {
      html = replaceOnce(html, `<script src="${script}"></script>`, `<script>\n${inline(await shorten(read(script)))}</script>`);
    }
    html = replaceOnce(html, '<script src="tank.js"></script>',
      `<script>\n${inline(await shorten(fs.readFileSync(singleJs, 'utf8')))}</script>`);
    html = replaceOnce(html, '<meta charset="utf-8">\n', `<meta charset="utf-8">\n${singleFilePolicy(html)}\n`);
    fs.writeFileSync(path.join(dir, 'tank.html'), html);
    console.log(`assemble: ${dir}/tank.html (${fs.statSync(path.join(dir, 'tank.html')).size} B), worker set ${build}`);
  }
} catch (error) {
  console.error(`assemble: ${error.message}`);
  process.exit(1);
}
