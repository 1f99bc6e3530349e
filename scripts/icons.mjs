// make icons: the page's app icons (web/icon-192.png, web/icon-512.png),
// drawn by the browser build itself: the tank posed in a large square
// canvas, the square around it cut out and scaled down by the browser.
//   node scripts/icons.mjs PAGE_DIR OUT_DIR
import fs from 'node:fs';
import path from 'node:path';
import { launch, openPage } from '../tests/web/lib.mjs';
import { serve } from './serve.mjs';

const [pageDir, outDir] = process.argv.slice(2);
if (!pageDir || !outDir) {
  console.error('usage: icons.mjs PAGE_DIR OUT_DIR');
  process.exit(2);
}
const canvasSize = 1800;  // CSS px at ratio 1; the tank is about a fifth of it
const cut = 540;          // the square around the tank, in canvas pixels
// Rolling forwards, wheels and turret turned, the cannon raised.
const pose = [0, 0, 0.3, 0, 15, 50, 30];

const server = await serve({ '/tank/': pageDir });
const browser = await launch('chromium');
try {
  const { page } = await openPage(browser, server.url, { width: canvasSize + 400, height: canvasSize + 200 });
  await page.$eval('.screen', (e, size) => { e.style.cssText = `flex: none; width: ${size}px; height: ${size}px`; }, canvasSize);
  await page.waitForFunction((size) => document.getElementById('canvas').width === size, {}, canvasSize);
  for (const size of [192, 512]) {
    const png = await page.evaluate((p, c, s) => {
      const m = window.Module;
      m.HEAPF32.set(p, m._webModel() / 4);
      m._webRedraw();
      const canvas = document.getElementById('canvas');
      const icon = document.createElement('canvas');
      icon.width = s;
      icon.height = s;
      const context = icon.getContext('2d');
      context.imageSmoothingQuality = 'high';
      const x = (canvas.width - c) / 2;
      const y = (canvas.height - c) / 2;
      context.drawImage(canvas, x, y, c, c, 0, 0, s, s);
      return icon.toDataURL('image/png').split(',')[1];
    }, pose, cut, size);
    const file = path.join(outDir, `icon-${size}.png`);
    fs.writeFileSync(file, Buffer.from(png, 'base64'));
    console.log(`icons: ${file}`);
  }
} finally {
  await browser.close();
  server.close();
}
