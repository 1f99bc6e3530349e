// The page's address after its #: what a link carries, "drive=...",
// "shape=..." or both joined by "&". Nothing here touches the page.

// The value a fragment gives a name, or null: fragmentPart('#drive=x&shape=y', 'shape') is 'y'.
export function fragmentPart(hash, name) {
  for (const part of hash.replace(/^#/, '').split('&')) {
    const at = part.indexOf('=');
    if (at > 0 && part.slice(0, at) === name) {
      try {
        return decodeURIComponent(part.slice(at + 1));
      } catch {
        return part.slice(at + 1);
      }
    }
  }
  return null;
}

// A fragment of the parts given, in order, the empty ones left out.
export const fragmentOf = (parts) => Object.entries(parts).filter(([, value]) => value)
  .map(([name, value]) => `${name}=${value}`).join('&');
