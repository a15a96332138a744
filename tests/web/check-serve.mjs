// serve.mjs answers as a static host does: node check-serve.mjs SITE_DIR.
// Each file in the coding the browser takes, bytes that decode to the file,
// and a Vary header wherever the coding could differ.
import { get } from 'node:http';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { serve } from '../../packaging/web/serve.mjs';

const site = process.argv[2];
const server = await serve(site, 0, '/');
// The address the server listens on: "localhost" may be ::1 first.
const fetchRaw = (path, accept) => new Promise((done, fail) => get({
  host: '127.0.0.1', port: server.address().port, path,
  headers: accept === undefined ? {} : { 'Accept-Encoding': accept },
}, (response) => {
  const chunks = [];
  response.on('data', (c) => chunks.push(c));
  response.on('end', () => done({ headers: response.headers, body: Buffer.concat(chunks) }));
}).on('error', fail));
const DECODE = { br: brotliDecompressSync, gzip: gunzipSync, undefined: (b) => b };

let failed = 0;
for (const [file, accept, coding, varies] of [
  ['vantor.wasm', 'gzip, deflate, br, zstd', 'br', true],
  ['index.html', 'br;q=0, gzip', 'gzip', true],
  ['front.js', 'identity', undefined, true],
  ['style.css', undefined, undefined, true],
  ['favicon.ico', '*', 'br', true],
  ['LiberationSans.woff2', 'br, gzip', undefined, false],  // compressed already
  ['icon-192.png', 'br, gzip', undefined, false],
]) {
  const { headers, body } = await fetchRaw('/' + file, accept);
  const ok = headers['content-encoding'] === coding && (headers.vary === 'Accept-Encoding') === varies &&
             Number(headers['content-length']) === body.length &&
             DECODE[coding](body).equals(readFileSync(join(site, file)));
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${file} for "${accept ?? ''}": ${headers['content-encoding'] ?? 'as it is'}`);
  failed += !ok;
}
server.close();
console.log(failed ? `${failed} checks failed` : 'every check passed');
process.exit(failed ? 1 : 0);
