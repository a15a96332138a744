// A static server for the site: node serve.mjs SITE_DIR [PORT]. Any static
// host serves the site as well; this one only knows the types it needs.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.woff2': 'font/woff2', '.png': 'image/png', '.ico': 'image/x-icon',
  '.webmanifest': 'application/manifest+json', '.txt': 'text/plain; charset=utf-8',
};

async function answer(root, prefix, request, response) {
  const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
  if (path.startsWith(prefix)) {
    const rest = path.slice(prefix.length);
    const file = normalize(join(root, rest === '' || rest.endsWith('/') ? rest + 'index.html' : rest));
    if (file.startsWith(root)) {
      try {
        const body = await readFile(file);
        response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
                                  'Cache-Control': 'no-cache' });
        response.end(body);
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
