// Serves the browser build, on sirv (the static server Vite's preview uses)
// with compression's gzip, for make web and the browser tests:
//   node scripts/serve.mjs DIR [PORT] [--network]
// serves DIR at /tank/ until Ctrl-C, on 127.0.0.1:8000; with --network on
// every address of this machine, for a classroom, printing the address to
// type and a QR code of it. The browser tests import serve() and mount the
// reference frames beside the page.
//
// What a static server must do and sirv alone does not, this adds: a
// request it cannot read (a stray %, an encoded NUL) is answered 400 and
// the server goes on; a file reached through a link out of its folder is
// not served; only GET and HEAD are answered; every answer says
// nosniff and carries a Content-Security-Policy the page meets.
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

// The npm packages, as package.json pins them.
const require = createRequire(new URL('../package.json', import.meta.url));
const sirv = require('sirv');
const compression = require('compression');

// What the page needs and nothing more: its own scripts (WebAssembly
// compiled from its own file), its own style, images of its own and data:
// (the empty icon), its worker, its manifest; no frames of other sites.
export const contentSecurityPolicy = [
  "default-src 'self'", "script-src 'self' 'wasm-unsafe-eval'", "style-src 'self'",
  "img-src 'self' data:", "connect-src 'self'", "worker-src 'self'", "manifest-src 'self'",
  "object-src 'none'", "base-uri 'none'", "form-action 'none'", "frame-ancestors 'self'",
].join('; ');

// A worker left at the root by an older build, whose scope was the whole
// site: at its next update check it gets this one, which removes it and
// what it kept, so that it answers for no other site on the same port.
const retiredWorker = `self.addEventListener('install', () => self.skipWaiting());
self.addEventListener('activate', (event) => event.waitUntil(caches.keys()
  .then((names) => Promise.all(names.filter((n) => n.startsWith('tank-')).map((n) => caches.delete(n))))
  .then(() => self.registration.unregister())));
`;

function statesOwnPolicy(file) {
  try {
    const start = Buffer.alloc(2048);
    const fd = fs.openSync(file, 'r');
    const length = fs.readSync(fd, start, 0, start.length, 0);
    fs.closeSync(fd);
    return /http-equiv="Content-Security-Policy"/i.test(start.subarray(0, length).toString('latin1'));
  } catch {
    return false;
  }
}

// mounts: URL prefix ('/tank/', '/tank/golden/') to folder; options.home,
// where / leads (the first mount by default); options.record keeps the
// path of every file served in `served`, for make bench-web's page weight.
export async function serve(mounts, { port = 0, host = '127.0.0.1', home = null, record = false } = {}) {
  const served = [];
  const prefixes = Object.keys(mounts).sort((a, b) => b.length - a.length);
  const roots = Object.fromEntries(prefixes.map((p) => [p, fs.realpathSync(mounts[p])]));
  const handlers = Object.fromEntries(prefixes.map((p) => [p, sirv(roots[p], {
    dev: true,  // read at each request: a rebuild is served at once
    etag: true,  // and revalidated, not re-sent
    dotfiles: false,
    setHeaders: (response, pathname) => {
      response.setHeader('Cache-Control', 'no-cache');
      // A page that states its own policy (the single file, all inline)
      // keeps it: the two would both apply.
      if (/\.html$/.test(pathname) && statesOwnPolicy(path.join(roots[p], pathname))) {
        response.removeHeader('Content-Security-Policy');
      }
    },
  })]));
  const compress = compression();
  const start = home || prefixes[prefixes.length - 1];

  const answer = (response, status, headers = {}, body = '') => {
    response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8', ...headers });
    response.end(body);
  };

  const server = http.createServer((request, response) => {
    response.setHeader('X-Content-Type-Options', 'nosniff');
    response.setHeader('Content-Security-Policy', contentSecurityPolicy);
    response.setHeader('Referrer-Policy', 'no-referrer');
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      answer(response, 405, { Allow: 'GET, HEAD' }, 'only GET and HEAD\n');
      return;
    }
    let pathname;
    try {
      pathname = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
      answer(response, 400, {}, 'a request that cannot be read\n');
      return;
    }
    if (pathname.includes('\0')) {
      answer(response, 400, {}, 'a request that cannot be read\n');
      return;
    }
    if (pathname === '/' && start !== '/') {
      answer(response, 302, { Location: start });
      return;
    }
    if (pathname === '/sw.js' && !prefixes.includes('/')) {
      answer(response, 200, { 'Content-Type': 'text/javascript', 'Cache-Control': 'no-cache' }, retiredWorker);
      return;
    }
    const prefix = prefixes.find((p) => pathname.startsWith(p) || `${pathname}/` === p);
    if (!prefix) {
      answer(response, 404, {}, 'not found\n');
      return;
    }
    if (`${pathname}/` === prefix) {
      answer(response, 301, { Location: prefix });
      return;
    }
    // Only files whose real place is inside the folder: a link out of it
    // is not followed.
    const file = path.join(roots[prefix], pathname.slice(prefix.length) || 'index.html');
    let real = null;
    try {
      real = fs.realpathSync(file);
    } catch {
      // not there: sirv answers 404
    }
    if (real && real !== roots[prefix] && !real.startsWith(roots[prefix] + path.sep)) {
      answer(response, 404, {}, 'not found\n');
      return;
    }
    if (record) served.push(pathname);
    request.url = request.url.slice(prefix.length - 1);
    compress(request, response, () => handlers[prefix](request, response, () => answer(response, 404, {}, 'not found\n')));
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, host, resolve);
  });
  const address = server.address();
  const shownHost = host === '0.0.0.0' ? '127.0.0.1' : host;
  return {
    url: `http://${shownHost}:${address.port}${start}`,
    port: address.port,
    served,
    // Closed for good: kept-alive connections too, as when the network goes.
    close: () => {
      server.close();
      server.closeAllConnections();
    },
  };
}

// This machine's addresses on its networks (not loopback), IPv4 first.
function networkAddresses() {
  return Object.values(os.networkInterfaces()).flat()
    .filter((a) => !a.internal && (a.family === 'IPv4' || a.family === 4))
    .map((a) => a.address);
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const args = process.argv.slice(2);
  const network = args.includes('--network');
  const [dir, portText = '8000'] = args.filter((a) => a !== '--network');
  if (!dir || !fs.existsSync(path.join(dir, 'index.html'))) {
    console.error(`usage: serve.mjs DIR [PORT] [--network]; no index.html in '${dir}'`);
    process.exit(2);
  }
  const port = Number(portText);
  try {
    const site = await serve({ '/tank/': dir }, { port, host: network ? '0.0.0.0' : '127.0.0.1' });
    if (!network) {
      console.log(`Serving ${dir} at ${site.url} (Ctrl-C to stop)`);
      console.log('For the phones and laptops of a room: make web NETWORK=1');
    } else {
      const addresses = networkAddresses();
      console.log(`Serving ${dir} to this machine's networks on port ${port} (Ctrl-C to stop).`);
      if (addresses.length === 0) console.log('This machine has no network address: only it can open the page.');
      for (const address of addresses) console.log(`  Students type: http://${address}:${port}/tank/`);
      console.log(`  This machine:  ${site.url}`);
      console.log('Over plain http from another machine the page runs but keeps no copy for use');
      console.log('offline: browsers allow that only over https or from localhost.');
      if (addresses.length) {
        const qrcode = require('qrcode');
        console.log(await qrcode.toString(`http://${addresses[0]}:${port}/tank/`, { type: 'terminal', small: true }));
      }
    }
  } catch (error) {
    console.error(`cannot serve on port ${port}: ${error.message}`);
    process.exit(1);
  }
}
