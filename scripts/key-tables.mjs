// The tables of keys in README.md and docs/leia-me.md, written from the
// program's own table of keys (input/keys.cpp, as the docs' tool writes it
// out with --keys) in the page's words (web/words.js), between the lines
// <!-- keys --> and <!-- /keys -->. make docs writes them; with --check it
// writes nothing and fails when a committed table is not what it would
// write.
//
//   node scripts/key-tables.mjs [--check] TOOL [SOURCE_DIR]
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { words } from '../web/words.js';

const docs = [
  { file: 'README.md', language: 'en', heading: '| key | action |' },
  { file: 'docs/leia-me.md', language: 'pt', heading: '| tecla | ação |' },
];
const start = '<!-- keys -->\n';
const end = '<!-- /keys -->';

// The table of a language: one row a key, in the program's order, a held
// key marked as held; its action is its button's title.
export function keyTable(keys, language) {
  const table = words[language];
  const rows = keys.map((k) => {
    if (!Object.hasOwn(table, k.title)) {
      throw new Error(`web/words.js has no text "${k.title}" in ${language} for the key ${k.button}`);
    }
    return `| ${k.button}${k.held ? ` ${table.hold}` : ''} | ${table[k.title]} |`;
  });
  return rows.join('\n');
}

// A document with its table written anew; throws where it has no place
// for one.
export function withTable(text, table, heading) {
  const from = text.indexOf(start);
  const to = text.indexOf(end, from);
  if (from < 0 || to < 0) throw new Error(`no table of keys between ${start.trim()} and ${end}`);
  return `${text.slice(0, from + start.length)}${heading}\n|---|---|\n${table}\n${text.slice(to)}`;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const check = args[0] === '--check';
  if (check) args.shift();
  const [tool, sourceDir = path.join(path.dirname(fileURLToPath(import.meta.url)), '..')] = args;
  if (!tool) {
    console.error('usage: key-tables.mjs [--check] TOOL [SOURCE_DIR]');
    process.exit(2);
  }
  try {
    const keys = JSON.parse(execFileSync(tool, ['--keys'], { encoding: 'utf8' }));
    let stale = 0;
    for (const doc of docs) {
      const file = path.join(sourceDir, doc.file);
      const text = fs.readFileSync(file, 'utf8');
      const written = withTable(text, keyTable(keys, doc.language), doc.heading);
      if (written === text) continue;
      if (check) {
        console.error(`${doc.file}'s table of keys is not the program's: run make docs and commit it`);
        stale++;
      } else {
        fs.writeFileSync(file, written);
        console.log(`key-tables: wrote ${doc.file}`);
      }
    }
    process.exit(stale ? 1 : 0);
  } catch (error) {
    console.error(`key-tables: ${error.message}`);
    process.exit(1);
  }
}
