// The site in Debian's headless chromium, played as a person plays it:
// node check-web.mjs SITE_DIR. With SHOTS_DIR set it also saves screenshots
// there. Fails on any failed check, any console error, and any request for
// something outside the site's folder.
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../../platform/web/serve.mjs';

const site = process.argv[2];
const shots = process.env.SHOTS_DIR;
const PREFIX = '/games/vantor/';  // any sub-path serves
let server = await serve(site, 0, PREFIX);
const port = server.address().port;
const base = `http://127.0.0.1:${port}${PREFIX}`;
const failures = [];
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
};

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});

async function open(options = {}) {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  page.on('console', (m) => m.type() === 'error' && check(false, `no console error: ${m.text()}`));
  page.on('pageerror', (e) => check(false, `no page error: ${e.message}`));
  context.on('request', (r) => r.url().startsWith(base) || check(false, `nothing requested outside: ${r.url()}`));
  const start = Date.now();
  await page.goto(base);
  await page.waitForSelector('#box[open]');
  return { context, page, loadMs: Date.now() - start };
}

const $ = (page, selector, f) => page.$eval(selector, f);
const sprites = (page, name) => page.$$eval(`.sprite[aria-label="${name}"]`, (nodes) => nodes.map((n) => ({
  x: parseFloat(n.style.left), y: parseFloat(n.style.top), shown: !n.hidden && !n.parentElement.hidden })));
const player = async (page) => (await sprites(page, 'Player'))[0];
const dialogOpen = (page) => $(page, '#box', (b) => b.open);
const shot = (page, name) => shots && page.screenshot({ path: `${shots}/${name}.png`, fullPage: true });

async function typeLimit(page, limit) {
  await page.click('#c-time');
  await page.keyboard.press('Control+A');
  await page.keyboard.type(limit);
}

// Holds a key until the condition holds, for at most ms.
async function holdUntil(page, key, condition, ms = 6000) {
  await page.keyboard.down(key);
  const until = Date.now() + ms;
  while (!(await condition()) && Date.now() < until) await page.waitForTimeout(10);
  await page.keyboard.up(key);
}

// Steers the player in line with the nearest dot, turns to face it and
// fires, until the score counts a hit.
async function scoreAHit(page) {
  for (let attempt = 0; attempt < 4; ++attempt) {
    while ((await sprites(page, 'Bullet'))[0].shown) await page.waitForTimeout(20);
    const me = await player(page);
    const dots = (await sprites(page, 'Target dot')).filter((d) => d.shown);
    const gap = (d) => Math.min(Math.abs(d.x - me.x), Math.abs(d.y - me.y));
    const dot = dots.sort((a, b) => gap(a) - gap(b))[attempt % dots.length];
    const alongX = Math.abs(dot.x - me.x) < Math.abs(dot.y - me.y);  // line up on x, fire vertically
    const axis = alongX ? 'x' : 'y';
    const toward = alongX ? (dot.x > me.x ? 'ArrowRight' : 'ArrowLeft') : (dot.y > me.y ? 'ArrowDown' : 'ArrowUp');
    await holdUntil(page, toward, async () => Math.abs((await player(page))[axis] - dot[axis]) <= 2);
    const now = await player(page);
    await page.keyboard.press(alongX ? (dot.y > now.y ? 'ArrowDown' : 'ArrowUp')
                                     : (dot.x > now.x ? 'ArrowRight' : 'ArrowLeft'));
    await page.waitForTimeout(40);
    await page.keyboard.press('Enter');
    const until = Date.now() + 2000;
    while (Date.now() < until) {
      if (Number(await page.textContent('#c-Score')) > 0) return true;
      await page.waitForTimeout(20);
    }
  }
  return false;
}

// Whether every game pixel of the field covers a whole block of scale x
// scale screen pixels of one colour, read from a screenshot. The status
// strip covers the field's last row.
async function fieldIsCrisp(page, scale) {
  const box = await page.locator('#c-Back canvas').boundingBox();
  const png = await page.screenshot({ clip: box, scale: 'device' });
  return page.evaluate(async ([data, k]) => {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
    const canvas = new OffscreenCanvas(image.width, image.height);
    const ctx = canvas.getContext('2d');
    ctx.drawImage(image, 0, 0);
    const pixels = new Uint32Array(ctx.getImageData(0, 0, image.width, image.height).data.buffer);
    let odd = 0;
    for (let y = 0; y + 2 * k <= image.height; y += k)
      for (let x = 0; x + k <= image.width; x += k)
        for (let dy = 0; dy < k; ++dy)
          for (let dx = 0; dx < k; ++dx) odd += pixels[(y + dy) * image.width + x + dx] !== pixels[y * image.width + x];
    return { width: image.width, odd };
  }, [png.toString('base64'), scale]);
}

// --- The desktop: keyboard and mouse, at one device pixel per CSS pixel.
const desk = await open({ viewport: { width: 640, height: 300 } });
const page = desk.page;
check(await $(page, '#box', (b) => b.matches(':modal')), 'the instructions show in a modal dialog');
check(await page.textContent('#box-caption') === 'vantor', 'the dialog is captioned vantor');
check(await page.textContent('#box-prompt') ===
      'Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!', 'the instructions read in full');
check(await page.title() === 'Form1', 'the page title is the caption, Form1');
await page.keyboard.press('Enter');
check(!(await dialogOpen(page)), 'Enter closes the instructions');
check(await page.evaluate(() => document.activeElement.id) === 'c-NewGame', 'New Game has the keyboard');
const focusAfter = async (key) => {
  await page.keyboard.press(key);
  return page.evaluate(() => {
    const e = document.activeElement;
    return e.tagName === 'INPUT' && e.selectionEnd - e.selectionStart === e.value.length ? e.id + ' selected' : e.id;
  });
};
check([await focusAfter('Tab'), await focusAfter('Tab'), await focusAfter('Shift+Tab')].join() ===
      'c-time selected,c-NewGame,c-time selected', 'Tab and Shift+Tab go round the controls, a text box selected');
check(await page.evaluate(() => document.fonts.check('11px "Liberation Sans"')), 'the page font is loaded');
check(await $(page, '#c-time', (e) => e.labels.length === 2 && e.getAttribute('aria-label') === 'Time limit in seconds'),
      'the time box carries its name and both captions');
check(await $(page, '#c-Score', (e) => e.getAttribute('role') === 'status' &&
                                        e.getAttribute('aria-labelledby') === 'c-Label1'), 'the score is a live region named by its caption');
await shot(page, 'idle');

await typeLimit(page, 'x');
await page.click('#c-NewGame');
await page.waitForTimeout(100);
check(await $(page, '#c-Back', (e) => e.hidden) && !(await $(page, '#c-NewGame', (e) => e.disabled)),
      'a limit that is no number starts nothing');

await typeLimit(page, '9');
await page.focus('#c-NewGame');
const gameStart = Date.now();
await page.keyboard.press('Enter');
await page.waitForTimeout(100);
check(!(await $(page, '#c-Back', (e) => e.hidden)), 'Enter on New Game shows the field');
check(await $(page, '#c-NewGame', (e) => e.disabled) && await $(page, '#c-time', (e) => e.disabled),
      'New Game and the time box are disabled during the game');
check(await page.title() === 'Viveve', 'the first tick fired: the title reads Viveve');
check(await page.evaluate(() => {
  const form = document.querySelector('#form').getBoundingClientRect();
  return [...document.querySelectorAll('#form > :not([hidden])')].every((e) => {
    const r = e.getBoundingClientRect();
    return r.x - form.x === parseFloat(e.style.left) && r.y - form.y === parseFloat(e.style.top);
  });
}), 'every control shows at its design place, the focus having moved');

await page.evaluate(() => window.scrollTo(0, 0));  // clicking New Game scrolled it into view
const before = await player(page);
await page.keyboard.down('ArrowDown');
await page.waitForTimeout(300);
await page.keyboard.up('ArrowDown');
check((await player(page)).y > before.y + 10, 'a held arrow walks the player');
check(await page.evaluate(() => window.scrollY) === 0, 'the arrows do not scroll the page');
check(await scoreAHit(page), 'the bullet strikes a dot and the score counts it');
await shot(page, 'game-scale1');

// Enter held through the end of the game, repeating, never answers the result.
while (await page.inputValue('#c-time') !== '1') await page.waitForTimeout(20);
await page.keyboard.down('Enter');
while (!(await dialogOpen(page))) {
  await page.waitForTimeout(30);
  await page.keyboard.down('Enter');  // a repeat
}
const gameMs = Date.now() - gameStart;
check(gameMs > 8500 && gameMs < 9700, `the clock ends a 9 s game on time (${gameMs} ms)`);
for (let i = 0; i < 5; ++i) {
  await page.waitForTimeout(30);
  await page.keyboard.down('Enter');
}
await page.keyboard.up('Enter');
await page.waitForTimeout(100);
check(await dialogOpen(page), 'Enter held through the end of the game leaves the result open');
const result = await page.textContent('#box-prompt');
check(/^Game over\. You made [1-9]\d* hits in 9 seconds!$/.test(result), `the result reads right: ${result}`);
check(await page.inputValue('#c-time') === '0', 'the box opens over the last count, 0');
await shot(page, 'result');
await page.keyboard.press('Enter');
await page.waitForTimeout(100);
check(!(await dialogOpen(page)), 'a fresh Enter answers the result');
check(await $(page, '#c-Back', (e) => e.hidden), 'the field is gone after the game');
check(await page.evaluate(() => {
  const e = document.activeElement;
  return e.id === 'c-time' && e.selectionStart === 0 && e.selectionEnd === e.value.length;
}), 'the time box has the keyboard with its count selected');

// Losing the keyboard releases the keys; a stalled or hidden page costs the
// clock at most one second.
await page.keyboard.type('5');
await page.click('#c-NewGame');
await page.keyboard.down('ArrowRight');
await page.waitForTimeout(200);
await page.evaluate(() => window.dispatchEvent(new Event('blur')));
const leftAt = (await player(page)).x;
await page.waitForTimeout(200);
check((await player(page)).x === leftAt, 'a blur releases the held arrow');
await page.keyboard.up('ArrowRight');

// The page's thread blocked for 2.5 s, as by a swapping machine.
const countBefore = Number(await page.inputValue('#c-time'));
await page.evaluate(() => {
  for (const until = performance.now() + 2500; performance.now() < until;);
});
await page.waitForTimeout(150);
const countAfter = Number(await page.inputValue('#c-time'));
check(countBefore - countAfter <= 1, `a stalled page costs the clock one second at most (${countBefore} -> ${countAfter})`);

const hiddenBefore = Number(await page.inputValue('#c-time'));
await page.evaluate(() => {
  Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
  document.dispatchEvent(new Event('visibilitychange'));
});
await page.waitForTimeout(2200);
check(Number(await page.inputValue('#c-time')) === hiddenBefore, 'a hidden page stops the clock');
await page.evaluate(() => {
  delete document.hidden;
  document.dispatchEvent(new Event('visibilitychange'));
});
await page.waitForTimeout(150);
check(hiddenBefore - Number(await page.inputValue('#c-time')) <= 1, 'showing again costs one second at most');
await page.waitForSelector('#box[open]', { timeout: 8000 });
await page.click('#box-ok');

// Offline: the service worker has the site.
await page.evaluate(() => navigator.serviceWorker.ready);
server.closeAllConnections();
await new Promise((closed) => server.close(closed));
await page.reload();
await page.waitForSelector('#box[open]');
await page.keyboard.down(' ');
check(await dialogOpen(page), 'Space answers a box only as it comes up');
await page.keyboard.up(' ');
await typeLimit(page, '1');
await page.click('#c-NewGame');
await page.waitForSelector('#box[open]', { timeout: 3000 });
check(/hits in 1 seconds!$/.test(await page.textContent('#box-prompt')), 'with the server gone the game loads and plays');

// A new build: its worker is fetched on the next visit and takes over, its
// cache alone left, once the old build's page is closed.
const next = mkdtempSync(join(tmpdir(), 'vantor-next-'));
cpSync(site, next, { recursive: true });
const worker = join(next, 'sw.js');
writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const CACHE = "[^"]*"/, 'const CACHE = "vantor-next"'));
server = await serve(next, port, PREFIX);
await page.reload();
await page.waitForSelector('#box[open]');
await page.close();
let caches = [];
for (let visit = 0; visit < 10 && caches.join() !== 'vantor-next'; ++visit) {
  // A page opened before the old worker let go keeps it another visit.
  const again = await desk.context.newPage();
  await again.goto(base);
  await again.waitForSelector('#box[open]');
  // As a browser does now and then on its own: asks the server for the worker.
  await again.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r && r.update()).catch(() => {}));
  caches = await again.evaluate(() => caches.keys());
  await again.close();
  await new Promise((resume) => setTimeout(resume, 300));
}
check(caches.join() === 'vantor-next', `the next build's cache replaces the first (${caches})`);
await desk.context.close();
server.close();
rmSync(next, { recursive: true });
server = await serve(site, port, PREFIX);

// --- A display of two device pixels per CSS pixel.
const sharp = await open({ viewport: { width: 640, height: 420 }, deviceScaleFactor: 2 });
await sharp.page.keyboard.press('Escape');
check(!(await dialogOpen(sharp.page)), 'Escape answers a box');
await sharp.page.click('#c-NewGame');
await sharp.page.keyboard.press('Enter');
await sharp.page.waitForTimeout(300);
const crisp2 = await fieldIsCrisp(sharp.page, 2);
check(crisp2.width === 930 && crisp2.odd === 0, `at ratio 2 every game pixel is a 2 x 2 block (${JSON.stringify(crisp2)})`);
await shot(sharp.page, 'game-scale2');
await sharp.context.close();

// --- A phone: touch only, 390 CSS pixels wide at ratio 3.
const phone = await open({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
const p = phone.page;
check(await $(p, '#touch', (e) => getComputedStyle(e).display !== 'none'), 'the touch keys show on a phone');
check(await $(p, '#window', (e) => e.getBoundingClientRect().width) === 310, 'the window scales to two device pixels a game pixel');
const shifts = await p.evaluate(() => new Promise((done) => {
  const seen = [];
  new PerformanceObserver((list) => seen.push(...list.getEntries())).observe({ type: 'layout-shift', buffered: true });
  setTimeout(() => done(seen.flatMap((e) => e.sources.map((s) => s.node && s.node.id))), 200);
}));
check(shifts.length === 0, `nothing on a phone moves once drawn (${shifts})`);
check(await $(p, '#box-prompt', (e) => parseFloat(getComputedStyle(e).fontSize)) >= 12 &&
      await $(p, '#box-ok', (e) => parseFloat(getComputedStyle(e).fontSize) >= 12 && e.getBoundingClientRect().height >= 40),
      'the box is in type a phone can read, its button the size of a finger');
await p.tap('#box-ok');
await p.tap('#c-time');
await p.keyboard.press('Control+A');
await p.keyboard.insertText('2');  // as the on-screen keyboard types
await p.tap('#c-NewGame');
const touchCdp = await phone.context.newCDPSession(p);
const hold = async (selector, ms) => {
  const b = await p.locator(selector).boundingBox();
  const point = { x: b.x + b.width / 2, y: b.y + b.height / 2 };
  await touchCdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
  await p.waitForTimeout(ms);
  await touchCdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
};
const from = await player(p);
await hold('#touch [data-vk="39"]', 300);
check((await player(p)).x > from.x + 10, 'a held touch arrow walks the player');
await hold('#touch .fire', 50);
await p.waitForTimeout(50);
check(await p.title() === 'Viveve', 'the fire key fires');
const crisp3 = await fieldIsCrisp(p, 2);
check(crisp3.width === 930 && crisp3.odd === 0, `at ratio 3 on a narrow screen every game pixel is 2 x 2 device pixels (${JSON.stringify(crisp3)})`);
await shot(p, 'phone');
await p.waitForSelector('#box[open]', { timeout: 4000 });
await p.tap('#box-ok');
await p.waitForTimeout(100);
check(!(await dialogOpen(p)) && !(await $(p, '#c-NewGame', (e) => e.disabled)), 'a tap answers the result');
await phone.context.close();

await browser.close();
server.close();
console.log(failures.length ? `${failures.length} checks failed` : 'every check passed');
process.exit(failures.length ? 1 : 0);
