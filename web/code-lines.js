// Which lines of drawTank() made a part of the tree and each of its steps,
// read from the code as it is (the build writes it into the page), and
// where the code uses a number of the shape. Nothing here touches the page,
// so that it can be checked anywhere (tests/page/).

const matrixCall = /\bgl(PushMatrix|PopMatrix|Translatef|Rotatef|Scalef)\b/;
const stepKinds = {
  PushMatrix: 'push', PopMatrix: 'pop', Translatef: 'translate', Rotatef: 'rotate', Scalef: 'scale',
};
const kindOfLine = (line) => {
  const m = matrixCall.exec(line);
  return m ? stepKinds[m[1]] : null;
};
// Where one part's code ends and another's begins.
const otherPart = /namePart\(|drawBox\(/;

// The lines that made a part of the tree (a node: { label, steps, parent
// }), with the steps' own: { lines: [line numbers from 0], stepLines: {
// step's place: line } }; null for the tree's root, the world, which
// drawScene() names before it draws the tank in it. A part is found by
// its name in quotes, else (a name the drawing takes from the shape, as
// the wheels') by the one namePart() given no quoted name. The lines are
// the matrix calls that lead to it since the part before, the line that
// names it and what it draws after; each step is the call of its kind
// nearest before, counted from the last, so that a step made outside
// drawTank() or a call skipped (an if) takes no line.
export function partLines(lines, { label, steps, parent }) {
  if (!parent) return null;
  const name = label[0];
  let at = lines.findIndex((line) => line.includes(`"${name}"`));
  if (at < 0) at = lines.findIndex((line) => /namePart\((?!")/.test(line));
  if (at < 0) return null;
  const before = [];
  for (let i = at - 1; i >= 0; i--) {
    if (otherPart.test(lines[i]) || /[{}]\s*$/.test(lines[i])) break;
    if (kindOfLine(lines[i]) || /^\s*if \(/.test(lines[i])) before.unshift(i);
  }
  const after = [];
  for (let i = at + 1; i < lines.length; i++) {
    if (!lines[i].trim() || kindOfLine(lines[i]) || otherPart.test(lines[i]) || /^\s*}/.test(lines[i])) break;
    after.push(i);
  }
  const stepLines = {};
  let last = before.length - 1;
  for (let s = steps.length - 1; s >= 0; s--) {
    const kind = steps[s].split(' ')[0];
    if (kind === 'pop') continue;
    let j = last;
    while (j >= 0 && kindOfLine(lines[before[j]]) !== kind) j--;
    if (j < 0) continue;
    stepLines[s] = before[j];
    last = j - 1;
  }
  return { lines: [...before, at, ...after], stepLines };
}

// The shape's numbers a line uses, where it uses them: [{ at, text, field
// }], text as written ("t.turretLift"), field the first of the shape's
// fields it reaches ("hull" reaches "hull.width").
export function shapeUses(line, fieldNames) {
  const uses = [];
  const use = /\bt\.(\w+)/g;
  for (let m = use.exec(line); m; m = use.exec(line)) {
    const field = fieldNames.find((f) => f === m[1] || f.startsWith(`${m[1]}.`) || f.startsWith(`${m[1]}[`));
    if (field) uses.push({ at: m.index, text: m[0], field });
  }
  return uses;
}
