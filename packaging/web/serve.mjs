// A static server for the site: node serve.mjs SITE_DIR [PORT]. Any static
// host serves the site as well; this one only knows the types it needs, and
// compresses as such a host does: brotli or gzip, whichever the browser
// takes, for the types that shrink, never the font or the pictures, which
// are compressed already.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { promisify } from 'node:util';
import { brotliCompress, constants, gzip } from 'node:zlib';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.woff2': 'font/woff2', '.png': 'image/png', '.ico': 'image/x-icon',
  '.webmanifest': 'application/manifest+json', '.json': 'application/json', '.svg': 'image/svg+xml',
  '.txt': 'text/plain; charset=utf-8',
};
const SHRINKS = new Set(['.html', '.js', '.css', '.wasm', '.ico', '.webmanifest', '.json', '.svg', '.txt']);
// At their best, as a host that compresses its files once and keeps them.
const ENCODE = {
  br: (body) => promisify(brotliCompress)(body, { params: { [constants.BROTLI_PARAM_QUALITY]: 11,
                                                            [constants.BROTLI_PARAM_SIZE_HINT]: body.length } }),
  gzip: (body) => promisify(gzip)(body, { level: 9 }),
};

// The coding the browser takes, brotli before gzip, from Accept-Encoding's
// list with its weights; none where it refuses both (q=0) or names neither.
export function encodingFor(accept = '') {
  const weight = {};
  for (const part of accept.split(',')) {
    const [name, ...params] = part.trim().toLowerCase().split(';');
    const q = params.map((p) => p.trim()).find((p) => p.startsWith('q='));
    if (name) weight[name] = q ? Number(q.slice(2)) || 0 : 1;
  }
  const takes = (coding) => (weight[coding] ?? weight['*'] ?? 0) > 0;
  return ['br', 'gzip'].find(takes) || null;
}

// Each file is compressed once for each coding until it changes; requests
// that come while it is being compressed wait for the same copy.
const packed = new Map();
function encoded(file, coding, body, changed) {
  const key = `${coding}:${file}`;
  const hit = packed.get(key);
  if (hit && hit.changed === changed) return hit.bytes;
  const bytes = ENCODE[coding](body);
  packed.set(key, { changed, bytes });
  return bytes;
}

async function answer(root, prefix, request, response) {
  const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
  if (path.startsWith(prefix)) {
    const rest = path.slice(prefix.length);
    const file = normalize(join(root, rest === '' || rest.endsWith('/') ? rest + 'index.html' : rest));
    if (file.startsWith(root)) {
      try {
        const [body, info] = await Promise.all([readFile(file), stat(file)]);
        const headers = { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache' };
        let sent = body;
        if (SHRINKS.has(extname(file))) {
          headers.Vary = 'Accept-Encoding';  // a cache keeps each coding apart, even the plain one
          const coding = encodingFor(request.headers['accept-encoding']);
          if (coding) {
            sent = await encoded(file, coding, body, `${info.mtimeMs}:${info.size}`);
            headers['Content-Encoding'] = coding;
          }
        }
        headers['Content-Length'] = sent.length;
        response.writeHead(200, headers);
        response.end(request.method === 'HEAD' ? undefined : sent);
        return;
      } catch { /* not found */ }
    }
  }
  response.writeHead(404, { 'Content-Type': 'text/plain' });
  response.end('not found\n');
}

// Serves the folder at prefix, a path that ends in a slash.
export function serve(folder, port, prefix = '/') {
  const root = resolve(folder);
  const server = createServer((request, response) => answer(root, prefix, request, response));
  return new Promise((ready) => server.listen(port, '127.0.0.1', () => ready(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const port = Number(process.argv[3] || 8000);
  await serve(process.argv[2], port);
  console.log(`Serving the game at http://127.0.0.1:${port}/ (Ctrl-C stops)`);
}
