// The page's writes as the program runs: what the page writes into itself
// (the console, the tree, the replay's count) is written at most ten times
// a second, each time from a picture just drawn, and once more at the
// program's end.
import { flush as flushTrace } from './trace.js';
import { onAbort, onExit, onPicture } from './program.js';

// Every change of the page's text costs the browser a pass of
// style, layout and paint, and at fifty a second those passes cost more
// than all the rest of the page. What a writer needs of the picture is
// read with it (read), and written just after it (write).
const writeEvery = 100;  // ms
const writers = [flushTrace];
const readers = [];
let lastWrite = -Infinity;
function readFrame() {
  readers.forEach((read) => read());
}
function writePage() {
  lastWrite = performance.now();
  writers.forEach((write) => write());
}
// Another writer of the page (the tree, the replay's count).
export const addWriter = (write, read) => {
  writers.push(write);
  if (read) readers.push(read);
};

// After every picture, in a task of its own, not in the one that drew it
// (at the start, the program's: its window, the help and the first
// reshape).
onPicture(function () {
  if (performance.now() - lastWrite >= writeEvery) {
    lastWrite = performance.now();
    readFrame();
    setTimeout(writePage, 0);
  }
});
// The page written once more, so that it shows the program's end.
function writeLast() {
  readFrame();
  writePage();
}
onExit(writeLast);
onAbort(writeLast);
