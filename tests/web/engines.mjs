// The three browser engines behind one small tab interface, so that the
// book's bridge and check-web.mjs write each step once: Debian's chromium
// over CDP and Firefox ESR over WebDriver BiDi, both through Puppeteer, and
// WebKitGTK's MiniBrowser through WebKitWebDriver over classic WebDriver, in
// an Xvfb of its own. Keys are named as in KeyboardEvent.key.
//
// A tab offers eval(fn, arg), goto, reload, down/up/press/type/insertText,
// hold/quiet/release (a key held with the system's repeats, let go where the
// keyboard is), click, tap and touchHold (where the engine emulates touch),
// shot(full) as base64 PNG, newTab, front, close and done. An engine's
// `lacks` names what it cannot do, and its `site(dir)` what it is to be served.
import { spawn, execFileSync } from 'node:child_process';
import { once } from 'node:events';
import { createServer } from 'node:net';
import { cpSync, existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

const sleep = (ms) => new Promise((resume) => setTimeout(resume, ms));

// A caller passes a function, or its source text, and one argument, which
// go to the page as text.
const call = (fn, arg) => `(${fn})(${JSON.stringify(arg ?? null)})`;

// Chromium and Firefox alike. A held key goes through the engine's own
// input (rawKey), so that Puppeteer's keyboard, which would send its next
// press of that key as a repeat, never learns of a key held in one tab and
// let go in another. Firefox's phone is a browser of its own (phone()).
async function puppeteered({ own, fail }, browser, { lacks, rawKey, phone = async () => browser }) {
  let touchBrowser;
  const wrap = async (context, page) => {
    page.on('console', (m) => m.type() === 'error' && fail(`no console error: ${m.text()}`));
    page.on('pageerror', (e) => fail(`no page error: ${e.message}`));
    page.on('request', (r) => own(r.url()) || fail(`nothing requested outside: ${r.url()}`));
    const raw = await rawKey(page);
    const held = new Map();
    const tab = {
      eval: (fn, arg) => page.evaluate(call(fn, arg)),
      goto: (url) => page.goto(url),
      reload: () => page.reload(),
      down: (key) => page.keyboard.down(key),
      up: (key) => page.keyboard.up(key),
      press: (key) => page.keyboard.press(key),
      type: (text) => page.keyboard.type(text),
      insertText: (text) => page.keyboard.sendCharacter(text),
      // As the system holds a key: keydowns with repeat set, every 33 ms.
      async hold(key) {
        await raw('keyDown', key, false);
        const repeats = { last: null };
        repeats.timer = setInterval(() => { repeats.last = raw('keyDown', key, true).catch(() => {}); }, 33);
        held.set(key, repeats);
      },
      // The repeats stop, as when another tab takes the keyboard; none on
      // its way reaches this one after.
      async quiet(key) {
        clearInterval(held.get(key)?.timer);
        await held.get(key)?.last;
      },
      // Let go here, or in the tab that has the keyboard now.
      async release(key, elsewhere) {
        await tab.quiet(key);
        await (elsewhere ? elsewhere.up(key) : raw('keyUp', key));
      },
      click: (selector) => page.click(selector),
      tap: (selector) => page.tap(selector),
      async touchHold(selector, ms) {
        const { x, y, width, height } = await (await page.$(selector)).boundingBox();
        await page.touchscreen.touchStart(x + width / 2, y + height / 2);
        await sleep(ms);
        await page.touchscreen.touchEnd();
      },
      shot: (full) => page.screenshot({ fullPage: full, encoding: 'base64' }),
      front: () => page.bringToFront(),
      close: () => page.close(),
      newTab: async () => wrap(context, await context.newPage()),
      done: () => context.close(),
    };
    return tab;
  };
  return {
    name: (await browser.version()).replace(/^\w*Chrome\//, 'chromium ').replace(/^firefox\//, 'firefox '),
    lacks,
    async open({ width, height, scale = 1, touch = false }) {
      const context = await (touch ? (touchBrowser ??= await phone()) : browser).createBrowserContext();
      const page = await context.newPage();
      await page.setViewport({ width, height, deviceScaleFactor: scale, isMobile: touch, hasTouch: touch });
      return wrap(context, page);
    },
    async close() {
      if (touchBrowser !== browser) await touchBrowser?.close();
      await browser.close();
    },
  };
}

// The held keys' code, virtual key and text, as CDP sends them.
const CDP_KEYS = { Enter: ['Enter', 13, '\r'], ' ': ['Space', 32, ' '], ArrowLeft: ['ArrowLeft', 37], ArrowUp: ['ArrowUp', 38],
                   ArrowRight: ['ArrowRight', 39], ArrowDown: ['ArrowDown', 40] };

export const chromium = async (hooks) => puppeteered(hooks, await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu', '--disable-quic'],
}), {
  lacks: {},
  // A session of its own, where the page is focused only while it really
  // has the keyboard, so that another tab in front takes it.
  async rawKey(page) {
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
    return (type, key, autoRepeat) => {
      const [code, windowsVirtualKeyCode, text] = CDP_KEYS[key];
      return cdp.send('Input.dispatchKeyEvent', { type: type === 'keyDown' && !text ? 'rawKeyDown' : type, key, code,
                                                  windowsVirtualKeyCode, text, autoRepeat });
    };
  },
});

const WEBDRIVER_KEYS = { Enter: '\uE007', Escape: '\uE00C', Control: '\uE009', Tab: '\uE004', Shift: '\uE008', ArrowLeft: '\uE012',
                         ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015' };

export async function firefox(hooks) {
  const launch = (prefs = {}) => puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
                                                   headless: true, protocol: 'webDriverBiDi', extraPrefsFirefox: prefs });
  return puppeteered(hooks, await launch(), {
    lacks: { layoutShifts: 'Firefox reports no layout shifts' },
    // BiDi turns touch events on but leaves the pointer fine: a phone's only
    // pointer is coarse and cannot hover.
    phone: () => launch({ 'ui.primaryPointerCapabilities': 1, 'ui.allPointerCapabilities': 1 }),
    rawKey: async (page) => (type, k) => page.mainFrame().browsingContext.performActions(
      [{ type: 'key', id: 'held', actions: [{ type, value: WEBDRIVER_KEYS[k] || k }] }]),
  });
}

// --- WebKitGTK. WebKitWebDriver runs one session, one MiniBrowser, at a
// time; each open() starts a driver whose MiniBrowser has the pixel ratio
// asked for (GDK_SCALE). Classic WebDriver reports no console, and a
// MiniBrowser under automation browses ephemerally, where WebKit writes no
// console message out, whatever its settings say. So the site WebKit is
// served carries a hook, first in its head, before the page's policy
// applies: it records errors, failed loads and CSP violations from the start
// of each load, and they are read before the page goes away.
function hook() {
  const errors = window.checkErrors = [];
  const error = console.error.bind(console);
  console.error = (...args) => {
    errors.push(`console error: ${args.join(' ')}`);
    error(...args);
  };
  addEventListener('error', (e) => errors.push(e.target === window ? `page error: ${e.message}`
                                                                    : `failed to load ${e.target.src || e.target.href}`), true);
  addEventListener('unhandledrejection', (e) => errors.push(`unhandled rejection: ${e.reason}`));
  document.addEventListener('securitypolicyviolation', (e) => errors.push(`CSP refused ${e.blockedURI} (${e.effectiveDirective})`));
}

const CHARSET = '<meta charset="utf-8">';
const X_KEYS = { Enter: 'Return', ArrowLeft: 'Left', ArrowUp: 'Up', ArrowRight: 'Right', ArrowDown: 'Down', ' ': 'space' };
// The browser of webkit2gtk-driver's own library, under the machine's
// multiarch folder.
const MINIBROWSER = readdirSync('/usr/lib').map((d) => `/usr/lib/${d}/webkit2gtk-4.1/MiniBrowser`).find(existsSync);

const freePort = () => new Promise((found) => {
  const probe = createServer().listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => found(port));
  });
});

async function send(url, method, body) {
  // Newer WebKitWebDriver refuses a body of any other type.
  const json = body && { headers: { 'content-type': 'application/json' }, body: JSON.stringify(body) };
  const { value } = await (await fetch(url, { method, ...json })).json();
  if (value?.error) throw new Error(`WebDriver ${url}: ${value.error}: ${value.message}`);
  return value;
}

export async function webkit({ own, fail }) {
  const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1400x2800x24', '-nolisten', 'tcp'],
                  { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const [display] = await Promise.race([once(x.stdio[3], 'data'), once(x, 'exit').then(() => { throw new Error('no Xvfb'); })]);
  const env = { ...process.env, DISPLAY: `:${String(display).trim()}` };
  const xdotool = (...args) => String(execFileSync('xdotool', args, { env }));
  const drivers = new Set();  // one at a time, unless a check failed half-way
  let copy;

  // The browsers' windows on the display; the last one closed may linger.
  const windows = () => {
    try { return xdotool('search', '--onlyvisible', '--class', 'MiniBrowser').trim().split('\n'); } catch { return []; }
  };

  async function open({ width, height, scale = 1 }) {
    const before = new Set(windows());
    const port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore', env: { ...env, GDK_SCALE: String(scale) } });
    drivers.add(driver);
    for (let tries = 0; !(await send(`http://127.0.0.1:${port}/status`, 'GET').catch(() => null))?.ready; ++tries) {
      if (tries > 100) throw new Error('no WebKitWebDriver');
      await sleep(50);
    }
    const { sessionId } = await send(`http://127.0.0.1:${port}/session`, 'POST', { capabilities: { alwaysMatch: {
      'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] } } } });
    const session = (method, path, body) => send(`http://127.0.0.1:${port}/session/${sessionId}${path}`, method, body);
    // The window's size less the toolbar's is the page's.
    await session('POST', '/window/rect', { width, height });
    const inner = await session('POST', '/execute/sync', { script: 'return innerHeight', args: [] });
    await session('POST', '/window/rect', { width, height: 2 * height - inner });
    // X key events go to the focused window: the browser's.
    const window = windows().find((w) => !before.has(w));
    xdotool('windowfocus', '--sync', window);
    xdotool('mousemove', '--window', window, String(width / 2), '5');
    let current = await session('GET', '/window');

    const wrap = (handle) => {
      // Whatever a tab does, it does in its own window.
      const on = async (method, path, body) => {
        if (current !== handle) await session('POST', '/window', { handle: current = handle });
        return session(method, path, body);
      };
      const key = (type) => (k) => ({ type, value: WEBDRIVER_KEYS[k] || k });
      const keys = (...actions) => on('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
      const type = (text) => keys(...[...text].flatMap((c) => [key('keyDown')(c), key('keyUp')(c)]));
      const run = async (fn, arg = null) => {
        const result = await on('POST', '/execute/async', {
          script: `const done = arguments[1];
                   Promise.resolve(arguments[0]).then(${fn})
                     .then((v) => done({ v: v ?? null }), (e) => done({ e: String(e && e.stack || e) }));`,
          args: [arg] });
        if (result.e) throw new Error(result.e);
        return result.v;
      };
      // Reads what the hook recorded before the page goes away.
      const drain = async () => {
        const { errors, loaded } = await run(() => ({ errors: window.checkErrors?.splice(0) ?? [],
                                                      loaded: performance.getEntriesByType('resource').map((e) => e.name) }))
          .catch(() => ({ errors: [], loaded: [] }));
        errors.forEach((e) => fail(`no error: ${e}`));
        loaded.filter((u) => !own(u)).forEach((u) => fail(`nothing requested outside: ${u}`));
      };
      return {
        eval: run,
        async goto(url) {
          await drain();
          await on('POST', '/url', { url });
        },
        async reload() {
          await drain();
          await on('POST', '/refresh', {});
        },
        down: (k) => keys(key('keyDown')(k)),
        up: (k) => keys(key('keyUp')(k)),
        press: (k) => keys(key('keyDown')(k), key('keyUp')(k)),
        type,
        insertText: type,
        // The X server's own repeats, from a key held on the display in this
        // tab's window, which stop as another window takes the keyboard.
        async hold(k) {
          await on('GET', '/window');
          xdotool('keydown', X_KEYS[k]);
        },
        quiet: async () => {},
        release: async (k) => xdotool('keyup', X_KEYS[k]),
        async click(selector) {
          const element = Object.values(await on('POST', '/element', { using: 'css selector', value: selector }))[0];
          await on('POST', `/element/${element}/click`, {});
        },
        // The viewport: WebKitGTK's element screenshots are out of place at
        // a pixel ratio of 3.
        shot: () => on('GET', '/screenshot'),
        newTab: async () => wrap((await on('POST', '/window/new', { type: 'tab' })).handle),
        front: () => on('GET', '/window'),
        async close() {
          await drain();
          await on('DELETE', '/window');
          current = null;
        },
        async done() {
          for (const h of await session('GET', '/window/handles')) await wrap(h).drain();
          await session('DELETE', '').catch(() => {});
          driver.kill();
          drivers.delete(driver);
        },
        drain,
      };
    };
    return wrap(current);
  }
  return {
    name: String(execFileSync(MINIBROWSER, ['--version'], { env })).trim().toLowerCase(),
    lacks: { touch: 'no touch emulation in WebKitGTK', layoutShifts: 'WebKit reports no layout shifts' },
    site(dir) {
      copy = mkdtempSync(join(tmpdir(), 'vantor-webkit-'));
      cpSync(dir, copy, { recursive: true });
      const page = join(copy, 'index.html');
      const html = readFileSync(page, 'utf8');
      if (!html.includes(CHARSET)) throw new Error(`no ${CHARSET} in the page to put the hook after`);
      writeFileSync(page, html.replace(CHARSET, `${CHARSET}\n<script>(${hook})()</script>`));
      return copy;
    },
    open,
    close() {
      drivers.forEach((d) => d.kill());
      x.kill();
      if (copy) rmSync(copy, { recursive: true });
    },
  };
}
