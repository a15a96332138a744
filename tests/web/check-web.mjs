// What only a page has, beside the scenario book that every front end plays
// (play-book), in chromium, Firefox ESR and WebKitGTK in turn (engines.mjs):
// node check-web.mjs SITE_DIR [ENGINE...]; with SHOTS_DIR set it saves
// screenshots there. Fails on any failed check, console error or CSP
// complaint, and any request for something outside the site's folder.
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import * as engines from './engines.mjs';
import { serve } from '../../packaging/web/serve.mjs';

const [original, ...wanted] = process.argv.slice(2);
const PREFIX = '/games/vantor/';  // any sub-path serves
let site = original;  // as the engine in hand is served it
let server = await serve(site, 0, PREFIX);
const port = server.address().port;
const base = `http://127.0.0.1:${port}${PREFIX}`;

let engine;
const failed = [];
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failed.push(`${engine?.name}: ${what}`);
};
const skip = (what, why) => console.log(`skip ${what}: ${why}`);

const sleep = (ms) => new Promise((resume) => setTimeout(resume, ms));
const $ = (t, selector, f) => t.eval(`(s) => (${f})(document.querySelector(s))`, selector);
const count = async (t) => Number(await $(t, '#c-time', (e) => e.value));
const sprite = (t, name) => $(t, `.sprite[aria-label="${name}"]`, (s) => ({ x: parseFloat(s.style.left), shown: !s.hidden && !s.parentElement.hidden }));
const shot = async (t, name) => shots && writeFileSync(`${shots}/${engine.name.split(' ')[0]}-${name}.png`, await t.shot(true), 'base64');
const shots = process.env.SHOTS_DIR;

// A read that fails now and then, as WebKitWebDriver's "Could not parse
// script result" does, is tried again, as the book's player does.
async function until(condition, ms, what) {
  let failed;
  for (const end = Date.now() + ms; !(await condition().catch((e) => { failed = e; return false; }));) {
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}${failed ? `; the last read failed: ${failed.message}` : ''}`);
    await sleep(20);
  }
}
// Whether the condition comes true within ms: the page acts on an event once
// the game's handler has run to its end.
const soon = (condition, ms = 1000) => until(condition, ms, '').then(() => true, () => false);
const boxUp = (t, ms = 10000) => until(() => $(t, '#box', (b) => b.open), ms, 'a box');
const stopServer = async () => {
  server.closeAllConnections();
  await new Promise((closed) => server.close(closed));
};

async function open(size) {
  const t = await engine.open(size);
  await t.goto(base);
  await boxUp(t);
  return t;
}

async function newGame(t, limit, poke = t.click) {
  await poke('#c-time');
  await t.down('Control');
  await t.press('a');
  await t.up('Control');
  await t.insertText(limit);  // as a phone's on-screen keyboard types
  await poke('#c-NewGame');
}

// The target dot's red and blue pixels, [x, y, 0xRRGGBB], from its committed
// picture: 24-bit, bottom row first, rows of 4-byte multiples.
const DOT = (() => {
  const b = readFileSync(new URL('../../scene/pictures/target_dot.bmp', import.meta.url));
  const [offset, width, height] = [b.readUInt32LE(10), b.readInt32LE(18), b.readInt32LE(22)];
  const row = Math.ceil(width * 3 / 4) * 4;
  return [...Array(width * height).keys()].map((i) => [i % width, Math.floor(i / width)])
    .map(([x, y]) => [x, y, b.readUIntLE(offset + (height - 1 - y) * row + 3 * x, 3)]).filter(([, , c]) => c !== 0xFFFFFF);
})();

// Whether the field is drawn crisp and true, read from the field's part of a
// screenshot of the viewport once the page has laid the field out at its
// scale and painted it: every game pixel a whole block of scale x scale
// screen pixels of one colour (odd counts the others), and each target dot's
// red and blue where its picture has them (wrongDots counts the others). The
// status strip covers the field's last row. The game's result must not have
// come up over the field meanwhile (covered), as a short game's does while a
// slow engine takes the picture.
async function fieldIsCrisp(t, scale) {
  await until(() => t.eval(() => new Promise((painted) => {
    const canvas = document.querySelector('#c-Back canvas');
    const settled = !canvas.parentElement.hidden && !document.getElementById('box').open &&
                    canvas.width === Math.round(canvas.getBoundingClientRect().width * devicePixelRatio);
    requestAnimationFrame(() => requestAnimationFrame(() => painted(settled)));
  })), 3000, 'the field laid out at its scale');
  const crisp = await t.eval(async ([data, k, dot]) => {
    const r = document.querySelector('#c-Back canvas').getBoundingClientRect();
    const [width, height] = [r.width, r.height].map((n) => Math.round(n * devicePixelRatio));
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
    const ctx = new OffscreenCanvas(width, height).getContext('2d');
    ctx.drawImage(image, -Math.round(r.x * devicePixelRatio), -Math.round(r.y * devicePixelRatio));
    const pixels = new Uint32Array(ctx.getImageData(0, 0, width, height).data.buffer);
    let odd = 0;
    for (let y = 0; y + 2 * k <= height; y += k)
      for (let x = 0; x + k <= width; x += k)
        for (let dy = 0; dy < k; ++dy)
          for (let dx = 0; dx < k; ++dx) odd += pixels[(y + dy) * width + x + dx] !== pixels[y * width + x];
    const rgb = (x, y) => ((p) => (p & 0xFF) << 16 | (p & 0xFF00) | (p >>> 16 & 0xFF))(pixels[y * k * width + x * k]);
    const dots = [...document.querySelectorAll('.sprite[aria-label="Target dot"]:not([hidden])')];
    const wrongDots = dots.flatMap((s) => dot.filter(([x, y, c]) => rgb(parseFloat(s.style.left) + x, parseFloat(s.style.top) + y) !== c)).length;
    return { width, odd, dots: dots.length, wrongDots, covered: document.getElementById('box').open };
  }, [await t.shot(), scale, DOT]);
  return { ...crisp, ok: !crisp.covered && crisp.width === 930 && crisp.odd === 0 && crisp.dots > 0 && crisp.wrongDots === 0 };
}

// --- The desktop at two device pixels per CSS pixel: what only a page has,
// around one game.
async function desktop() {
  const page = await open({ width: 640, height: 420, scale: 2 });
  check(await $(page, '#box', (b) => b.matches(':modal')) && await page.eval(() => document.fonts.check('11px "Liberation Sans"')) &&
        await $(page, '#c-time', (e) => e.labels.length === 2 && e.getAttribute('aria-label') === 'Time limit in seconds') &&
        await $(page, '#c-Score', (e) => e.getAttribute('role') === 'status' && e.getAttribute('aria-labelledby') === 'c-Label1'),
        'the box is modal, the page font loaded, the time box carries its name and both captions, the score is a live region named by its caption');
  await page.press('Enter');
  await newGame(page, '9');
  const crisp = await fieldIsCrisp(page, 2);
  check(crisp.ok, `at ratio 2 every game pixel is a 2 x 2 block of its colour (${JSON.stringify(crisp)})`);

  // Losing the keyboard releases the keys; a hidden page stops the clock.
  const from = (await sprite(page, 'Player')).x;
  await page.down('ArrowRight');
  await until(async () => (await sprite(page, 'Player')).x > from + 4, 3000, 'the player to walk');
  check(await page.eval(() => window.scrollY === 0 && window.scrollX === 0), 'a held arrow walks the player, never scrolling the page');
  await shot(page, 'game');
  await page.eval(() => window.dispatchEvent(new Event('blur')));
  const leftAt = (await sprite(page, 'Player')).x;
  const second = await count(page);
  await until(async () => await count(page) < second, 2000, 'the next second');
  check((await sprite(page, 'Player')).x === leftAt, 'a blur releases the held arrow');
  await page.up('ArrowRight');

  const hide = (hidden) => page.eval((h) => {
    if (h) Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
    else delete document.hidden;
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  const hiddenBefore = await count(page);
  await hide(true);
  // Nothing to await here: the clock must stay put for longer than a second.
  await sleep(2200);
  const hiddenAfter = await count(page);
  await hide(false);
  await until(async () => await count(page) !== hiddenBefore, 2000, 'the clock to go on');
  const shownAfter = await count(page);
  check(hiddenAfter === hiddenBefore && hiddenBefore - shownAfter === 1,
        `a hidden page stops the clock, and showing again costs one second at most (${hiddenBefore} -> ${hiddenAfter} -> ${shownAfter})`);

  // Offline: the service worker has the site.
  await page.eval(() => navigator.serviceWorker.ready.then(() => true));
  await stopServer();
  await page.reload();
  await boxUp(page);
  await page.press('Enter');
  await newGame(page, '1');
  await boxUp(page, 3000);
  check(/hits in 1 seconds!$/.test(await $(page, '#box-prompt', (e) => e.textContent)), 'with the server gone the game loads and plays');

  // A new build: its worker is fetched on the next visit and takes over, its
  // cache alone left, once the old build's page is closed.
  const next = mkdtempSync(join(tmpdir(), 'vantor-next-'));
  cpSync(site, next, { recursive: true });
  const worker = join(next, 'sw.js');
  writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const CACHE = "[^"]*"/, 'const CACHE = "vantor-next"'));
  server = await serve(next, port, PREFIX);
  await page.reload();
  await boxUp(page);
  let caches = [];
  let keep = page;  // a browser closes with its last tab
  for (let visit = 0; visit < 10 && caches.join() !== 'vantor-next'; ++visit) {
    // A page opened before the old worker let go keeps it another visit.
    const again = await keep.newTab();
    await keep.close();
    await again.goto(base);
    await boxUp(again);
    // As a browser does now and then on its own: asks the server for the worker.
    await again.eval(() => navigator.serviceWorker.getRegistration().then((r) => r && r.update()).catch(() => {}));
    caches = await again.eval(() => caches.keys());
    keep = await again.newTab();
    await again.close();
    await sleep(300);
  }
  check(caches.join() === 'vantor-next', `the next build's cache replaces the first (${caches})`);
  await keep.done();
  await stopServer();
  server = await serve(site, port, PREFIX);
  rmSync(next, { recursive: true });
}

// --- A phone: touch only, 390 CSS pixels wide at ratio 3.
async function phone() {
  const p = await open({ width: 390, height: 844, scale: 3, touch: true });
  const touch = !engine.lacks.touch;
  const poke = touch ? p.tap : p.click;
  if (engine.lacks.layoutShifts) {
    skip('nothing on a phone moves once drawn', engine.lacks.layoutShifts);
  } else {
    const shifts = await p.eval(() => new Promise((done) => {
      const seen = [];
      new PerformanceObserver((list) => seen.push(...list.getEntries())).observe({ type: 'layout-shift', buffered: true });
      setTimeout(() => done(seen.flatMap((e) => e.sources.map((s) => s.node && s.node.id))), 200);
    }));
    check(shifts.length === 0, `nothing on a phone moves once drawn (${shifts})`);
  }
  if (touch) {
    check(await $(p, '#box-prompt', (e) => parseFloat(getComputedStyle(e).fontSize)) >= 12 &&
          await $(p, '#box-ok', (e) => parseFloat(getComputedStyle(e).fontSize) >= 12 && e.getBoundingClientRect().height >= 40),
          'the box is in type a phone can read, its button the size of a finger');
  } else {
    skip('the phone\'s box, touch keys and taps', `${engine.lacks.touch}: no coarse pointer, so the game is played by keyboard at the same size`);
  }
  await poke('#box-ok');
  await newGame(p, '5', poke);
  if (touch) {
    const from = await sprite(p, 'Player');
    await p.touchHold('#touch [data-vk="39"]', 300);
    check(await $(p, '#touch', (e) => getComputedStyle(e).display !== 'none') && (await sprite(p, 'Player')).x > from.x + 10,
          'the touch keys show on a phone, and a held touch arrow walks the player');
    await p.touchHold('#touch .fire', 100);
    check(await soon(async () => (await sprite(p, 'Bullet')).shown), 'the fire key fires');
  }
  const crisp = await fieldIsCrisp(p, 2);
  check(await $(p, '#window', (e) => e.getBoundingClientRect().width) === 310 && crisp.ok,
        `at ratio 3 on a narrow screen the window is 310 px wide, every game pixel 2 x 2 device pixels of its colour (${JSON.stringify(crisp)})`);
  await shot(p, 'phone');
  await boxUp(p, 7000);
  await poke('#box-ok');
  check(await soon(async () => !(await $(p, '#box', (b) => b.open)) && !(await $(p, '#c-NewGame', (e) => e.disabled))),
        `a ${touch ? 'tap' : 'click'} answers the result`);
  await p.done();
}

for (const which of wanted.length ? wanted : ['chromium', 'firefox', 'webkit']) {
  const started = Date.now();
  engine = undefined;
  try {
    engine = await engines[which]({ own: (url) => url.startsWith(base) || url === 'about:blank', fail: (what) => check(false, what) });
    console.log(`--- ${engine.name}`);
    site = engine.site ? engine.site(original) : original;
    await stopServer();
    server = await serve(site, port, PREFIX);
    await desktop();
    await phone();
  } catch (e) {
    check(false, `the checks run to the end: ${e.stack}`);
    if (!server.listening) server = await serve(site, port, PREFIX);
  }
  await engine?.close();
  console.log(`${which}: ${Math.round((Date.now() - started) / 1000)} s`);
}
server.close();
console.log(failed.length ? `${failed.length} checks failed:\n  ${failed.join('\n  ')}` : 'every check passed');
process.exit(failed.length ? 1 : 0);
