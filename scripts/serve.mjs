// A static file server on loopback, for the browser build.
//   node scripts/serve.mjs DIR [PORT]   serves DIR until Ctrl-C (port 8000)
// The browser tests import serve() and add the reference frames.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const contentTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
};

// mounts: URL prefix ('/', '/golden/') to folder. Every response is noted
// in `served` (name and size), for the page-weight figure.
export async function serve(mounts, port = 0) {
  const served = [];
  const prefixes = Object.keys(mounts).sort((a, b) => b.length - a.length);
  const server = http.createServer((request, response) => {
    const pathname = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const prefix = prefixes.find((p) => pathname.startsWith(p));
    const name = pathname.slice(prefix.length) || 'index.html';
    const root = path.resolve(mounts[prefix]);
    const file = path.resolve(root, name);
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(403);
      response.end();
      return;
    }
    fs.readFile(file, (error, data) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      served.push({ name: pathname, bytes: data.length });
      response.writeHead(200, {
        'content-type': contentTypes[path.extname(file)] || 'application/octet-stream',
        'cache-control': 'no-store',
      });
      response.end(data);
    });
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', resolve);
  });
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    served,
    // Closed for good: kept-alive connections too, as when the network goes.
    close: () => {
      server.close();
      server.closeAllConnections();
    },
  };
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const dir = process.argv[2];
  const port = Number(process.argv[3] || 8000);
  if (!dir || !fs.existsSync(path.join(dir, 'index.html'))) {
    console.error(`usage: serve.mjs DIR [PORT]; no index.html in '${dir}'`);
    process.exit(2);
  }
  try {
    const { url } = await serve({ '/': dir }, port);
    console.log(`Serving ${dir} at ${url} (Ctrl-C to stop)`);
  } catch (error) {
    console.error(`cannot serve on 127.0.0.1:${port}: ${error.message}`);
    process.exit(1);
  }
}
