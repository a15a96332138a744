// The site's measurements as one table: node bench-web.mjs WEB_BUILD NATIVE_BUILD.
// Its size as sent with gzip, the load to the instructions in headless
// chromium, the frame tick's pace over ten seconds of a game there, and the
// tick's cost in WebAssembly against the native one, from the same source;
// then Lighthouse's scores, as make lighthouse gives them.
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import puppeteer from '../../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import { serve } from '../../packaging/web/serve.mjs';
import { audit, shortfalls, table } from './lighthouse/lighthouse.mjs';

const [webBuild, nativeBuild] = process.argv.slice(2);
const site = join(webBuild, 'site');
const kb = (bytes) => (bytes / 1024).toFixed(1);
const rows = [];
const row = (measure, value, baseline = '', baselineIs = '', ratio = '') => rows.push([measure, value, baseline, baselineIs, ratio]);

// Sizes, file by file; a file that gzip does not shrink (the font, the
// icons) is sent as it is.
let raw = 0, gzipped = 0;
const files = readdirSync(site).sort().map((name) => {
  const bytes = readFileSync(join(site, name));
  const z = Math.min(bytes.length, gzipSync(bytes, { level: 9 }).length);
  raw += bytes.length;
  gzipped += z;
  return [name, bytes.length, z];
});
row('site, as sent with gzip -9, KB', kb(gzipped), '300', 'the budget', (gzipped / 1024 / 300).toFixed(2));
row('site, raw, KB', kb(raw));

// Load and pace in headless chromium.
const server = await serve(site, 0, '/');
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu', '--disable-quic'],
});
const loads = [];
for (let i = 0; i < 3; ++i) {
  const context = await browser.createBrowserContext();  // a first visit each time: nothing cached
  const page = await context.newPage();
  const start = Date.now();
  await page.goto(base);
  await page.waitForSelector('#box[open]');
  loads.push(Date.now() - start);
  await context.close();
}
loads.sort((a, b) => a - b);
row('load to the instructions dialog, ms (median of 3)', loads[1]);

// Ten seconds of a game with every arrow held and the bullet flying: the
// wake-ups of the frame tick's timer that raised a tick.
const context = await browser.createBrowserContext();
const page = await context.newPage();
await page.goto(base);
await page.waitForSelector('#box[open]');
await page.keyboard.press('Enter');
await page.locator('#c-time').fill('15');
await page.click('#c-NewGame');
await page.evaluate(() => {
  const woke = Module._vantor_timer_woke;
  window.ticks = [];
  Module._vantor_timer_woke = (timer) => {
    const ticked = woke(timer);
    if (timer === 1 && ticked) window.ticks.push(performance.now());
    return ticked;
  };
});
for (const key of ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Enter']) await page.keyboard.down(key);
await new Promise((resume) => setTimeout(resume, 10000));
const ticks = await page.evaluate(() => window.ticks);
await browser.close();
server.close();
const span = (ticks.at(-1) - ticks[0]) / 1000;
const perSecond = (ticks.length - 1) / span;
const longest = Math.max(...ticks.slice(1).map((t, i) => t - ticks[i]));
row('ticks per second delivered (10 s, headless chromium)', perSecond.toFixed(2), '64', "the timer's design rate",
    (perSecond / 64).toFixed(3));
row('longest gap between ticks, ms', longest.toFixed(2), '15.625', 'one period', (longest / 15.625).toFixed(2));

// The tick's cost, WebAssembly under node against native, same source.
const costs = (command, args) => Object.fromEntries(execFileSync(command, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] })
  .split('\n').map((line) => line.replaceAll('"', '').split(',')).filter((f) => f.length >= 4).map((f) => [f[0], Number(f[3])]));
const wasm = costs('node', [join(webBuild, 'cmake/bench/tick_benchmark_web.js')]);
const native = costs(join(nativeBuild, 'bench/tick_benchmark'), ['--benchmark_format=csv']);
for (const [name, what] of [['FlyingTick', 'frame tick, bullet flying, keys held'], ['IdleTick', 'frame tick, idle']])
  row(`${what}, ns, WebAssembly`, wasm[name].toFixed(1), native[name].toFixed(1), 'native, same source',
      (wasm[name] / native[name]).toFixed(2));

const width = [54, 10, 10, 23, 6];
const line = (cells) => console.log('| ' + cells.map((c, i) => String(c).padEnd(width[i])).join(' | ') + ' |');
line(['measure', 'web', 'baseline', 'baseline is', 'ratio']);
console.log('|' + width.map((w) => '-'.repeat(w + 2)).join('|') + '|');
rows.forEach(line);
console.log('\n| file | bytes | as sent, gzip -9 |\n|---|---|---|');
for (const [name, size, z] of files) console.log(`| ${name} | ${size} | ${z} |`);
console.log(`| all | ${raw} | ${gzipped} |`);

const scores = await audit(site);
console.log('\n' + table(scores));
for (const s of shortfalls(scores)) console.log(`below its floor: ${s}`);
