// The three browser engines behind one small tab interface, so that
// check-web.mjs writes each check once: Debian's chromium through Playwright
// over CDP, Firefox ESR through Puppeteer over WebDriver BiDi, and WebKitGTK's
// MiniBrowser through WebKitWebDriver over classic WebDriver, in an Xvfb of
// its own. Keys are named as in KeyboardEvent.key.
//
// A tab offers eval(fn, arg), goto, reload, down/up/press/type/insertText,
// hold/release (a key held with the system's repeats, let go where the
// keyboard is), click, tap and touchHold (where the engine emulates touch),
// shot(full), newTab, front and close. An engine's `lacks` names what it cannot do, and its
// `site(dir)` what it is to be served.
import { spawn, execFileSync } from 'node:child_process';
import { createServer } from 'node:net';
import { cpSync, existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium as playwright } from 'playwright-core';
import puppeteer from 'puppeteer-core';

const sleep = (ms) => new Promise((resume) => setTimeout(resume, ms));

// A check passes a function, or its source text, and one argument.
const callable = (fn) => (typeof fn === 'string' ? new Function('arg', `return (${fn})(arg)`) : fn);

const centre = (tab, selector) => tab.eval((s) => {
  const r = document.querySelector(s).getBoundingClientRect();
  return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
}, selector);

// What Playwright's and Puppeteer's pages share, their console and page
// errors heard, and the engine's own rest. A held key goes through an input
// of its own (raw), so that the page's keyboard, which would send its next
// press of that key as a repeat, never learns of a key held in one tab and
// let go in another.
function driven(page, fail, raw, rest) {
  page.on('console', (m) => m.type() === 'error' && fail(`no console error: ${m.text()}`));
  page.on('pageerror', (e) => fail(`no page error: ${e.message}`));
  const keyboard = page.keyboard;
  const held = new Map();
  return {
    eval: (fn, arg) => page.evaluate(callable(fn), arg),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    down: (key) => keyboard.down(key),
    up: (key) => keyboard.up(key),
    press: (key) => keyboard.press(key),
    type: (text) => keyboard.type(text),
    // As the system holds a key: keydowns with repeat set, every 33 ms.
    async hold(key) {
      await raw.down(key, false);
      const repeats = { last: null };
      repeats.timer = setInterval(() => { repeats.last = raw.down(key, true).catch(() => {}); }, 33);
      held.set(key, repeats);
    },
    // The repeats stop, as when another tab takes the keyboard; none on its
    // way reaches this one after.
    async quiet(key) {
      clearInterval(held.get(key)?.timer);
      await held.get(key)?.last;
    },
    // Let go in another tab, where that one has the keyboard now.
    async release(key, elsewhere) {
      await this.quiet(key);
      await (elsewhere ? elsewhere.up(key) : raw.up(key));
    },
    click: (selector) => page.click(selector),
    tap: (selector) => page.tap(selector),
    shot: (full) => page.screenshot({ fullPage: full }),
    front: () => page.bringToFront(),
    close: () => page.close(),
    ...rest,
  };
}

// The held keys' code, virtual key and text, as CDP sends them.
const CDP_KEYS = { Enter: ['Enter', 13, '\r'], ' ': ['Space', 32, ' '], ArrowLeft: ['ArrowLeft', 37], ArrowUp: ['ArrowUp', 38],
                   ArrowRight: ['ArrowRight', 39], ArrowDown: ['ArrowDown', 40] };

export async function chromium({ own, fail }) {
  const browser = await playwright.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  const wrap = (context, page) => {
    // A session of its own, where the page is focused only while it really
    // has the keyboard, so that another tab in front takes it.
    let cdp;
    const key = async (type, key, autoRepeat) => {
      if (!cdp) {
        cdp = await context.newCDPSession(page);
        await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
      }
      const [code, windowsVirtualKeyCode, text] = CDP_KEYS[key];
      await cdp.send('Input.dispatchKeyEvent', { type: type === 'keyDown' && !text ? 'rawKeyDown' : type, key, code,
                                                 windowsVirtualKeyCode, text, autoRepeat });
    };
    const raw = { down: (k, repeat) => key('keyDown', k, repeat), up: (k) => key('keyUp', k) };
    const tab = driven(page, fail, raw, {
      insertText: (text) => page.keyboard.insertText(text),
      async touchHold(selector, ms) {
        const cdp = await context.newCDPSession(page);
        await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [await centre(tab, selector)] });
        await sleep(ms);
        await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
        await cdp.detach();
      },
      // Playwright has every tab keep the keyboard; with a second tab open,
      // the one in front alone has it, as in a browser's window.
      async newTab() {
        const fresh = await context.newPage();
        for (const p of [page, fresh]) await (await context.newCDPSession(p)).send('Emulation.setFocusEmulationEnabled', { enabled: false });
        return wrap(context, fresh);
      },
      done: () => context.close(),
    });
    return tab;
  };
  return {
    name: `chromium ${browser.version()}`,
    lacks: {},
    async open({ width, height, scale = 1, touch = false }) {
      const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: scale,
                                                 isMobile: touch, hasTouch: touch });
      context.on('request', (r) => own(r.url()) || fail(`nothing requested outside: ${r.url()}`));
      return wrap(context, await context.newPage());
    },
    close: () => browser.close(),
  };
}

export async function firefox({ own, fail }) {
  const launch = (prefs = {}) => puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
                                                   headless: true, protocol: 'webDriverBiDi', extraPrefsFirefox: prefs });
  const browser = await launch();
  // BiDi turns touch events on but leaves the pointer fine: a phone is a
  // browser of its own whose only pointer is coarse and cannot hover.
  let phone;
  const wrap = (context, page) => {
    page.on('request', (r) => own(r.url()) || fail(`nothing requested outside: ${r.url()}`));
    const key = (type, k) => page.mainFrame().browsingContext.performActions(
      [{ type: 'key', id: 'held', actions: [{ type, value: WEBDRIVER_KEYS[k] || k }] }]);
    const raw = { down: (k) => key('keyDown', k), up: (k) => key('keyUp', k) };
    const tab = driven(page, fail, raw, {
      insertText: (text) => page.keyboard.sendCharacter(text),
      async touchHold(selector, ms) {
        const { x, y } = await centre(tab, selector);
        await page.touchscreen.touchStart(x, y);
        await sleep(ms);
        await page.touchscreen.touchEnd();
      },
      newTab: async () => wrap(context, await context.newPage()),
      done: () => context.close(),
    });
    return tab;
  };
  return {
    name: `firefox ${(await browser.version()).replace(/^firefox\//, '')}`,
    lacks: { layoutShifts: 'Firefox reports no layout shifts' },
    async open({ width, height, scale = 1, touch = false }) {
      if (touch) phone ??= await launch({ 'ui.primaryPointerCapabilities': 1, 'ui.allPointerCapabilities': 1 });
      const context = await (touch ? phone : browser).createBrowserContext();
      const page = await context.newPage();
      await page.setViewport({ width, height, deviceScaleFactor: scale, hasTouch: touch });
      return wrap(context, page);
    },
    close: async () => {
      await phone?.close();
      await browser.close();
    },
  };
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
  const csp = (v) => `CSP refused ${v.blockedURI} (${v.effectiveDirective})`;
  document.addEventListener('securitypolicyviolation', (e) => errors.push(csp(e)));
}

const CHARSET = '<meta charset="utf-8">';
const WEBDRIVER_KEYS = { Enter: '\uE007', Escape: '\uE00C', Control: '\uE009', Tab: '\uE004', Shift: '\uE008', ArrowLeft: '\uE012', ArrowUp: '\uE013',
                         ArrowRight: '\uE014', ArrowDown: '\uE015' };
const X_KEYS = { Enter: 'Return', ArrowLeft: 'Left', ArrowUp: 'Up', ArrowRight: 'Right', ArrowDown: 'Down', ' ': 'space' };
// The browser of webkit2gtk-driver's own library, under the machine's
// multiarch folder.
const MINIBROWSER = readdirSync('/usr/lib').map((d) => `/usr/lib/${d}/webkit2gtk-4.1/MiniBrowser`).find(existsSync);
// Newer WebKitWebDriver refuses a body of any other type.
const JSON_TYPE = { 'content-type': 'application/json' };

const freePort = () => new Promise((found) => {
  const probe = createServer().listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => found(port));
  });
});

async function startXvfb() {
  const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1400x2800x24', '-nolisten', 'tcp'],
                  { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const display = await new Promise((read, failed) => {
    x.stdio[3].once('data', (d) => read(`:${String(d).trim()}`));
    x.once('exit', () => failed(new Error('Xvfb did not start')));
  });
  return { display, stop: () => x.kill() };
}

async function send(url, method, body) {
  const r = await fetch(url, body === undefined ? { method } : { method, headers: JSON_TYPE, body: JSON.stringify(body) });
  const { value } = await r.json();
  if (value && value.error) throw new Error(`WebDriver ${url}: ${value.error}: ${value.message}`);
  return value;
}

export async function webkit({ own, fail }) {
  const x = await startXvfb();
  const env = { ...process.env, DISPLAY: x.display };
  const xdotool = (...args) => execFileSync('xdotool', args, { env });
  const drivers = new Set();  // one at a time, unless a check failed half-way
  const copies = [];

  // The browsers' windows on the display; the last one closed may linger.
  const windows = () => {
    try { return String(xdotool('search', '--onlyvisible', '--class', 'MiniBrowser')).trim().split('\n'); } catch { return []; }
  };

  async function open({ width, height, scale = 1 }) {
    const before = new Set(windows());
    const port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore', env: { ...env, GDK_SCALE: String(scale) } });
    drivers.add(driver);
    for (let tries = 0; ; ++tries) {
      try { if ((await send(`http://127.0.0.1:${port}/status`, 'GET')).ready) break; } catch { if (tries > 100) throw new Error('no WebKitWebDriver'); }
      await sleep(50);
    }
    const options = { binary: MINIBROWSER, args: ['--automation'] };
    const { sessionId } = await send(`http://127.0.0.1:${port}/session`, 'POST',
                                     { capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': options } } });
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
      const keys = (...actions) => on('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
      const down = (k) => ({ type: 'keyDown', value: WEBDRIVER_KEYS[k] || k });
      const up = (k) => ({ type: 'keyUp', value: WEBDRIVER_KEYS[k] || k });
      const type = (text) => keys(...[...text].flatMap((c) => [down(c), up(c)]));
      const run = async (fn, arg) => {
        const result = await on('POST', '/execute/async', {
          script: `const done = arguments[1];
                   Promise.resolve(arguments[0]).then(${fn})
                     .then((v) => done({ v: v === undefined ? null : v }), (e) => done({ e: String(e && e.stack || e) }));`,
          args: [arg === undefined ? null : arg] });
        if (result.e) throw new Error(result.e);
        return result.v;
      };
      // Reads what the hook recorded before the page goes away.
      const drain = async () => {
        const { errors, outside } = await run(() => ({
          errors: window.checkErrors?.splice(0) ?? [],
          outside: performance.getEntriesByType('resource').map((e) => e.name) })).catch(() => ({ errors: [], outside: [] }));
        errors.forEach((e) => fail(`no error: ${e}`));
        outside.filter((u) => !own(u)).forEach((u) => fail(`nothing requested outside: ${u}`));
      };
      const element = async (selector) => Object.values(await on('POST', '/element', { using: 'css selector', value: selector }))[0];
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
        down: (k) => keys(down(k)),
        up: (k) => keys(up(k)),
        press: (k) => keys(down(k), up(k)),
        type,
        insertText: type,
        // The X server's own repeats, from a key held on the display.
        hold: async (k) => {
          await on('GET', '/window');
          xdotool('keydown', X_KEYS[k]);
        },
        release: async (k) => xdotool('keyup', X_KEYS[k]),
        click: async (selector) => on('POST', `/element/${await element(selector)}/click`, {}),
        // The viewport: WebKitGTK's element screenshots are out of place at
        // a pixel ratio of 3.
        shot: async () => Buffer.from(await on('GET', '/screenshot'), 'base64'),
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
    lacks: {
      touch: 'no touch emulation in WebKitGTK',
      layoutShifts: 'WebKit reports no layout shifts',
    },
    site(dir) {
      const copy = mkdtempSync(join(tmpdir(), 'vantor-webkit-'));
      cpSync(dir, copy, { recursive: true });
      const page = join(copy, 'index.html');
      const html = readFileSync(page, 'utf8');
      if (!html.includes(CHARSET)) throw new Error(`no ${CHARSET} in the page to put the hook after`);
      writeFileSync(page, html.replace(CHARSET, `${CHARSET}\n<script>(${hook})()</script>`));
      copies.push(copy);
      return copy;
    },
    open,
    close() {
      drivers.forEach((d) => d.kill());
      x.stop();
      copies.forEach((c) => rmSync(c, { recursive: true }));
    },
  };
}
