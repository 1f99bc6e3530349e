// Serving the page, as make web and the browser checks do: one bad request
// does not end the server, nothing outside its folder, only GET and HEAD,
// compressed, revalidated, and the headers that keep a page to itself.
//
//   TANK_PAGE_DIR=build/web node --test tests/web/serving.test.mjs
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import zlib from 'node:zlib';
import { serve } from '../../scripts/serve.mjs';

const pageDir = process.env.TANK_PAGE_DIR;
if (!pageDir || !fs.existsSync(path.join(pageDir, 'tank.js'))) {
  throw new Error('set TANK_PAGE_DIR to a built page (make web-build)');
}

function expect(condition, message) {
  if (!condition) throw new Error(message);
}

const request = (url, { method = 'GET', headers = {} } = {}) => new Promise((resolve, reject) => {
  const r = http.request(url, { method, headers }, (response) => {
    const chunks = [];
    response.on('data', (c) => chunks.push(c));
    response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks) }));
  });
  r.on('error', reject);
  r.end();
});
// A copy of the page, with a link in it to a file outside its folder.
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-server-'));
const outside = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-outside-'));
let site;
let origin;
before(async () => {
  fs.cpSync(pageDir, dir, { recursive: true });
  fs.writeFileSync(path.join(outside, 'secret.txt'), 'not for the web\n');
  fs.symlinkSync(path.join(outside, 'secret.txt'), path.join(dir, 'secret.txt'));
  site = await serve({ '/tank/': dir });
  origin = new URL(site.url).origin;
});
after(() => {
  site?.close();
  fs.rmSync(dir, { recursive: true, force: true });
  fs.rmSync(outside, { recursive: true, force: true });
});

test('a request it cannot read is answered 400, and the server goes on', async () => {
  for (const bad of ['/%', '/%zz', '/100%', '/tank/%00', '/tank/a%00b.js']) {
    const { status } = await request(`${origin}${bad}`);
    expect(status === 400, `${bad} was answered ${status}, not 400`);
  }
  expect((await request(site.url)).status === 200, 'the server stopped answering');
});

test('nothing from outside its folder, only GET and HEAD', async () => {
  for (const out of ['/tank/secret.txt', '/tank/../../etc/passwd', '/tank/%2e%2e/%2e%2e/etc/passwd']) {
    const { status, body } = await request(`${origin}${out}`);
    expect(status === 404 || status === 400 || status === 403, `${out} was answered ${status}: ${body.toString('utf8').slice(0, 40)}`);
  }
  for (const method of ['POST', 'PUT', 'DELETE', 'PATCH']) {
    const { status, headers } = await request(site.url, { method });
    expect(status === 405 && headers.allow === 'GET, HEAD', `${method} was answered ${status}`);
  }
  expect((await request(site.url, { method: 'HEAD' })).status === 200, 'HEAD was refused');
});

test('compressed, revalidated, nosniff and a policy on every answer', async () => {
  const plain = fs.readFileSync(path.join(dir, 'tank.js'));
  const first = await request(`${site.url}tank.js`, { headers: { 'accept-encoding': 'gzip' } });
  expect(first.headers['content-encoding'] === 'gzip' && zlib.gunzipSync(first.body).equals(plain),
    `tank.js came as ${first.headers['content-encoding'] || 'identity'}, ${first.body.length} B`);
  expect(/no-cache/.test(first.headers['cache-control']) && !/no-store/.test(first.headers['cache-control']) && first.headers.etag,
    `cache-control "${first.headers['cache-control']}", etag ${first.headers.etag}`);
  const again = await request(`${site.url}tank.js`, { headers: { 'if-none-match': first.headers.etag } });
  expect(again.status === 304, `a revalidation was answered ${again.status}, not 304`);
  for (const name of ['', 'tank.js', 'no-such-file']) {
    const { headers } = await request(`${site.url}${name}`);
    expect(headers['x-content-type-options'] === 'nosniff' && /script-src 'self'/.test(headers['content-security-policy'] || ''),
      `/tank/${name}: nosniff ${headers['x-content-type-options']}, policy ${headers['content-security-policy']}`);
  }
  const root = await request(`${origin}/`);
  expect(root.status === 302 && root.headers.location === '/tank/', `/ was answered ${root.status} to ${root.headers.location}`);
});
