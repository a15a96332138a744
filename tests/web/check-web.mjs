// What only the page has, beside the scenario book that every front end
// plays (play-book.mjs), in each of three engines in turn: chromium, Firefox
// ESR and WebKitGTK (see engines.mjs): node check-web.mjs SITE_DIR [ENGINE...]. With SHOTS_DIR set it also saves screenshots there.
// Fails on any failed check, any console error or CSP complaint, and any
// request for something outside the site's folder, in any engine.
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import * as engines from './engines.mjs';
import { serve } from '../../packaging/web/serve.mjs';

const wanted = process.argv.length > 3 ? process.argv.slice(3) : ['chromium', 'firefox', 'webkit'];
const shots = process.env.SHOTS_DIR;
const PREFIX = '/games/vantor/';  // any sub-path serves
let site = process.argv[2];  // as the engine in hand is served it
let server = await serve(site, 0, PREFIX);
const port = server.address().port;
const base = `http://127.0.0.1:${port}${PREFIX}`;
const own = (url) => url.startsWith(base) || url === 'about:blank';

let tally;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  (ok ? tally.passed : tally.failed).push(what);
};
const skip = (what, why) => {
  console.log(`skip ${what}: skipped in ${tally.engine}: ${why}`);
  tally.skipped.push(what);
};

const sleep = (ms) => new Promise((resume) => setTimeout(resume, ms));
const $ = (t, selector, f) => t.eval(`(s) => (${f})(document.querySelector(s))`, selector);
const text = (t, selector) => $(t, selector, (e) => e.textContent);
const count = async (t) => Number(await $(t, '#c-time', (e) => e.value));
const disabled = (t, selector) => $(t, selector, (e) => e.disabled);
const sprites = (t, name) => t.eval((n) => [...document.querySelectorAll(`.sprite[aria-label="${n}"]`)].map((s) => ({
  x: parseFloat(s.style.left), y: parseFloat(s.style.top), shown: !s.hidden && !s.parentElement.hidden })), name);
const player = async (t) => (await sprites(t, 'Player'))[0];
const dialogOpen = (t) => $(t, '#box', (b) => b.open);
const shot = async (t, name) => shots && writeFileSync(`${shots}/${tally.engine}-${name}.png`, await t.shot(true));

async function until(condition, ms, what) {
  for (const end = Date.now() + ms; !(await condition());) {
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(20);
  }
}
const boxUp = (t, ms = 10000) => until(() => dialogOpen(t), ms, 'a box');
// Whether the condition comes true within ms: the page acts on an event once
// the game's handler has run to its end.
const soon = (condition, ms = 1000) => until(condition, ms, '').then(() => true, () => false);
const stopServer = async () => {
  server.closeAllConnections();
  await new Promise((closed) => server.close(closed));
};

async function open(engine, size) {
  const t = await engine.open(size);
  await t.goto(base);
  await boxUp(t);
  return t;
}

const selectAll = async (t) => {
  await t.down('Control');
  await t.press('a');
  await t.up('Control');
};

async function typeLimit(t, limit) {
  await t.click('#c-time');
  await selectAll(t);
  await t.type(limit);
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
  const png = await t.shot();
  return t.eval(async ([data, k, dot]) => {
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
  }, [png.toString('base64'), scale, DOT]);
}
const crispAndTrue = (c) => !c.covered && c.width === 930 && c.odd === 0 && c.dots > 0 && c.wrongDots === 0;

// --- The desktop: what only a page has, around one game. The book
// (play-book.mjs) plays the rest.
async function desktop(engine) {
  const page = await open(engine, { width: 640, height: 420 });
  check(await $(page, '#box', (b) => b.matches(':modal')) && await page.eval(() => document.fonts.check('11px "Liberation Sans"')) &&
        await $(page, '#c-time', (e) => e.labels.length === 2 && e.getAttribute('aria-label') === 'Time limit in seconds') &&
        await $(page, '#c-Score', (e) => e.getAttribute('role') === 'status' && e.getAttribute('aria-labelledby') === 'c-Label1'),
        'the box is modal, the page font loaded, the time box carries its name and both captions, the score is a live region named by its caption');
  await page.press('Enter');
  await shot(page, 'idle');
  await typeLimit(page, '9');
  await page.click('#c-NewGame');

  // Losing the keyboard releases the keys; a hidden page stops the clock.
  const from = (await player(page)).x;
  await page.down('ArrowRight');
  await until(async () => (await player(page)).x > from + 4, 3000, 'the player to walk');
  check(await page.eval(() => window.scrollY === 0 && window.scrollX === 0), 'a held arrow walks the player, never scrolling the page');
  await shot(page, 'game-scale1');
  await page.eval(() => window.dispatchEvent(new Event('blur')));
  const leftAt = (await player(page)).x;
  const second = await count(page);
  await until(async () => await count(page) < second, 2000, 'the next second');
  check((await player(page)).x === leftAt, 'a blur releases the held arrow');
  await page.up('ArrowRight');

  const hiddenBefore = await count(page);
  await page.eval(() => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
    document.dispatchEvent(new Event('visibilitychange'));
  });
  // Nothing to await here: the clock must stay put for longer than a second.
  await sleep(2200);
  const hiddenAfter = await count(page);
  await page.eval(() => {
    delete document.hidden;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await until(async () => await count(page) !== hiddenBefore, 2000, 'the clock to go on');
  const shownAfter = await count(page);
  check(hiddenAfter === hiddenBefore && hiddenBefore - shownAfter === 1,
        `a hidden page stops the clock, and showing again costs one second at most (${hiddenBefore} -> ${hiddenAfter} -> ${shownAfter})`);
  await boxUp(page, 9000);
  await page.click('#box-ok');

  // Offline: the service worker has the site.
  await page.eval(() => navigator.serviceWorker.ready.then(() => true));
  await stopServer();
  await page.reload();
  await boxUp(page);
  await page.press('Enter');
  await typeLimit(page, '1');
  await page.click('#c-NewGame');
  await boxUp(page, 3000);
  check(/hits in 1 seconds!$/.test(await text(page, '#box-prompt')), 'with the server gone the game loads and plays');

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
  server.close();
  rmSync(next, { recursive: true });
  server = await serve(site, port, PREFIX);
}

// --- A display of two device pixels per CSS pixel.
async function sharp(engine) {
  const page = await open(engine, { width: 640, height: 420, scale: 2 });
  await page.press('Escape');
  await page.click('#c-NewGame');
  const crisp = await fieldIsCrisp(page, 2);
  check(crispAndTrue(crisp), `at ratio 2 every game pixel is a 2 x 2 block of its colour (${JSON.stringify(crisp)})`);
  await shot(page, 'game-scale2');
  await page.done();
}

// --- A phone: touch only, 390 CSS pixels wide at ratio 3.
async function phone(engine) {
  const p = await open(engine, { width: 390, height: 844, scale: 3, touch: true });
  const touch = !engine.lacks.touch;
  const poke = touch ? p.tap : p.click;
  if (!touch) skip('the touch keys: shown, held and tapped', `${engine.lacks.touch}; the game played by keyboard at the same size`);
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
  const legible = 'the box is in type a phone can read, its button the size of a finger';
  if (touch) {
    check(await $(p, '#box-prompt', (e) => parseFloat(getComputedStyle(e).fontSize)) >= 12 &&
          await $(p, '#box-ok', (e) => parseFloat(getComputedStyle(e).fontSize) >= 12 && e.getBoundingClientRect().height >= 40),
          legible);
  } else {
    skip(legible, `${engine.lacks.touch}: no coarse pointer, so the page keeps the desktop's box`);
  }
  await poke('#box-ok');
  await poke('#c-time');
  await selectAll(p);
  await p.insertText('5');  // as the on-screen keyboard types
  await poke('#c-NewGame');
  if (touch) {
    const from = await player(p);
    await p.touchHold('#touch [data-vk="39"]', 300);
    check(await $(p, '#touch', (e) => getComputedStyle(e).display !== 'none') && (await player(p)).x > from.x + 10,
          'the touch keys show on a phone, and a held touch arrow walks the player');
    await p.touchHold('#touch .fire', 100);
    check(await soon(async () => (await sprites(p, 'Bullet'))[0].shown), 'the fire key fires');
  }
  const crisp = await fieldIsCrisp(p, 2);
  check(await $(p, '#window', (e) => e.getBoundingClientRect().width) === 310 && crispAndTrue(crisp),
        `at ratio 3 on a narrow screen the window is 310 px wide, every game pixel 2 x 2 device pixels of its colour (${JSON.stringify(crisp)})`);
  await shot(p, 'phone');
  await boxUp(p, 7000);
  await poke('#box-ok');
  check(await soon(async () => !(await dialogOpen(p)) && !(await disabled(p, '#c-NewGame'))), `a ${touch ? 'tap' : 'click'} answers the result`);
  await p.done();
}

const tallies = [];
const original = site;
for (const which of wanted) {
  const started = Date.now();
  tally = { engine: which, passed: [], failed: [], skipped: [] };
  tallies.push(tally);
  let engine;
  try {
    engine = await engines[which]({ own, fail: (what) => check(false, what) });
    console.log(`--- ${engine.name}`);
    site = engine.site ? engine.site(original) : original;
    await stopServer();
    server = await serve(site, port, PREFIX);
    for (const part of [desktop, sharp, phone]) await part(engine);
  } catch (e) {
    check(false, `the checks run to the end: ${e.stack}`);
    if (!server.listening) server = await serve(site, port, PREFIX);
  }
  await engine?.close();
  tally.seconds = Math.round((Date.now() - started) / 1000);
}

console.log('---');
for (const t of tallies)
  console.log(`${t.engine}: ${t.passed.length} passed, ${t.failed.length} failed, ${t.skipped.length} skipped in ${t.seconds} s` +
              t.failed.map((f) => `\n  failed: ${f}`).join(''));
server.close();
process.exit(tallies.some((t) => t.failed.length) ? 1 : 0);
