// The three browser engines behind one small tab interface, so that
// check-web.mjs writes each check once: Debian's chromium through Playwright
// over CDP, Firefox ESR through Puppeteer over WebDriver BiDi, and WebKitGTK's
// MiniBrowser through WebKitWebDriver over classic WebDriver, in an Xvfb of
// its own. Keys are named as in KeyboardEvent.key.
//
// A tab offers eval(fn, arg), goto, reload, down/up/press/type/selectAll,
// hold/release (a key held with the system's repeats), click, tap and
// touchHold (where the engine emulates touch), shot(selector), title,
// newTab, front and close. An engine's `lacks` names what it cannot do.
import { spawn, execFileSync } from 'node:child_process';
import { createServer } from 'node:net';
import { existsSync, readdirSync } from 'node:fs';
import { chromium as playwright } from 'playwright-core';
import puppeteer from 'puppeteer-core';

const sleep = (ms) => new Promise((resume) => setTimeout(resume, ms));

// A check passes a function, or its source text, and one argument.
const callable = (fn) => (typeof fn === 'string' ? new Function('arg', `return (${fn})(arg)`) : fn);

// What Playwright's and Puppeteer's pages share, and their console and
// page errors heard.
function driven(page, fail) {
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
    async selectAll() {
      await keyboard.down('Control');
      await keyboard.press('a');
      await keyboard.up('Control');
    },
    // As the system holds a key: keydowns with repeat set, every 33 ms.
    async hold(key) {
      await keyboard.down(key);
      held.set(key, setInterval(() => keyboard.down(key).catch(() => {}), 33));
    },
    async release(key) {
      clearInterval(held.get(key));
      held.delete(key);
      await keyboard.up(key);
    },
    click: (selector) => page.click(selector),
    tap: (selector) => page.tap(selector),
    title: () => page.title(),
    front: () => page.bringToFront(),
    close: () => page.close(),
  };
}

export async function chromium({ own, fail }) {
  const browser = await playwright.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  const wrap = (context, page) => ({
    ...driven(page, fail),
    insertText: (text) => page.keyboard.insertText(text),
    async touchHold(selector, ms) {
      const cdp = await context.newCDPSession(page);
      const b = await page.locator(selector).boundingBox();
      const point = { x: b.x + b.width / 2, y: b.y + b.height / 2 };
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
      await sleep(ms);
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
      await cdp.detach();
    },
    shot: async (selector) => (selector ? page.screenshot({ clip: await page.locator(selector).boundingBox(), scale: 'device' })
                                        : page.screenshot({ fullPage: true })),
    // Playwright has every tab keep the keyboard; with a second tab open,
    // the one in front alone has it, as in a browser's window.
    async newTab() {
      const fresh = await context.newPage();
      for (const p of [page, fresh]) await (await context.newCDPSession(p)).send('Emulation.setFocusEmulationEnabled', { enabled: false });
      return wrap(context, fresh);
    },
    done: () => context.close(),
  });
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
    return {
      ...driven(page, fail),
      insertText: (text) => page.keyboard.sendCharacter(text),
      async touchHold(selector, ms) {
        const b = await (await page.$(selector)).boundingBox();
        await page.touchscreen.touchStart(b.x + b.width / 2, b.y + b.height / 2);
        await sleep(ms);
        await page.touchscreen.touchEnd();
      },
      shot: async (selector) => (selector ? (await page.$(selector)).screenshot() : page.screenshot({ fullPage: true })),
      newTab: async () => wrap(context, await context.newPage()),
      done: () => context.close(),
    };
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
    close: async () => { await phone?.close(); await browser.close(); },
  };
}

// --- WebKitGTK. WebKitWebDriver runs one session, one MiniBrowser, at a
// time; each open() starts a driver whose MiniBrowser has the pixel ratio
// asked for (GDK_SCALE). Classic WebDriver reports no console, so a hook in
// the page records errors, failed loads and CSP violations from the moment
// each navigation returns; what the page says while it loads goes unheard.

const WEBDRIVER_KEYS = { Enter: '\uE007', Escape: '\uE00C', Control: '\uE009', Tab: '\uE004', Shift: '\uE008', ArrowLeft: '\uE012', ArrowUp: '\uE013',
                         ArrowRight: '\uE014', ArrowDown: '\uE015' };
const X_KEYS = { Enter: 'Return', ArrowLeft: 'Left', ArrowUp: 'Up', ArrowRight: 'Right', ArrowDown: 'Down', ' ': 'space' };
const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';
// The browser of webkit2gtk-driver's own library, under the machine's
// multiarch folder.
const MINIBROWSER = readdirSync('/usr/lib').map((d) => `/usr/lib/${d}/webkit2gtk-4.1/MiniBrowser`).find(existsSync);

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

// Newer WebKitWebDriver refuses a body of any other type.
const JSON_TYPE = { 'content-type': 'application/json' };

class Session {
  constructor(url, id) { this.url = `${url}/session/${id}`; }
  async send(method, path, body) {
    const r = await fetch(this.url + path, body === undefined ? { method } : { method, headers: JSON_TYPE, body: JSON.stringify(body) });
    const { value } = await r.json();
    if (value && value.error) throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
    return value;
  }
  keys(actions) { return this.send('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] }); }
}

export async function webkit({ own, fail }) {
  const x = await startXvfb();
  const xdotool = (...args) => execFileSync('xdotool', args, { env: { ...process.env, DISPLAY: x.display } });
  let version = '';
  const drivers = new Set();  // one at a time, unless a check failed half-way
  const hook = () => {
    if (window.checkErrors) return;
    const errors = window.checkErrors = [];
    const error = console.error.bind(console);
    console.error = (...args) => { errors.push(`console error: ${args.join(' ')}`); error(...args); };
    addEventListener('error', (e) => errors.push(e.target === window ? `page error: ${e.message}`
                                                                      : `failed to load ${e.target.src || e.target.href}`), true);
    addEventListener('unhandledrejection', (e) => errors.push(`unhandled rejection: ${e.reason}`));
    const csp = (v) => `CSP refused ${v.blockedURL || v.blockedURI} (${v.effectiveDirective || v.violatedDirective})`;
    document.addEventListener('securitypolicyviolation', (e) => errors.push(csp(e)));
  };

  async function open({ width, height, scale = 1, touch = false }) {
    const port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
      stdio: 'ignore', env: { ...process.env, DISPLAY: x.display, GDK_SCALE: String(scale) } });
    drivers.add(driver);
    const url = `http://127.0.0.1:${port}`;
    for (let tries = 0; ; ++tries) {
      try { if ((await (await fetch(`${url}/status`)).json()).value.ready) break; } catch { if (tries > 100) throw new Error('no WebKitWebDriver'); }
      await sleep(50);
    }
    const created = await (await fetch(`${url}/session`, { method: 'POST', headers: JSON_TYPE, body: JSON.stringify({ capabilities: {
      alwaysMatch: { 'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] } } } }) })).json();
    if (!created.value.sessionId) throw new Error(`no WebKit session: ${JSON.stringify(created.value)}`);
    version = created.value.capabilities.browserVersion;
    const s = new Session(url, created.value.sessionId);
    // The window's size less the toolbar's is the page's.
    await s.send('POST', '/window/rect', { width, height });
    const inner = await s.send('POST', '/execute/sync', { script: 'return innerHeight', args: [] });
    await s.send('POST', '/window/rect', { width, height: 2 * height - inner });
    // X key events go to the focused window: the browser's.
    const window = String(xdotool('search', '--onlyvisible', '--class', 'MiniBrowser')).trim().split('\n')[0];
    xdotool('windowfocus', '--sync', window);
    xdotool('mousemove', '--window', window, String(width / 2), '5');
    let current = await s.send('GET', '/window');

    const evalIn = async (handle, fn, arg) => {
      if (current !== handle) await s.send('POST', '/window', { handle: current = handle });
      const result = await s.send('POST', '/execute/async', {
        script: `const done = arguments[1];
                 Promise.resolve(arguments[0]).then(${fn})
                   .then((v) => done({ v: v === undefined ? null : v }), (e) => done({ e: String(e && e.stack || e) }));`,
        args: [arg === undefined ? null : arg] });
      if (result.e) throw new Error(result.e);
      return result.v;
    };
    const wrap = (handle) => {
      const on = async () => { if (current !== handle) await s.send('POST', '/window', { handle: current = handle }); };
      const find = async (selector) => { await on(); return (await s.send('POST', '/element', { using: 'css selector', value: selector }))[ELEMENT]; };
      const key = (k) => WEBDRIVER_KEYS[k] || k;
      // Reads what the hook recorded before the page goes away.
      const drain = async () => {
        const { errors, outside } = await evalIn(handle, () => ({
          errors: window.checkErrors || [],
          outside: performance.getEntriesByType('resource').map((e) => e.name) })).catch(() => ({ errors: [], outside: [] }));
        errors.forEach((e) => fail(`no error: ${e}`));
        outside.filter((u) => !own(u)).forEach((u) => fail(`nothing requested outside: ${u}`));
        await evalIn(handle, () => { if (window.checkErrors) window.checkErrors.length = 0; }).catch(() => {});
      };
      const tab = {
        eval: (fn, arg) => evalIn(handle, fn, arg),
        async goto(where) { await drain(); await on(); await s.send('POST', '/url', { url: where }); await evalIn(handle, hook); },
        async reload() { await drain(); await on(); await s.send('POST', '/refresh', {}); await evalIn(handle, hook); },
        down: async (k) => { await on(); await s.keys([{ type: 'keyDown', value: key(k) }]); },
        up: async (k) => { await on(); await s.keys([{ type: 'keyUp', value: key(k) }]); },
        press: async (k) => { await on(); await s.keys([{ type: 'keyDown', value: key(k) }, { type: 'keyUp', value: key(k) }]); },
        type: async (text) => { await on(); await s.keys([...text].flatMap((c) => [{ type: 'keyDown', value: c }, { type: 'keyUp', value: c }])); },
        insertText: (text) => tab.type(text),
        selectAll: async () => { await on(); await s.keys([{ type: 'keyDown', value: key('Control') }, { type: 'keyDown', value: 'a' },
                                                             { type: 'keyUp', value: 'a' }, { type: 'keyUp', value: key('Control') }]); },
        // The X server's own repeats, from a key held on the display.
        hold: async (k) => { await on(); xdotool('keydown', X_KEYS[k]); },
        release: async (k) => { xdotool('keyup', X_KEYS[k]); },
        click: async (selector) => s.send('POST', `/element/${await find(selector)}/click`, {}),
        // The viewport's picture cut to the element: WebKitGTK's element
        // screenshots are out of place at a pixel ratio of 3.
        async shot(selector) {
          await on();
          const whole = await s.send('GET', '/screenshot');
          if (!selector) return Buffer.from(whole, 'base64');
          return Buffer.from(await evalIn(handle, async ([data, from]) => {
            const r = document.querySelector(from).getBoundingClientRect();
            const k = devicePixelRatio;
            const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
            const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
            const canvas = new OffscreenCanvas(Math.round(r.width * k), Math.round(r.height * k));
            canvas.getContext('2d').drawImage(image, -Math.round(r.x * k), -Math.round(r.y * k));
            const png = new Uint8Array(await (await canvas.convertToBlob()).arrayBuffer());
            return btoa(Array.from(png, (b) => String.fromCharCode(b)).join(''));
          }, [whole, selector]), 'base64');
        },
        title: async () => { await on(); return s.send('GET', '/title'); },
        async newTab() {
          await on();
          const { handle: fresh } = await s.send('POST', '/window/new', { type: 'tab' });
          return wrap(fresh);
        },
        front: () => s.send('POST', '/window', { handle: current = handle }),
        async close() { await drain(); await on(); await s.send('DELETE', '/window'); current = null; },
        async done() {
          for (const h of await s.send('GET', '/window/handles')) await wrap(h).drain();
          await s.send('DELETE', '').catch(() => {});
          driver.kill();
          drivers.delete(driver);
        },
        drain,
      };
      return tab;
    };
    return wrap(current);
  }
  const first = await open({ width: 100, height: 100 });
  await first.done();
  return {
    name: `webkitgtk ${version}`,
    lacks: {
      touch: 'no touch emulation in WebKitGTK',
      repeat: 'WebDriver sends no key repeats: keys held on the Xvfb display through xdotool, repeated by the X server',
      layoutShifts: 'WebKit reports no layout shifts',
    },
    open,
    close() {
      drivers.forEach((d) => d.kill());
      x.stop();
    },
  };
}
