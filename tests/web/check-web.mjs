// The site played as a person plays it, in each of three engines in turn:
// chromium, Firefox ESR and WebKitGTK (see engines.mjs): node check-web.mjs
// SITE_DIR [ENGINE...]. With SHOTS_DIR set it also saves screenshots there.
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
const hidden = (t, selector) => $(t, selector, (e) => e.hidden);
const disabled = (t, selector) => $(t, selector, (e) => e.disabled);
const sprites = (t, name) => t.eval((n) => [...document.querySelectorAll(`.sprite[aria-label="${n}"]`)].map((s) => ({
  x: parseFloat(s.style.left), y: parseFloat(s.style.top), shown: !s.hidden && !s.parentElement.hidden })), name);
const player = async (t) => (await sprites(t, 'Player'))[0];
const dialogOpen = (t) => $(t, '#box', (b) => b.open);
// The control with the keyboard, and whether a text box's whole text is selected.
const focused = (t) => t.eval(() => {
  const e = document.activeElement;
  return e.tagName === 'INPUT' && e.selectionStart === 0 && e.selectionEnd === e.value.length ? e.id + ' selected' : e.id;
});
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

// Holds a key until the condition holds, for at most ms.
async function holdUntil(t, key, condition, ms = 6000) {
  await t.down(key);
  for (const end = Date.now() + ms; !(await condition()) && Date.now() < end;) await sleep(10);
  await t.up(key);
}

// Steers the player under or over the dot nearest on x, turns to face it
// and fires, until the score counts a hit.
async function scoreAHit(t) {
  for (let attempt = 0; attempt < 4; ++attempt) {
    while ((await sprites(t, 'Bullet'))[0].shown) await sleep(20);
    const me = await player(t);
    const dots = (await sprites(t, 'Target dot')).filter((d) => d.shown);
    const dot = dots.sort((a, b) => Math.abs(a.x - me.x) - Math.abs(b.x - me.x))[attempt % dots.length];
    await holdUntil(t, dot.x > me.x ? 'ArrowRight' : 'ArrowLeft', async () => Math.abs((await player(t)).x - dot.x) <= 2);
    await t.press(dot.y > me.y ? 'ArrowDown' : 'ArrowUp');
    await sleep(40);
    await t.press('Enter');
    if (await soon(async () => Number(await text(t, '#c-Score')) > 0, 2000)) return true;
  }
  return false;
}

// Whether every game pixel of the field covers a whole block of scale x
// scale screen pixels of one colour, read from the field's part of a
// screenshot of the viewport. The status strip covers the field's last row.
async function fieldIsCrisp(t, scale) {
  const png = await t.shot();
  return t.eval(async ([data, k]) => {
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
    return { width, odd };
  }, [png.toString('base64'), scale]);
}

// --- The desktop: keyboard and mouse, at one device pixel per CSS pixel.
async function desktop(engine) {
  const page = await open(engine, { width: 640, height: 300 });
  check(await $(page, '#box', (b) => b.matches(':modal')) && await text(page, '#box-caption') === 'vantor' &&
        await text(page, '#box-prompt') === 'Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!' &&
        await page.title() === 'Form1', 'the instructions read in full in a modal dialog captioned vantor, the page titled Form1');
  await page.press('Enter');
  check(!(await dialogOpen(page)) && await soon(async () => await focused(page) === 'c-NewGame'),
        'Enter closes the instructions, New Game has the keyboard');
  await page.click('#c-time');
  await page.down('Shift');
  await page.press('Tab');
  await page.up('Shift');
  check(await focused(page) === 'c-NewGame', 'a click into the time box, then one Shift+Tab, puts the keyboard on New Game');
  const round = [];
  for (const shift of [false, false, true]) {
    if (shift) await page.down('Shift');
    await page.press('Tab');
    if (shift) await page.up('Shift');
    round.push(await focused(page));
  }
  check(round.join() === 'c-time selected,c-NewGame,c-time selected', 'Tab and Shift+Tab go round the controls, a text box selected');
  check(await page.eval(() => document.fonts.check('11px "Liberation Sans"')), 'the page font is loaded');
  check(await $(page, '#c-time', (e) => e.labels.length === 2 && e.getAttribute('aria-label') === 'Time limit in seconds') &&
        await $(page, '#c-Score', (e) => e.getAttribute('role') === 'status' && e.getAttribute('aria-labelledby') === 'c-Label1'),
        'the time box carries its name and both captions; the score is a live region named by its caption');
  await shot(page, 'idle');

  await typeLimit(page, '9');
  await page.eval(() => document.querySelector('#c-NewGame').focus());
  const gameStart = Date.now();
  await page.press('Enter');
  await sleep(100);
  check(!(await hidden(page, '#c-Back')) && await disabled(page, '#c-NewGame') && await disabled(page, '#c-time') &&
        await page.title() === 'Viveve', 'Enter on New Game shows the field, disables New Game and the time box, and the first tick titles it Viveve');
  check(await page.eval(() => {
    const form = document.querySelector('#form').getBoundingClientRect();
    return [...document.querySelectorAll('#form > :not([hidden])')].every((e) => {
      const r = e.getBoundingClientRect();
      return r.x - form.x === parseFloat(e.style.left) && r.y - form.y === parseFloat(e.style.top);
    });
  }), 'every control shows at its design place, the focus having moved');

  await page.eval(() => window.scrollTo(0, 0));  // clicking New Game scrolled it into view
  check(await scoreAHit(page) && await page.eval(() => window.scrollY) === 0,
        'held arrows walk the player, never scrolling the page, and the bullet strikes a dot that the score counts');
  await shot(page, 'game-scale1');

  // Enter held through the end of the game, repeating, never answers the result.
  await until(async () => await count(page) === 1, 9000, 'the last second');
  await page.eval(() => {
    window.enterRepeats = 0;
    addEventListener('keydown', (e) => { if (e.key === 'Enter' && e.repeat) ++window.enterRepeats; }, true);
  });
  if (engine.lacks.repeat) skip('Enter repeats sent through the driver', engine.lacks.repeat);
  await page.hold('Enter');
  await boxUp(page, 3000);
  const gameMs = Date.now() - gameStart;
  check(gameMs > 8500 && gameMs < 9700, `the clock ends a 9 s game on time (${gameMs} ms)`);
  await sleep(300);
  await page.release('Enter');
  await sleep(100);
  const repeats = await page.eval(() => window.enterRepeats);
  const result = await text(page, '#box-prompt');
  check(repeats >= 3 && await dialogOpen(page) && /^Game over\. You made [1-9]\d* hits in 9 seconds!$/.test(result) && await count(page) === 0,
        `Enter held through the end of the game, repeating (${repeats} repeats), leaves the result open over the last count, 0: ${result}`);
  await shot(page, 'result');
  await page.press('Enter');
  await sleep(100);
  check(!(await dialogOpen(page)) && await hidden(page, '#c-Back') && await focused(page) === 'c-time selected',
        'a fresh Enter answers the result; the field is gone, the time box has the keyboard with its count selected');

  // Losing the keyboard releases the keys; a hidden page costs the clock at
  // most one second.
  await page.type('5');
  await page.click('#c-NewGame');
  await page.down('ArrowRight');
  await sleep(200);
  await page.eval(() => window.dispatchEvent(new Event('blur')));
  const leftAt = (await player(page)).x;
  await sleep(200);
  check((await player(page)).x === leftAt, 'a blur releases the held arrow');
  await page.up('ArrowRight');

  const hiddenBefore = await count(page);
  await page.eval(() => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await sleep(2200);
  const hiddenAfter = await count(page);
  await page.eval(() => {
    delete document.hidden;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await sleep(150);
  const shownAfter = await count(page);
  check(hiddenAfter === hiddenBefore && hiddenBefore - shownAfter <= 1,
        `a hidden page stops the clock, and showing again costs one second at most (${hiddenBefore} -> ${hiddenAfter} -> ${shownAfter})`);
  await boxUp(page, 8000);
  await page.click('#box-ok');

  // Offline: the service worker has the site.
  await page.eval(() => navigator.serviceWorker.ready.then(() => true));
  await stopServer();
  await page.reload();
  await boxUp(page);
  await page.down(' ');
  check(await dialogOpen(page), 'Space answers a box only as it comes up');
  await page.up(' ');
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
  check(!(await dialogOpen(page)), 'Escape answers a box');
  await page.click('#c-NewGame');
  await page.press('Enter');
  await sleep(300);
  const crisp = await fieldIsCrisp(page, 2);
  check(crisp.width === 930 && crisp.odd === 0, `at ratio 2 every game pixel is a 2 x 2 block (${JSON.stringify(crisp)})`);
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
  await p.insertText('2');  // as the on-screen keyboard types
  await poke('#c-NewGame');
  if (touch) {
    const from = await player(p);
    await p.touchHold('#touch [data-vk="39"]', 300);
    check(await $(p, '#touch', (e) => getComputedStyle(e).display !== 'none') && (await player(p)).x > from.x + 10,
          'the touch keys show on a phone, and a held touch arrow walks the player');
    await p.touchHold('#touch .fire', 100);
    check(await soon(async () => (await sprites(p, 'Bullet'))[0].shown), 'the fire key fires');
  } else {
    await sleep(300);
  }
  const crisp = await fieldIsCrisp(p, 2);
  check(await $(p, '#window', (e) => e.getBoundingClientRect().width) === 310 && crisp.width === 930 && crisp.odd === 0,
        `at ratio 3 on a narrow screen the window is 310 px wide, every game pixel 2 x 2 device pixels (${JSON.stringify(crisp)})`);
  await shot(p, 'phone');
  await boxUp(p, 4000);
  await poke('#box-ok');
  await sleep(100);
  check(!(await dialogOpen(p)) && !(await disabled(p, '#c-NewGame')), `a ${touch ? 'tap' : 'click'} answers the result`);
  await p.done();
}

// --- A box takes the first fresh Enter whatever came before it: an Enter
// whose release closed the box before, one pressed in another tab, and a
// page that stood still as the box came up.
async function firstEnter(engine) {
  const page = await open(engine, { width: 640, height: 300 });
  const shortGame = async () => {
    await typeLimit(page, '1');
    await page.click('#c-NewGame');
  };
  const takesOneEnter = async (what) => {
    await boxUp(page, 5000);
    await page.press('Enter');
    await sleep(100);
    check(!(await dialogOpen(page)), `one Enter answers the result ${what}`);
  };
  await page.press('Enter');
  await shortGame();
  await takesOneEnter('after Enter answered the instructions');

  await shortGame();
  await page.eval(() => {
    const seen = window.seen = [];
    addEventListener('blur', (e) => e.target === window && seen.push('blur'), true);
    for (const type of ['keydown', 'keyup']) addEventListener(type, (e) => seen.push(`${type} ${e.key}`), true);
    document.addEventListener('visibilitychange', () => seen.push(document.hidden ? 'hidden' : 'shown'));
  });
  const other = await page.newTab();
  await other.front();
  await other.press('Enter');
  await page.front();
  await other.close();
  const seen = await page.eval(() => window.seen);
  check(!seen.some((s) => s.endsWith('Enter')) && (seen.includes('blur') || seen.includes('hidden')),
        `the other tab had the keyboard (the game's tab saw: ${seen.join(', ') || 'nothing'})`);
  await takesOneEnter('after an Enter pressed and let go in another tab');

  await shortGame();
  await sleep(300);
  await page.eval(() => {
    for (const end = performance.now() + 3000; performance.now() < end;);
  });
  await takesOneEnter('after the page stood still for 3 s over the end of the game');
  await page.done();
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
    for (const part of [desktop, sharp, phone, firstEnter]) await part(engine);
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
