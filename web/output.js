// The program's standard output on its way to the panel (web/trace.js):
// bytes copied as they come, decoded as Latin-1 (one byte, one
// character) a chunk at a time, and never more kept than the panel shows
// of whatever arrives between two of its writes. Nothing here touches the
// page.
const chunk = 8192;

// keepLines: what the panel shows; maxChars: what is held before the
// older lines are let go.
export function outputBuffer(keepLines, maxChars) {
  const bytes = new Uint8Array(65536);
  let used = 0;
  let text = '';
  let dropped = false;

  // The last keepLines lines (the unfinished one among them), and at most
  // maxChars of them where lines are very long.
  function trim() {
    const end = text.endsWith('\n') ? text.length - 1 : text.length;
    let start = text.lastIndexOf('\n', end - 1) + 1;
    for (let n = 1; n < keepLines && start > 0; n++) start = text.lastIndexOf('\n', start - 2) + 1;
    if (text.length - start > maxChars) start = text.length - maxChars;
    if (start > 0) {
      text = text.slice(start);
      dropped = true;
    }
  }

  function decode() {
    for (let at = 0; at < used; at += chunk) {
      text += String.fromCharCode.apply(null, bytes.subarray(at, Math.min(used, at + chunk)));
    }
    used = 0;
    if (text.length > maxChars) trim();
  }

  return {
    // added: bytes (a Uint8Array), copied here.
    add(added) {
      for (let at = 0; at < added.length;) {
        if (used === bytes.length) decode();
        const n = Math.min(bytes.length - used, added.length - at);
        bytes.set(added.subarray(at, at + n), used);
        used += n;
        at += n;
      }
    },
    // What arrived since the last take, and whether older lines were let go
    // (the panel then holds nothing worth keeping).
    take() {
      decode();
      const taken = { text, dropped };
      text = '';
      dropped = false;
      return taken;
    },
    // Characters and bytes held.
    size: () => text.length + used,
  };
}
