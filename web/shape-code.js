// The tank's shape as text: the program's list of the shape's numbers
// (web/shape.cpp), the shape as C++ (render/tank_shape.cpp written again
// with the page's numbers) and as the part of a link that carries it.
// Nothing here touches the page, so that it can be checked anywhere
// (tests/page/).

// "name part type low high value" a line, type f, d or i -> [{ name, part,
// type ('float', 'double' or 'int'), low, high, value }], in the order of
// the shape's initializer.
const types = { f: 'float', d: 'double', i: 'int' };
export function readFields(text) {
  return text.split('\n').filter(Boolean).map((line) => {
    const [name, part, type, low, high, value] = line.split(' ');
    return { name, part, type: types[type], low: Number(low), high: Number(high), value: Number(value) };
  });
}

// The id of a field's control: "shape-turretLift", "shape-wheels-0-x".
export const controlId = (name) => `shape-${name.replace(/[^A-Za-z0-9]+/g, '-').replace(/-$/, '')}`;

// A number as short as it can be written and still be the same number to
// the program: a float's as a float (32 bits), a double's as a double.
export function shortest(value, type) {
  if (type !== 'float') return String(value);
  for (let digits = 1; digits < 10; digits++) {
    const text = String(Number(value.toPrecision(digits)));
    if (Math.fround(Number(text)) === value) return text;
  }
  return String(value);
}

// A number as C++ writes it where the initializer had `was`: a whole
// number as it was written (4, 6.0, 2.0f), any other with an f when the
// field is a float.
export function literal(value, type, was) {
  if (type === 'int') return String(value);
  if (Number.isInteger(value)) {
    if (!was.includes('.')) return String(value);
    return `${value}.0${was.endsWith('f') ? 'f' : ''}`;
  }
  return `${shortest(value, type)}${type === 'float' ? 'f' : ''}`;
}

// The numbers of a C++ source, in order, outside comments and strings:
// [{ at, text }].
function numbersOf(source) {
  const found = [];
  const token = /\/\/[^\n]*|\/\*[\s\S]*?\*\/|"(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*'|[A-Za-z_]\w*|-?\d+(?:\.\d*)?(?:e-?\d+)?f?/g;
  for (let m = token.exec(source); m; m = token.exec(source)) {
    if (/^-?\d/.test(m[0])) found.push({ at: m.index, text: m[0] });
  }
  return found;
}

// The shape's source with the page's numbers, each where the built-in one
// was; null when the source does not hold one number for each field.
export function writeSource(source, fields, values) {
  const numbers = numbersOf(source);
  if (numbers.length !== fields.length) return null;
  let out = '';
  let from = 0;
  numbers.forEach((n, i) => {
    out += source.slice(from, n.at) + literal(values[i], fields[i].type, n.text);
    from = n.at + n.text.length;
  });
  return out + source.slice(from);
}

// The most a shape's part of a link may hold: every field, each with a
// long number.
export const maxShapeLink = 4096;

// The part of a link that carries a shape: each field that differs from
// the built-in shape, "name:value" joined by commas ('' for none).
export function shapeLink(fields, values) {
  return fields.map((f, i) => (values[i] === f.value ? '' : `${f.name}:${shortest(values[i], f.type)}`))
    .filter(Boolean).join(',');
}

// The shape a link's part gives: the built-in values with the fields it
// names, or { problem }: 'malformed' (not fields and numbers), 'unknown'
// (a field the shape does not have, or named twice), 'outOfRange' (a
// number beyond what the field's control offers, or not whole for a whole
// field), 'longLink'.
export function readShapeLink(text, fields) {
  if (text.length > maxShapeLink) return { problem: 'longLink' };
  const values = fields.map((f) => f.value);
  const named = new Set();
  for (const item of text.split(',')) {
    const m = /^([A-Za-z_][\w.[\]]*):(-?\d+(?:\.\d+)?(?:e-?\d+)?)$/.exec(item);
    if (!m) return { problem: 'malformed' };
    const at = fields.findIndex((f) => f.name === m[1]);
    if (at < 0 || named.has(at)) return { problem: 'unknown' };
    named.add(at);
    const f = fields[at];
    let value = Number(m[2]);
    if (f.type === 'float') value = Math.fround(value);
    if (!(value >= f.low && value <= f.high) || (f.type === 'int' && !Number.isInteger(value))) {
      return { problem: 'outOfRange' };
    }
    values[at] = value;
  }
  return { values };
}
