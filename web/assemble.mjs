// The page's build, run by web/web.cmake. esbuild (pinned in package.json)
// bundles and minifies the page's modules and shortens the program's
// script; this file keeps only what no tool does for us: which files make
// the page, the worker's list of them, and the single file's policy.
//
//   node assemble.mjs bridge OUT                 the program's bridge, one script for --pre-js
//   node assemble.mjs page DIR SINGLE_JS TREE_JSON
//       the page in DIR beside the program's tank.js and tank.wasm: its
//       files, the bundle page.js, the tree in index.html, the worker sw.js
//       and the single file tank.html (SINGLE_JS: the program built with its
//       WebAssembly inside)
//   node assemble.mjs floor DIR PROGRAM         the same page around another program (make bench-web)
//   node assemble.mjs plain DIR SCRIPT          the page's markup and style around a plain script (make bench-web)
//   node assemble.mjs worker DIR                stamp DIR/sw.js only (after DIR changed)
import crypto from 'node:crypto';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const esbuild = createRequire(new URL('../package.json', import.meta.url))('esbuild');

// The page's files as written, then what the build makes: every file the
// page loads, and so the worker's set.
const sourceFiles = ['index.html', 'page.css', 'manifest.webmanifest', 'manifest.pt.webmanifest', 'icon-192.png', 'icon-512.png'];
const pageFiles = [...sourceFiles, 'page.js', 'gl-warm-up.js', 'tank.js', 'tank.wasm'];

// The browsers the page is for: what a school's oldest tablets still run.
const target = ['chrome100', 'firefox100', 'safari15'];

// The page's modules as one script, minified.
async function bundle(entry) {
  const result = await esbuild.build({
    entryPoints: [path.join(here, entry)], bundle: true, write: false, format: 'iife',
    minify: true, target, legalComments: 'none', logLevel: 'warning',
  });
  return result.outputFiles[0].text;
}

// The program's script as emscripten writes it, shorter: whitespace and
// local names only, so that nothing the page, the runtime or the browser
// reaches by name changes.
async function shorten(js) {
  const result = await esbuild.transform(js, { minifyWhitespace: true, minifyIdentifiers: true, target, legalComments: 'none' });
  return result.code;
}

// The page's files in its folder, and nothing an older build left there.
function copySources(dir, keep = pageFiles) {
  fs.mkdirSync(dir, { recursive: true });
  for (const name of fs.readdirSync(dir)) {
    if (![...keep, 'tank.html', 'sw.js'].includes(name)) fs.rmSync(path.join(dir, name), { recursive: true, force: true });
  }
  for (const name of sourceFiles) fs.copyFileSync(path.join(here, name), path.join(dir, name));
}

function stampWorker(dir) {
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

const keysElement = '<script type="application/json" id="tank-keys"></script>';
const codeElement = '<script type="application/json" id="tank-code"></script>';

// The code the page shows and writes, as the sources have it now: the
// shape's initializer (render/tank_shape.cpp), which the page writes again
// with its own numbers, and drawTank() (render/render.cpp) with the number
// of its first line.
function writeCode(index) {
  const read = (name) => fs.readFileSync(path.join(here, '..', 'render', name), 'utf8');
  const render = read('render.cpp');
  const drawing = /^void drawTank\(\)\n\{\n[\s\S]*?^\}\n/m.exec(render);
  if (!drawing) throw new Error('render/render.cpp has no drawTank() to show');
  const code = { shape: read('tank_shape.cpp'), drawing: drawing[0], firstLine: render.slice(0, drawing.index).split('\n').length };
  fs.writeFileSync(index, replaceOnce(fs.readFileSync(index, 'utf8'), codeElement,
    codeElement.replace('><', `>${inline(JSON.stringify(code))}<`)));
}

// A data block of index.html filled with a JSON file's data.
function writeData(index, element, jsonFile) {
  const data = JSON.stringify(JSON.parse(fs.readFileSync(jsonFile, 'utf8')));
  fs.writeFileSync(index, replaceOnce(fs.readFileSync(index, 'utf8'), element,
    element.replace('><', `>${inline(data)}<`)));
}
const programScript = '<script defer src="tank.js"></script>';
const pageScript = '<script defer src="page.js"></script>';

// The single file's own Content-Security-Policy, as the served page's
// (scripts/serve.mjs) but for its inline scripts and style, each allowed by
// its hash and nothing else inline; a data block (the keys) runs nothing.
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

// The same page as one file: index.html with the style, the page's script
// and the program written into it, and nothing left that loads another file.
async function writeSingleFile(dir, singleJs, pageJs) {
  const read = (name) => fs.readFileSync(path.join(dir, name), 'utf8');
  // Its markup without indentation, which HTML collapses anyway.
  let html = read('index.html').replace(/^[ \t]+/gm, '');
  html = replaceOnce(html, '<html lang="en">', '<html lang="en" data-single-file>');
  html = replaceOnce(html, '<link rel="stylesheet" href="page.css">', `<style>\n${uncommentCss(read('page.css'))}</style>`);
  html = replaceOnce(html, '<link rel="manifest" href="manifest.webmanifest">\n', '');
  html = replaceOnce(html, '<link rel="apple-touch-icon" href="icon-192.png">\n', '');
  html = replaceOnce(html, pageScript, `<script>\n${inline(pageJs)}</script>`);
  html = replaceOnce(html, programScript, `<script>\n${inline(await shorten(fs.readFileSync(singleJs, 'utf8')))}</script>`);
  html = replaceOnce(html, '<meta charset="utf-8">\n', `<meta charset="utf-8">\n${singleFilePolicy(html)}\n`);
  fs.writeFileSync(path.join(dir, 'tank.html'), html);
}

const [what, out, ...rest] = process.argv.slice(2);
const usage = 'usage: assemble.mjs bridge OUT | page DIR SINGLE_JS KEYS_JSON | floor DIR PROGRAM KEYS_JSON | plain DIR SCRIPT | worker DIR';
try {
  if (what === 'bridge' && out) {
    fs.mkdirSync(path.dirname(out), { recursive: true });
    const result = await esbuild.build({ entryPoints: [path.join(here, 'bridge.js')], bundle: true, format: 'iife',
      target, outfile: out, logLevel: 'warning' });
    if (result.errors.length) process.exit(1);
  } else if (what === 'page' && out && rest.length === 2) {
    const [singleJs, keysJson] = rest;
    copySources(out);
    const pageJs = await bundle('main.js');
    fs.writeFileSync(path.join(out, 'page.js'), pageJs);
    fs.writeFileSync(path.join(out, 'gl-warm-up.js'), await bundle('gl-warm-up.js'));
    const program = path.join(out, 'tank.js');
    fs.writeFileSync(program, await shorten(fs.readFileSync(program, 'utf8')));
    const index = path.join(out, 'index.html');
    writeData(index, keysElement, keysJson);
    writeCode(index);
    const build = stampWorker(out);
    await writeSingleFile(out, singleJs, pageJs);
    console.log(`assemble: ${out}/tank.html (${fs.statSync(path.join(out, 'tank.html')).size} B), worker set ${build}`);
  } else if (what === 'floor' && out && rest.length === 2) {
    const program = rest[0].replace(/\.js$/, '');
    copySources(out, [...sourceFiles, 'page.js', 'gl-warm-up.js', `${program}.js`, `${program}.wasm`]);
    const index = path.join(out, 'index.html');
    fs.writeFileSync(index, replaceOnce(fs.readFileSync(index, 'utf8'), programScript,
      programScript.replace('tank.js', rest[0])));
    writeData(index, keysElement, rest[1]);
    fs.writeFileSync(path.join(out, 'page.js'), await bundle('main.js'));
    fs.writeFileSync(path.join(out, 'gl-warm-up.js'), await bundle('gl-warm-up.js'));
  } else if (what === 'plain' && out && rest.length === 1) {
    copySources(out, [...sourceFiles, 'plain.js']);
    fs.copyFileSync(rest[0], path.join(out, 'plain.js'));
    const index = path.join(out, 'index.html');
    fs.writeFileSync(index, replaceOnce(replaceOnce(fs.readFileSync(index, 'utf8'), programScript,
      programScript.replace('tank.js', 'plain.js')), `${pageScript}\n`, ''));
  } else if (what === 'worker' && out) {
    stampWorker(out);
  } else {
    console.error(usage);
    process.exit(2);
  }
} catch (error) {
  console.error(`assemble: ${error.message}`);
  process.exit(1);
}
